#include "platform/posix/pipe_process.h"

#include <fcntl.h>
#include <linux/close_range.h>
#include <poll.h>
#include <signal.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

namespace quelo {
namespace {

int millisecondsLeft(PipeProcess::Deadline deadline) {
  const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
      deadline - std::chrono::steady_clock::now());
  return left.count() <= 0 ? 0 : static_cast<int>(std::min<long long>(left.count(), 60'000));
}

bool waitFor(int fd, short events, PipeProcess::Deadline deadline) {
  for (;;) {
    const int left = millisecondsLeft(deadline);
    if (left == 0) return false;
    pollfd p{fd, events, 0};
    const int n = poll(&p, 1, left);
    if (n > 0) return true;
    if (n < 0 && errno != EINTR) return false;
  }
}

// In the child, between fork and exec: only async-signal-safe calls.
[[noreturn]] void execWithPipe(std::vector<char*>& argv, int pipeEnd, int reportFd) {
  setpgid(0, 0);
  sigset_t none;
  sigemptyset(&none);
  sigprocmask(SIG_SETMASK, &none, nullptr);
  signal(SIGPIPE, SIG_DFL);
  signal(SIGXFSZ, SIG_DFL);
  const int devNull = open("/dev/null", O_RDWR);
  dup2(devNull, STDIN_FILENO);
  dup2(devNull, STDOUT_FILENO);
  dup2(devNull, STDERR_FILENO);
  dup2(pipeEnd, 3);
  dup2(pipeEnd, 4);
  close_range(5, ~0U, CLOSE_RANGE_CLOEXEC);
  execvp(argv[0], argv.data());
  const int code = errno;
  while (write(reportFd, &code, sizeof code) < 0 && errno == EINTR) {
  }
  _exit(127);
}

}  // namespace

Result<std::unique_ptr<PipeProcess>> PipeProcess::start(const std::vector<std::string>& argv) {
  if (argv.empty()) return makeError(err::kInvalidProcedureCall, "No program to start");
  std::vector<std::string> store = argv;
  std::vector<char*> pointers;
  for (std::string& s : store) pointers.push_back(s.data());
  pointers.push_back(nullptr);
  // Descriptors above 4, so that putting the pipe on 3 and 4 in the child overwrites none of them.
  int pair[2], report[2];
  if (socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0, pair) != 0)
    return makeError(err::kIoError, "No pipe for " + argv[0]);
  if (pipe2(report, O_CLOEXEC) != 0) {
    close(pair[0]);
    close(pair[1]);
    return makeError(err::kIoError, "No pipe for " + argv[0]);
  }
  const int childEnd = fcntl(pair[1], F_DUPFD_CLOEXEC, 5);
  close(pair[1]);
  const pid_t pid = fork();
  if (pid == 0) execWithPipe(pointers, childEnd, report[1]);
  close(childEnd);
  close(report[1]);
  if (pid < 0) {
    close(pair[0]);
    close(report[0]);
    return makeError(err::kIoError,
                     std::string("Cannot start ") + argv[0] + ": " + std::strerror(errno));
  }
  int code = 0;
  ssize_t n;
  while ((n = read(report[0], &code, sizeof code)) < 0 && errno == EINTR) {
  }
  close(report[0]);
  std::unique_ptr<PipeProcess> process(new PipeProcess(pid, pair[0]));
  if (n == sizeof code) {
    if (code == ENOENT) return makeError(err::kFileNotFound, "Program not found: " + argv[0]);
    return makeError(err::kPathNotFound, "Cannot run " + argv[0] + ": " + std::strerror(code));
  }
  return process;
}

PipeProcess::~PipeProcess() {
  close(fd_);
  kill(-pid_, SIGKILL);
  int status = 0;
  while (waitpid(pid_, &status, 0) < 0 && errno == EINTR) {
  }
}

Status PipeProcess::send(std::string_view message, Deadline deadline) {
  std::string whole(message);
  whole += '\0';
  for (size_t done = 0; done < whole.size();) {
    if (!waitFor(fd_, POLLOUT, deadline))
      return makeError(err::kIoError, "The renderer takes no more commands");
    const ssize_t n =
        ::send(fd_, whole.data() + done, whole.size() - done, MSG_NOSIGNAL | MSG_DONTWAIT);
    if (n < 0 && errno != EINTR && errno != EAGAIN)
      return makeError(err::kIoError, "The renderer has gone");
    if (n > 0) done += static_cast<size_t>(n);
  }
  return Status::ok();
}

Result<std::string> PipeProcess::receive(Deadline deadline) {
  char chunk[1 << 16];
  size_t searched = 0;  // a message of megabytes is searched for its end once
  for (;;) {
    if (const size_t end = buffered_.find('\0', searched); end != std::string::npos) {
      std::string message = buffered_.substr(0, end);
      buffered_.erase(0, end + 1);
      return message;
    }
    if (!waitFor(fd_, POLLIN, deadline))
      return makeError(err::kIoError, "The renderer did not answer in time");
    const ssize_t n = ::recv(fd_, chunk, sizeof chunk, MSG_DONTWAIT);
    if (n == 0) return makeError(err::kIoError, "The renderer ended before it answered");
    if (n < 0 && errno != EINTR && errno != EAGAIN)
      return makeError(err::kIoError, "The renderer has gone");
    searched = buffered_.size();
    if (n > 0) buffered_.append(chunk, static_cast<size_t>(n));
  }
}

}  // namespace quelo
