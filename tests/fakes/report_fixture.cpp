#include "fakes/report_fixture.h"

#include <fstream>
#include <sstream>

namespace quelo::testing {

std::vector<std::string> sections(const std::string& pageText) {
  std::vector<std::string> out;
  size_t at = 0;
  while (at < pageText.size()) {
    const size_t end = pageText.find("\"\r\n", at);
    if (end == std::string::npos || pageText[at] != '"') {
      ADD_FAILURE() << "not a run of quoted section lines at byte " << at;
      break;
    }
    out.push_back(pageText.substr(at + 1, end - at - 1));
    at = end + 3;
  }
  return out;
}

size_t occurrences(const std::string& text, const std::string& what) {
  size_t n = 0;
  for (size_t at = text.find(what); at != std::string::npos; at = text.find(what, at + what.size())) ++n;
  return n;
}

void expectGolden(const std::string& name, const std::string& actual) {
  const std::string path = std::string(QUELO_SOURCE_DIR) + "/tests/golden/" + name;
  if (const char* update = std::getenv("QUELO_UPDATE_GOLDEN"); update && std::string(update) == "1") {
    std::ofstream(path, std::ios::binary) << actual;
    return;
  }
  std::ifstream in(path, std::ios::binary);
  ASSERT_TRUE(in) << "missing golden file " << path << " (run with QUELO_UPDATE_GOLDEN=1 and review it)";
  std::ostringstream expected;
  expected << in.rdbuf();
  EXPECT_EQ(actual, expected.str()) << "differs from " << path;
}

}  // namespace quelo::testing
