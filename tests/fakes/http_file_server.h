// A static HTTP server of the test's own (python3 -m http.server) on a free port of 127.0.0.1,
// serving one folder, stopped when the object goes. Construction throws when it cannot start.
#pragma once

#include <sys/types.h>

#include <string>

namespace quelo::testing {

class HttpFileServer {
 public:
  explicit HttpFileServer(const std::string& folder);
  ~HttpFileServer();
  HttpFileServer(const HttpFileServer&) = delete;
  HttpFileServer& operator=(const HttpFileServer&) = delete;

  // "http://127.0.0.1:PORT/" followed by `path`.
  std::string url(const std::string& path) const;

 private:
  void stop();

  pid_t pid_ = -1;
  int port_ = 0;
};

}  // namespace quelo::testing
