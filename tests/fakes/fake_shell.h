// A shell that launches nothing: it records every request, and fails the ones it is told to.
#pragma once

#include <string>
#include <vector>

#include "platform/shell.h"

namespace quelo::testing {

class FakeShell : public Shell {
 public:
  struct Launch {
    std::string kind;     // "open", "mail", "start" or "print"
    std::string program;  // for "start"
    std::string target;
    bool launched = false;
    bool operator==(const Launch&) const = default;
  };

  Status open(const std::string& target) override { return record("open", "", target, failOpens); }
  Status composeMail(const std::string& mailto) override { return record("mail", "", mailto, failOpens); }
  Result<std::string> defaultBrowser() override {
    ++browserLookups;
    if (browser.empty()) return makeError(err::kFileNotFound, "No default web browser is set");
    return browser;
  }
  Status start(const std::string& program, const std::string& argument) override {
    return record("start", program, argument, failStarts);
  }
  // Recorded with the job's title as its target; the documents printed are kept.
  Status printPdf(std::string_view pdf, const std::string& title) override {
    printed.emplace_back(pdf);
    return record("print", "", title, failPrints);
  }

  // How many of the next requests of each family fail ("open" and "mail" are one family).
  int failOpens = 0, failStarts = 0, failPrints = 0;
  std::string browser = "/usr/bin/test-browser";
  int browserLookups = 0;
  std::vector<Launch> launches;
  std::vector<std::string> printed;

 private:
  Status record(const char* kind, const std::string& program, const std::string& target, int& failures) {
    const bool fails = failures > 0;
    if (fails) --failures;
    launches.push_back({kind, program, target, !fails});
    if (fails) return makeError(err::kInvalidProcedureCall, std::string(kind) + " failed with exit status 1");
    return Status::ok();
  }
};

}  // namespace quelo::testing
