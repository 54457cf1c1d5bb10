#include "fakes/xvfb_server.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <stdexcept>

namespace quelo::testing {
namespace {

constexpr int kReportFd = 3;
constexpr int kStartMilliseconds = 15000;

// Reads the display number line that Xvfb writes once it accepts connections.
std::string readDisplayNumber(int fd) {
  std::string line;
  char c = 0;
  while (line.empty() || line.back() != '\n') {
    pollfd p{fd, POLLIN, 0};
    const int ready = poll(&p, 1, kStartMilliseconds);
    if (ready < 0 && errno == EINTR) continue;
    if (ready <= 0 || read(fd, &c, 1) != 1) return {};
    line += c;
  }
  line.pop_back();
  return line;
}

}  // namespace

XvfbServer::XvfbServer(const std::string& screen) {
  int fds[2];
  if (pipe2(fds, O_CLOEXEC) != 0) throw std::runtime_error("Xvfb: no pipe");
  const char* argv[] = {"Xvfb", "-displayfd", "3", "-screen", "0", screen.c_str(), "-nolisten", "tcp", nullptr};
  pid_ = fork();
  if (pid_ == 0) {
    if (fds[1] == kReportFd) fcntl(kReportFd, F_SETFD, 0);
    else dup2(fds[1], kReportFd);  // the copy keeps no close-on-exec flag
    const int devNull = open("/dev/null", O_WRONLY);
    if (devNull >= 0) dup2(devNull, STDOUT_FILENO);
    execvp(argv[0], const_cast<char* const*>(argv));
    _exit(127);
  }
  close(fds[1]);
  if (pid_ < 0) {
    close(fds[0]);
    throw std::runtime_error(std::string("Xvfb: cannot fork: ") + std::strerror(errno));
  }
  const std::string number = readDisplayNumber(fds[0]);
  close(fds[0]);
  if (number.empty()) {
    stop();
    throw std::runtime_error("Xvfb did not start (is the package xvfb installed? scripts/install-deps.sh installs it)");
  }
  display_ = ":" + number;
}

XvfbServer::~XvfbServer() { stop(); }

void XvfbServer::stop() {
  if (pid_ <= 0) return;
  kill(pid_, SIGTERM);
  while (waitpid(pid_, nullptr, 0) < 0 && errno == EINTR) {
  }
  pid_ = -1;
}

}  // namespace quelo::testing
