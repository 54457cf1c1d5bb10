// Shell: hands targets (web addresses, mailto: addresses, files) to the desktop's programs.
//
// Every program is started from an argument vector, never through a command interpreter, so no
// character of a target is interpreted. A target that begins with "-" goes on as "./" followed by
// the target: the same relative file, but no program can take it for an option. (A "--" would not
// do: xdg-open and xdg-email refuse it, and not every browser knows it.) A failure says what went
// wrong: the program is missing, or it ended with a non-zero exit status.
#pragma once

#include <chrono>
#include <string>
#include <string_view>

#include "automation/status.h"

namespace quelo {

class Shell {
 public:
  virtual ~Shell() = default;
  // Opens a web address or a file in the desktop's default handler.
  virtual Status open(const std::string& target) = 0;
  // Opens a new message in the desktop's mail program; `mailto` is a "mailto:" address.
  virtual Status composeMail(const std::string& mailto) = 0;
  // The program of the default web browser: the first of $BROWSER when it is set, else the
  // program of the desktop entry that handles HTML files.
  virtual Result<std::string> defaultBrowser() = 0;
  // Starts a program with one argument.
  virtual Status start(const std::string& program, const std::string& argument) = 0;
  // Prints a PDF document on the default printer as one job named `title`. Success means the
  // print system took the job; a missing print system is err::kFileNotFound.
  virtual Status printPdf(std::string_view pdf, const std::string& title) = 0;
};

// The argument that hands a target on inertly ("./-x" for "-x").
std::string inertArgument(const std::string& target);

}  // namespace quelo
