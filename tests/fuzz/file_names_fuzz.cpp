// The file-name rules and the report's page names. The short and long forms of a path are found
// in time (on the real file system), the short one being the path itself or nothing; a path
// splits into its folder and its bare name; a report name taken from any typed text, and every
// page name made from it, stays a plain name inside the Reports folder.
// Input: TEXT [NUL PAGE-NUMBER-BYTES].
#include "automation/text.h"
#include "component/platform.h"
#include "files/file_names.h"
#include "fuzz_support.h"
#include "platform/posix/posix_file_system.h"
#include "report/generation_driver.h"

namespace {

// What the system opens: the name up to a NUL byte, which must not be empty, ".", ".." or reach
// into another folder.
void checkPlainName(const std::string& name, const char* what) {
  if (name.empty()) return;
  const std::string opened = name.substr(0, name.find('\0'));
  if (opened.empty() || opened == "." || opened == ".." ||
      name.find_first_of("/\\") != std::string::npos)
    quelo::fuzz::finding(std::string(what) + " leaves the Reports folder: " + name);
}

void checkFolderAndName(std::string_view path) {
  const std::string folder = quelo::FileFolder(path);
  if (!path.starts_with(folder)) quelo::fuzz::finding("FileFolder is not the start of the path");
  const std::string_view rest = path.substr(folder.size());
  if (rest.find_first_of("/\\") != std::string_view::npos)
    quelo::fuzz::finding("the bare name holds a separator");
  const bool plain = path.find_first_of("/\\:") == std::string_view::npos;
  if (quelo::justFileName(path) != (plain ? std::string(path) : quelo::toUpper(rest)))
    quelo::fuzz::finding("justFileName is not what follows FileFolder");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view input = quelo::fuzz::asText(data, size);
  const size_t cut = input.find('\0');
  const std::string typed(input.substr(0, cut));
  checkFolderAndName(typed);

  static quelo::PosixFileSystem files;
  const std::string shortName = quelo::ShortFileName(files, typed);
  if (!shortName.empty() && shortName != typed)
    quelo::fuzz::finding("ShortFileName changed the path");
  quelo::LongFileName(files, typed);  // held to the fuzzer's time limit

  quelo::Platform platform;
  platform.files = &files;
  const std::string base = quelo::reportBaseName(platform, typed);
  checkPlainName(base, "the report name");
  if (base.empty()) return 0;
  int32_t page = 3, total = 12;
  if (cut != std::string_view::npos && input.size() - cut > 8) {
    std::memcpy(&page, input.data() + cut + 1, 4);
    std::memcpy(&total, input.data() + cut + 5, 4);
  }
  checkPlainName(quelo::pageFileName(base, page, total), "a page name");
  return 0;
}
