// libcurl, loaded when a query first needs it, as the PostgreSQL client library is: linked in,
// it would load its TLS and name-service dependencies at the start of every run of every program.
#pragma once

#define CURL_DISABLE_TYPECHECK  // the functions are called through pointers of their own names
#include <curl/curl.h>

#include "automation/status.h"

namespace quelo {

#define QUELO_CURL_FUNCTIONS(X)                                                                     \
  X(curl_global_init) X(curl_easy_init) X(curl_easy_setopt) X(curl_easy_getinfo) X(curl_easy_cleanup)  \
  X(curl_easy_strerror) X(curl_multi_init) X(curl_multi_add_handle) X(curl_multi_remove_handle)        \
  X(curl_multi_perform) X(curl_multi_poll) X(curl_multi_info_read) X(curl_multi_cleanup)                \
  X(curl_multi_strerror) X(curl_url) X(curl_url_set) X(curl_url_get) X(curl_url_cleanup) X(curl_free)   \
  X(curl_slist_append) X(curl_slist_free_all)

// The library's functions used here, under their own names.
struct LibCurl {
#define QUELO_CURL_MEMBER(name) decltype(&::name) name = nullptr;
  QUELO_CURL_FUNCTIONS(QUELO_CURL_MEMBER)
#undef QUELO_CURL_MEMBER
};

// The library, loaded and initialised once per process; an Error says why it cannot be.
Result<const LibCurl*> libCurl();

}  // namespace quelo
