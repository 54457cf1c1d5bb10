#include "fakes/run_process.h"

#include <fcntl.h>
#include <poll.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <stdexcept>

namespace quelo::testing {
namespace {

constexpr int kWatchMilliseconds = 2;

void drain(int outFd, int errFd, ProcessResult& r, pid_t pid,
           const std::function<bool(pid_t)>& watch) {
  pollfd fds[2] = {{outFd, POLLIN, 0}, {errFd, POLLIN, 0}};
  int open = 2;
  char buf[65536];
  bool watching = static_cast<bool>(watch);
  while (open > 0) {
    if (watching) watching = !watch(pid);
    if (poll(fds, 2, watching ? kWatchMilliseconds : -1) <= 0) continue;
    for (int i = 0; i < 2; ++i) {
      if (fds[i].fd < 0 || !(fds[i].revents & (POLLIN | POLLHUP))) continue;
      const ssize_t n = read(fds[i].fd, buf, sizeof buf);
      if (n > 0) {
        (i == 0 ? r.out : r.err).append(buf, static_cast<size_t>(n));
      } else {
        close(fds[i].fd);
        fds[i].fd = -1;
        --open;
      }
    }
  }
}

ProcessResult runWith(const std::vector<std::string>& argv,
                      const std::map<std::string, std::string>& env, const std::string& input,
                      const std::function<bool(pid_t)>& watch) {
  // Close-on-exec, so that a process started meanwhile by another thread inherits none of these
  // ends (it would hold this child's output open until it ended itself).
  int out[2], err[2], in[2];
  if (pipe2(out, O_CLOEXEC) || pipe2(err, O_CLOEXEC) || pipe2(in, O_CLOEXEC))
    throw std::runtime_error("pipe failed");
  const pid_t pid = fork();
  if (pid < 0) throw std::runtime_error("fork failed");
  if (pid == 0) {
    dup2(in[0], 0);
    dup2(out[1], 1);
    dup2(err[1], 2);
    for (int fd : {in[0], in[1], out[0], out[1], err[0], err[1]}) close(fd);
    for (const auto& [k, v] : env) {
      if (v.empty())
        unsetenv(k.c_str());
      else
        setenv(k.c_str(), v.c_str(), 1);
    }
    std::vector<char*> args;
    for (const std::string& a : argv) args.push_back(const_cast<char*>(a.c_str()));
    args.push_back(nullptr);
    execvp(args[0], args.data());
    _exit(127);
  }
  close(in[0]);
  close(out[1]);
  close(err[1]);
  if (!input.empty()) (void)!write(in[1], input.data(), input.size());
  close(in[1]);
  ProcessResult r;
  drain(out[0], err[0], r, pid, watch);
  int status = 0;
  waitpid(pid, &status, 0);
  r.signal = WIFSIGNALED(status) ? WTERMSIG(status) : 0;
  r.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
  return r;
}

}  // namespace

ProcessResult runProcess(const std::vector<std::string>& argv,
                         const std::map<std::string, std::string>& env, const std::string& input) {
  return runWith(argv, env, input, nullptr);
}

ProcessResult runProcessWatched(const std::vector<std::string>& argv,
                                const std::map<std::string, std::string>& env,
                                const std::function<bool(pid_t)>& watch) {
  return runWith(argv, env, "", watch);
}

std::vector<std::string> inLittleMemory(std::vector<std::string> argv) {
#if defined(__SANITIZE_ADDRESS__)
  // AddressSanitizer reserves terabytes of address space up front, so under it the cap is its own
  // limit on resident memory.
  const char* options = std::getenv("ASAN_OPTIONS");
  argv.insert(argv.begin(), {"env", "ASAN_OPTIONS=" + std::string(options ? options : "") +
                                        ":hard_rss_limit_mb=512"});
#else
  argv.insert(argv.begin(), {"prlimit", "--as=" + std::to_string(size_t{512} << 20), "--"});
#endif
  return argv;
}

ProcessResult runQuelo(const std::vector<std::string>& args,
                       const std::map<std::string, std::string>& env) {
  std::vector<std::string> argv{QUELO_CLI};
  argv.insert(argv.end(), args.begin(), args.end());
  return runProcess(argv, env);
}

}  // namespace quelo::testing
