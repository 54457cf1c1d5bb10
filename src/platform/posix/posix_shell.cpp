// The desktop's programs through the xdg utilities and lp, each started from an argument vector.
#include <cstdlib>
#include <fstream>
#include <sstream>

#include "platform/posix/desktop_entry.h"
#include "platform/posix/private_file.h"
#include "platform/posix/process.h"
#include "platform/posix/posix_shell.h"
#include "automation/text.h"

namespace quelo {
namespace {

// The first word of the first entry of $BROWSER ("prog %s:other" gives "prog").
std::string browserFromEnvironment() {
  const char* value = std::getenv("BROWSER");
  if (!value) return {};
  std::istringstream entries(value);
  for (std::string entry; std::getline(entries, entry, ':');) {
    std::istringstream words(entry);
    std::string program;
    if (words >> program) return program;
  }
  return {};
}

std::string readWhole(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream s;
  s << in.rdbuf();
  return s.str();
}

}  // namespace

std::string inertArgument(const std::string& target) { return target.starts_with('-') ? "./" + target : target; }

Status PosixShell::launch(const std::string& program, const std::string& target) {
  if (trimSpaces(target).empty()) return makeError(err::kInvalidProcedureCall, "Nothing to hand to " + program);
  ProcessOptions options;
  options.waitLimit = grace_;
  auto outcome = runProcess({program, inertArgument(target)}, options);
  if (!outcome) return outcome.error();
  if (outcome.value().finished && outcome.value().exitStatus != 0)
    return makeError(err::kInvalidProcedureCall,
                     program + " failed with exit status " + std::to_string(outcome.value().exitStatus));
  return Status::ok();
}

Status PosixShell::open(const std::string& target) { return launch("xdg-open", target); }

Status PosixShell::composeMail(const std::string& mailto) { return launch("xdg-email", mailto); }

Status PosixShell::start(const std::string& program, const std::string& argument) {
  if (program.empty()) return makeError(err::kInvalidProcedureCall, "No program to start");
  return launch(program, argument);
}

Status PosixShell::printPdf(std::string_view pdf, const std::string& title) {
  PrivateFile document("quelo-print-XXXXXX.pdf");
  if (Status s = document.write(pdf); !s) return s;
  ProcessOptions options;
  options.captureOutput = true;  // "request id is ...": the job's name, not ours to print
  options.waitLimit = std::chrono::minutes(2);
  auto lp = runProcess({"lp", "-t", title, document.path()}, options);
  if (!lp && lp.error().number == err::kFileNotFound)
    return makeError(err::kFileNotFound, "no print system: lp is not installed (Debian package cups-client)");
  if (!lp) return lp.error();
  if (lp.value().exitStatus != 0)
    return makeError(err::kInvalidProcedureCall,
                     "the print system refused the job: lp failed with exit status " +
                         std::to_string(lp.value().exitStatus) +
                         " (is a print server running with a default printer? Debian package cups)");
  return Status::ok();
}

Result<std::string> PosixShell::defaultBrowser() {
  if (std::string program = browserFromEnvironment(); !program.empty()) return program;
  ProcessOptions options;
  options.captureOutput = true;
  for (const char* type : {"text/html", "x-scheme-handler/http"}) {
    auto query = runProcess({"xdg-mime", "query", "default", type}, options);
    if (!query) return query.error();
    std::string id = query.value().output.substr(0, query.value().output.find('\n'));
    const std::string entry = findDesktopEntry(trimSpaces(id));
    if (entry.empty()) continue;
    if (std::string program = desktopEntryProgram(readWhole(entry)); !program.empty()) return program;
  }
  return makeError(err::kFileNotFound, "No default web browser is set");
}

}  // namespace quelo
