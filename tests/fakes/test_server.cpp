#include "fakes/test_server.h"

#include <glob.h>
#include <stdlib.h>

#include <fstream>

#include "fakes/run_process.h"

namespace quelo::testing {

TestServer::TestServer(const char* variable, const std::string& name, const std::string& file)
    : script(std::string(QUELO_SOURCE_DIR) + "/tests/support/" + name) {
  // Joining the run's server reads what its start kept: starting it again would wipe it under the
  // tests running beside this one.
  if (const char* given = variable ? getenv(variable) : nullptr; given && *given) {
    folder = given;
  } else {
    char pattern[] = "/tmp/quelo-server-XXXXXX";
    if (!mkdtemp(pattern)) return;
    if (runProcess({"bash", script, "start", pattern}).exitCode != 0) return;
    folder = pattern;
    own_ = true;
  }
  std::ifstream in(folder + "/" + file);
  for (std::string line; std::getline(in, line);) kept.push_back(line);
}

void TestServer::stop() {
  if (own_) runProcess({"bash", script, "stop", folder});
  own_ = false;
}

std::string odbcDriver(const std::string& library) {
  glob_t found{};
  std::string path = "/usr/lib/odbc/" + library;
  if (::glob(("/usr/lib/*/odbc/" + library).c_str(), 0, nullptr, &found) == 0) path = found.gl_pathv[0];
  ::globfree(&found);
  return path;
}

}  // namespace quelo::testing
