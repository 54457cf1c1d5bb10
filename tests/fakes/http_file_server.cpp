#include "fakes/http_file_server.h"

#include <arpa/inet.h>
#include <fcntl.h>
#include <netinet/in.h>
#include <signal.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <stdexcept>
#include <thread>

namespace quelo::testing {
namespace {

constexpr auto kStartTime = std::chrono::seconds(20);

sockaddr_in loopback(int port) {
  sockaddr_in a{};
  a.sin_family = AF_INET;
  a.sin_port = htons(static_cast<uint16_t>(port));
  a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  return a;
}

// A port that nothing listens on now: the one the kernel hands out for port 0.
int freePort() {
  const int fd = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
  sockaddr_in a = loopback(0);
  socklen_t size = sizeof a;
  const bool ok = fd >= 0 && bind(fd, reinterpret_cast<sockaddr*>(&a), sizeof a) == 0 &&
                  getsockname(fd, reinterpret_cast<sockaddr*>(&a), &size) == 0;
  if (fd >= 0) close(fd);
  if (!ok) throw std::runtime_error("no free port on 127.0.0.1");
  return ntohs(a.sin_port);
}

bool accepts(int port) {
  const int fd = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
  const sockaddr_in a = loopback(port);
  const bool ok = fd >= 0 && connect(fd, reinterpret_cast<const sockaddr*>(&a), sizeof a) == 0;
  if (fd >= 0) close(fd);
  return ok;
}

}  // namespace

HttpFileServer::HttpFileServer(const std::string& folder) : port_(freePort()) {
  const std::string port = std::to_string(port_);
  const char* argv[] = {"python3", "-m", "http.server", port.c_str(), "--bind", "127.0.0.1",
                        "--directory", folder.c_str(), nullptr};
  pid_ = fork();
  if (pid_ == 0) {
    const int devNull = open("/dev/null", O_WRONLY);
    dup2(devNull, STDOUT_FILENO);
    dup2(devNull, STDERR_FILENO);
    execvp(argv[0], const_cast<char* const*>(argv));
    _exit(127);
  }
  if (pid_ < 0) throw std::runtime_error("cannot start python3 -m http.server");
  const auto until = std::chrono::steady_clock::now() + kStartTime;
  while (!accepts(port_)) {
    const bool ended = waitpid(pid_, nullptr, WNOHANG) == pid_;
    if (ended) pid_ = -1;
    if (ended || std::chrono::steady_clock::now() > until) {
      stop();
      throw std::runtime_error("python3 -m http.server did not start on port " + port);
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
  }
}

HttpFileServer::~HttpFileServer() { stop(); }

std::string HttpFileServer::url(const std::string& path) const {
  return "http://127.0.0.1:" + std::to_string(port_) + "/" + path;
}

void HttpFileServer::stop() {
  if (pid_ <= 0) return;
  kill(pid_, SIGTERM);
  while (waitpid(pid_, nullptr, 0) < 0 && errno == EINTR) {
  }
  pid_ = -1;
}

}  // namespace quelo::testing
