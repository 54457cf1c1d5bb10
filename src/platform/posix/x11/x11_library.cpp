#include "platform/posix/x11/x11_library.h"

#include <dlfcn.h>

#include <optional>

namespace quelo {
namespace {

std::optional<X11Library> load() {
  void* library = ::dlopen("libX11.so.6", RTLD_NOW | RTLD_LOCAL);
  if (!library) return std::nullopt;
  X11Library x;
  // The library stays loaded for the rest of the process, as displays may outlive any user.
#define QUELO_X11_LOAD(name)                                                                     \
  x.name = reinterpret_cast<decltype(x.name)>(::dlsym(library, #name));                          \
  if (!x.name) return std::nullopt;
  QUELO_X11_FUNCTIONS(QUELO_X11_LOAD)
#undef QUELO_X11_LOAD
  return x;
}

}  // namespace

const X11Library* x11Library() {
  static const std::optional<X11Library> loaded = load();
  return loaded ? &*loaded : nullptr;
}

}  // namespace quelo
