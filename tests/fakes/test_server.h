// A database server for the tests: the test run's, whose CTest fixture names its folder in an
// environment variable, or else one of its own, started by a script of tests/support/ and stopped
// when it goes.
#pragma once

#include <string>
#include <vector>

namespace quelo::testing {

class TestServer {
 public:
  // `variable` null: always one of its own. `kept`: the file of FOLDER where the start keeps what
  // reaches the server ("connection", "urls").
  TestServer(const char* variable, const std::string& script, const std::string& kept);
  ~TestServer() { stop(); }
  TestServer(const TestServer&) = delete;
  TestServer& operator=(const TestServer&) = delete;
  void stop();

  std::string folder, script;
  std::vector<std::string> kept;  // its lines; none when no server could be started

 private:
  bool own_ = false;
};

// The path of an ODBC driver library (Debian keeps them in /usr/lib/<architecture>/odbc/).
std::string odbcDriver(const std::string& library);

}  // namespace quelo::testing
