// quelo: the control from the command line. Scripts depend on its words, output and exit status.
#include <csignal>
#include <cstdio>
#include <iostream>

#include "commands.h"

namespace {

constexpr const char* kUsage = R"(usage: quelo COMMAND [ARGS]

commands:
  report [SOURCE] [OPTIONS]
                 write an automatic report of an SQLite query, a CSV file, a PostgreSQL query
                 or the bundled sample data as linked HTML pages
  call [--design] [--app-path DIR] INVOCATION [-- INVOCATION]...
                 run members of one control by name, as a host's script would
  describe [--json]
                 print the type library: members, dispatch ids, parameters, events, enums

Run 'quelo COMMAND --help' for the details of a command; 'quelo --version' (or -V) prints the
version.
)";

}  // namespace

int main(int argc, char** argv) {
  // A file over the size limit (ulimit -f) is a write error that names the file, as a full disk
  // is, rather than a signal that kills the command.
  std::signal(SIGXFSZ, SIG_IGN);
  quelo::cli::Words args(argv + 1, argv + argc);
  if (args.empty()) {
    std::cerr << kUsage;
    return quelo::cli::kExitUsage;
  }
  const std::string command = args.front();
  args.erase(args.begin());
  if (command == "--help" || command == "-h" || command == "help") {
    std::cout << kUsage;
    return quelo::cli::kExitOk;
  }
  if (command == "--version" || command == "-V") {
    std::cout << "quelo " << QUELO_VERSION << "\n";
    return quelo::cli::kExitOk;
  }
  if (command == "describe") return quelo::cli::describeCommand(args);
  if (command == "call") return quelo::cli::callCommand(args);
  if (command == "report") return quelo::cli::reportCommand(args);
  return quelo::cli::usageError("unknown command '" + command + "'");
}
