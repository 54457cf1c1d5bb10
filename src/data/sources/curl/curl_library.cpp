#include "data/sources/curl/curl_library.h"

#include <dlfcn.h>

#include <string>

#include "data/recordset/ado.h"

namespace quelo {
namespace {

constexpr const char* kLibraryName = "libcurl.so.4";

Result<LibCurl> load() {
  void* library = ::dlopen(kLibraryName, RTLD_NOW | RTLD_LOCAL);
  if (!library)
    return ado::dataSourceError(std::string("ClickHouse: the HTTP library cannot be loaded: ") + ::dlerror());
  LibCurl curl;
  // The library stays loaded for the rest of the process, as its global state must.
#define QUELO_CURL_LOAD(name)                                                                      \
  curl.name = reinterpret_cast<decltype(curl.name)>(::dlsym(library, #name));                      \
  if (!curl.name) return ado::dataSourceError(std::string("ClickHouse: ") + kLibraryName + " lacks " + #name);
  QUELO_CURL_FUNCTIONS(QUELO_CURL_LOAD)
#undef QUELO_CURL_LOAD
  if (curl.curl_global_init(CURL_GLOBAL_DEFAULT) != CURLE_OK)
    return ado::dataSourceError("ClickHouse: the HTTP library cannot be initialised");
  return curl;
}

}  // namespace

Result<const LibCurl*> libCurl() {
  static const Result<LibCurl> loaded = load();
  if (!loaded) return loaded.error();
  return &loaded.value();
}

}  // namespace quelo
