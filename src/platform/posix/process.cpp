#include "platform/posix/process.h"

#include <fcntl.h>
#include <linux/close_range.h>
#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <time.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

namespace quelo {
namespace {

using Clock = std::chrono::steady_clock;

// What the helper processes tell the caller through the report pipe.
struct Report {
  char kind;  // 'E' exec failed (errno), 'X' exited (wait status), 'R' still running
  int value;
};

// Everything the child needs, prepared before fork: after it only async-signal-safe calls run.
struct ExecPlan {
  std::vector<std::string> argStore, envStore;
  std::vector<char*> argv, envp;
  const char* directory = nullptr;
};

std::vector<char*> pointers(std::vector<std::string>& store) {
  std::vector<char*> p;
  for (std::string& s : store) p.push_back(s.data());
  p.push_back(nullptr);
  return p;
}

void sendReport(int fd, char kind, int value) {
  const Report r{kind, value};
  while (write(fd, &r, sizeof r) < 0 && errno == EINTR) {
  }
}

[[noreturn]] void execChild(const ExecPlan& plan, int reportFd, int stdoutFd) {
  sigset_t all;
  sigemptyset(&all);
  sigprocmask(SIG_SETMASK, &all, nullptr);
  // A started program gets the default actions that its parent may ignore (the command line
  // ignores SIGXFSZ to report an oversized file as an error).
  signal(SIGPIPE, SIG_DFL);
  signal(SIGXFSZ, SIG_DFL);
  const int devNull = open("/dev/null", O_RDONLY);
  if (devNull >= 0) dup2(devNull, STDIN_FILENO);
  dup2(stdoutFd, STDOUT_FILENO);
  close_range(3, ~0U, CLOSE_RANGE_CLOEXEC);  // our other descriptors stay with us
  if (plan.directory && chdir(plan.directory) != 0) {
    sendReport(reportFd, 'E', errno);
    _exit(127);
  }
  if (plan.envp.empty()) {
    execvp(plan.argv[0], plan.argv.data());
  } else {
    execvpe(plan.argv[0], plan.argv.data(), plan.envp.data());
  }
  sendReport(reportFd, 'E', errno);
  _exit(127);
}

int exitCode(int status) { return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status); }

// Waits for a child until the deadline; true when it ended.
bool waitUntil(pid_t pid, Clock::time_point deadline, int& status) {
  for (;;) {
    const pid_t r = waitpid(pid, &status, WNOHANG);
    if (r == pid) return true;
    if (r < 0 && errno != EINTR) return true;  // not ours to wait for any more
    if (Clock::now() >= deadline) return false;
    const timespec pause{0, 5'000'000};
    nanosleep(&pause, nullptr);
  }
}

void reap(pid_t pid) {
  int status = 0;
  while (waitpid(pid, &status, 0) < 0 && errno == EINTR) {
  }
}

Error execError(const std::string& program, int code) {
  if (code == ENOENT) return makeError(err::kFileNotFound, "Program not found: " + program);
  return makeError(err::kPathNotFound, "Cannot run " + program + ": " + std::strerror(code));
}

Result<ProcessOutcome> launch(const ExecPlan& plan, Clock::duration limit) {
  int pipeFds[2];
  if (pipe2(pipeFds, O_CLOEXEC) != 0) return makeError(err::kIoError, "No pipe for a new process");
  const Clock::time_point deadline = Clock::now() + limit;
  // A helper process starts the program in a session of its own and watches it until the limit;
  // a program still running then is left to the system, so no zombie stays behind.
  const pid_t helper = fork();
  if (helper == 0) {
    const pid_t program = fork();
    if (program == 0) {
      setsid();
      execChild(plan, pipeFds[1], STDERR_FILENO);
    }
    if (program < 0) {
      sendReport(pipeFds[1], 'E', errno);
      _exit(1);
    }
    int status = 0;
    if (waitUntil(program, deadline, status)) {
      sendReport(pipeFds[1], 'X', status);
    } else {
      sendReport(pipeFds[1], 'R', 0);
    }
    _exit(0);
  }
  close(pipeFds[1]);
  if (helper < 0) {
    close(pipeFds[0]);
    return makeError(err::kIoError, std::string("Cannot start a process: ") + std::strerror(errno));
  }
  ProcessOutcome outcome;
  int execErrno = 0;
  Report r{};
  for (;;) {
    const ssize_t n = read(pipeFds[0], &r, sizeof r);
    if (n < 0 && errno == EINTR) continue;
    if (n != sizeof r) break;
    if (r.kind == 'E') execErrno = r.value;
    if (r.kind == 'X') {
      outcome.finished = true;
      outcome.exitStatus = exitCode(r.value);
    }
  }
  close(pipeFds[0]);
  reap(helper);
  if (execErrno != 0) return execError(plan.argStore[0], execErrno);
  return outcome;
}

// Reads standard output until the program closes it or the deadline passes.
bool readOutput(int fd, Clock::time_point deadline, std::string& out) {
  char buffer[4096];
  for (;;) {
    const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now()).count();
    if (left <= 0) return false;
    pollfd p{fd, POLLIN, 0};
    const int ready = poll(&p, 1, static_cast<int>(left));
    if (ready < 0 && errno == EINTR) continue;
    if (ready <= 0) return false;
    const ssize_t n = read(fd, buffer, sizeof buffer);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return true;
    out.append(buffer, static_cast<size_t>(n));
  }
}

Result<ProcessOutcome> capture(const ExecPlan& plan, Clock::duration limit) {
  int report[2], output[2];
  if (pipe2(report, O_CLOEXEC) != 0) return makeError(err::kIoError, "No pipe for a new process");
  if (pipe2(output, O_CLOEXEC) != 0) {
    close(report[0]);
    close(report[1]);
    return makeError(err::kIoError, "No pipe for a new process");
  }
  const Clock::time_point deadline = Clock::now() + limit;
  const pid_t pid = fork();
  if (pid == 0) execChild(plan, report[1], output[1]);
  close(report[1]);
  close(output[1]);
  if (pid < 0) {
    close(report[0]);
    close(output[0]);
    return makeError(err::kIoError, std::string("Cannot start a process: ") + std::strerror(errno));
  }
  Report r{};
  ssize_t n;
  while ((n = read(report[0], &r, sizeof r)) < 0 && errno == EINTR) {
  }
  close(report[0]);
  ProcessOutcome outcome;
  const bool closed = n != sizeof r && readOutput(output[0], deadline, outcome.output);
  close(output[0]);
  int status = 0;
  if (n == sizeof r || !closed || !waitUntil(pid, deadline, status)) {
    kill(pid, SIGKILL);
    reap(pid);
    if (n == sizeof r) return execError(plan.argStore[0], r.value);
    return makeError(err::kIoError, plan.argStore[0] + " did not finish in time");
  }
  outcome.finished = true;
  outcome.exitStatus = exitCode(status);
  return outcome;
}

}  // namespace

Result<ProcessOutcome> runProcess(const std::vector<std::string>& argv, const ProcessOptions& options) {
  if (argv.empty() || argv[0].empty()) return makeError(err::kInvalidProcedureCall, "No program to run");
  ExecPlan plan;
  plan.argStore = argv;
  plan.envStore = options.environment;
  for (const auto* list : {&plan.argStore, &plan.envStore})
    for (const std::string& s : *list)
      if (s.find('\0') != std::string::npos)
        return makeError(err::kInvalidProcedureCall, "An argument holds a NUL character");
  plan.argv = pointers(plan.argStore);
  if (!plan.envStore.empty()) plan.envp = pointers(plan.envStore);
  if (!options.workingDirectory.empty()) plan.directory = options.workingDirectory.c_str();
  return options.captureOutput ? capture(plan, options.waitLimit) : launch(plan, options.waitLimit);
}

}  // namespace quelo
