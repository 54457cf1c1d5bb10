// The desktop's programs, started from argument vectors.
#pragma once

#include <chrono>
#include <string>

#include "platform/shell.h"

namespace quelo {

// The desktop's programs: xdg-open, xdg-email, xdg-mime and the system print service (lp, which
// is handed a private temporary copy of the document and waited for: it has spooled the job, or
// failed, when it ends).
// A program still running after `grace` counts as started: a handler may be the browser itself,
// which runs for as long as the user keeps it open.
class PosixShell : public Shell {
 public:
  explicit PosixShell(std::chrono::milliseconds grace = std::chrono::seconds(5)) : grace_(grace) {}
  Status open(const std::string& target) override;
  Status composeMail(const std::string& mailto) override;
  Result<std::string> defaultBrowser() override;
  Status start(const std::string& program, const std::string& argument) override;
  Status printPdf(std::string_view pdf, const std::string& title) override;

 private:
  Status launch(const std::string& program, const std::string& target);

  std::chrono::milliseconds grace_;
};

}  // namespace quelo
