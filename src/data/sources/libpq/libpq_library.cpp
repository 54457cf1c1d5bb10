#include "data/sources/libpq/libpq_library.h"

#include <dlfcn.h>

#include <string>

#include "data/recordset/ado.h"

namespace quelo {
namespace {

constexpr const char* kLibraryName = "libpq.so.5";

Result<LibPq> load() {
  void* library = ::dlopen(kLibraryName, RTLD_NOW | RTLD_LOCAL);
  if (!library)
    return ado::dataSourceError(std::string("PostgreSQL: the client library cannot be loaded: ") + ::dlerror());
  LibPq pq;
  // The library stays loaded for the rest of the process, as its results may outlive any user.
#define QUELO_LIBPQ_LOAD(name)                                                                   \
  pq.name = reinterpret_cast<decltype(pq.name)>(::dlsym(library, #name));                        \
  if (!pq.name) return ado::dataSourceError(std::string("PostgreSQL: ") + kLibraryName + " lacks " + #name);
  QUELO_LIBPQ_FUNCTIONS(QUELO_LIBPQ_LOAD)
#undef QUELO_LIBPQ_LOAD
  return pq;
}

}  // namespace

Result<const LibPq*> libPq() {
  static const Result<LibPq> loaded = load();
  if (!loaded) return loaded.error();
  return &loaded.value();
}

}  // namespace quelo
