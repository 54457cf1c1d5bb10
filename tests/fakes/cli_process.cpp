#include "fakes/cli_process.h"

#include <poll.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <stdexcept>

extern char** environ;

namespace quelo::testing {
namespace {

std::vector<std::string> environmentWith(const CliProcess::Environment& extra) {
  std::vector<std::string> env;
  for (char** e = environ; *e; ++e) {
    const std::string entry = *e;
    bool overridden = false;
    for (const auto& [name, value] : extra) overridden |= entry.starts_with(name + "=");
    if (!overridden) env.push_back(entry);
  }
  for (const auto& [name, value] : extra) env.push_back(name + "=" + value);
  return env;
}

std::vector<char*> pointersTo(std::vector<std::string>& strings) {
  std::vector<char*> pointers;
  for (std::string& s : strings) pointers.push_back(s.data());
  pointers.push_back(nullptr);
  return pointers;
}

}  // namespace

CliProcess::CliProcess(const std::vector<std::string>& args, const std::string& folder, const Environment& env) {
  std::vector<std::string> argv{QUELO_CLI};
  argv.insert(argv.end(), args.begin(), args.end());
  std::vector<std::string> envp = environmentWith(env);
  std::vector<char*> argPointers = pointersTo(argv), envPointers = pointersTo(envp);
  int out[2], err[2];
  if (::pipe(out) != 0 || ::pipe(err) != 0) throw std::runtime_error("cannot create pipes");
  pid_ = ::fork();
  if (pid_ < 0) throw std::runtime_error("cannot start " + argv[0]);
  if (pid_ == 0) {
    ::dup2(out[1], 1);
    ::dup2(err[1], 2);
    ::close(out[0]), ::close(out[1]), ::close(err[0]), ::close(err[1]);
    if (!folder.empty() && ::chdir(folder.c_str()) != 0) ::_exit(127);
    ::execve(argPointers[0], argPointers.data(), envPointers.data());
    ::_exit(127);
  }
  ::close(out[1]);
  ::close(err[1]);
  out_ = out[0];
  err_ = err[0];
}

CliProcess::~CliProcess() {
  if (pid_ > 0) (void)wait();
}

CliOutcome CliProcess::wait() {
  CliOutcome outcome;
  pollfd fds[2] = {{out_, POLLIN, 0}, {err_, POLLIN, 0}};
  std::string* sinks[2] = {&outcome.out, &outcome.err};
  int open = 2;
  while (open > 0) {
    if (::poll(fds, 2, -1) < 0) {
      if (errno == EINTR) continue;
      break;
    }
    for (int i = 0; i < 2; ++i) {
      if (fds[i].fd < 0 || fds[i].revents == 0) continue;
      char buf[4096];
      const ssize_t n = ::read(fds[i].fd, buf, sizeof buf);
      if (n < 0 && errno == EINTR) continue;
      if (n > 0) {
        sinks[i]->append(buf, static_cast<size_t>(n));
      } else {
        ::close(fds[i].fd);
        fds[i].fd = -1;
        --open;
      }
    }
  }
  int status = 0;
  ::waitpid(pid_, &status, 0);
  pid_ = -1;
  if (WIFEXITED(status)) outcome.exitCode = WEXITSTATUS(status);
  return outcome;
}

}  // namespace quelo::testing
