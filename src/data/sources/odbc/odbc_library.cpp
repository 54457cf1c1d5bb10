#include "data/sources/odbc/odbc_library.h"

#include <dlfcn.h>

#include <string>

#include "data/recordset/ado.h"

namespace quelo {
namespace {

constexpr const char* kLibraryName = "libodbc.so.2";

Result<Odbc> load() {
  void* library = ::dlopen(kLibraryName, RTLD_NOW | RTLD_LOCAL);
  if (!library)
    return ado::dataSourceError(std::string("ODBC: the driver manager (unixODBC) cannot be loaded: ") + ::dlerror());
  Odbc api;
  // The library stays loaded for the rest of the process: drivers it loaded may still be in use.
#define QUELO_ODBC_LOAD(name)                                                                    \
  api.name = reinterpret_cast<decltype(api.name)>(::dlsym(library, #name));                      \
  if (!api.name) return ado::dataSourceError(std::string("ODBC: ") + kLibraryName + " lacks " + #name);
  QUELO_ODBC_FUNCTIONS(QUELO_ODBC_LOAD)
#undef QUELO_ODBC_LOAD
  return api;
}

}  // namespace

Result<const Odbc*> odbc() {
  static const Result<Odbc> loaded = load();
  if (!loaded) return loaded.error();
  return &loaded.value();
}

}  // namespace quelo
