// What the tests of 'quelo report' share: a scratch folder with its own settings store, the
// reproducible clock, CSV files of any length, and the lines of the command's output.
#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "fakes/run_process.h"
#include "fakes/scratch_dir.h"

namespace quelo::testing {

inline std::vector<std::string> linesOf(const std::string& text) {
  std::vector<std::string> out;
  std::istringstream in(text);
  for (std::string line; std::getline(in, line);) out.push_back(line);
  return out;
}

// The scratch folder holds "app/", the application path of most runs.
class ReportCli : public ::testing::Test {
 protected:
  ReportCli() { std::filesystem::create_directories(dir / "app"); }
  std::map<std::string, std::string> env() const {
    return {
        {"XDG_CONFIG_HOME", dir / "config"}, {"SOURCE_DATE_EPOCH", "1700000000"}, {"TZ", "UTC"}};
  }
  // quelo report ARGS... with the scratch settings store.
  ProcessResult report(std::vector<std::string> args) const {
    args.insert(args.begin(), "report");
    return runQuelo(args, env());
  }
  // A CSV file of `rows` products (Name, Price, Quantity) in the scratch folder; its path.
  std::string csv(int rows) const {
    std::string text = "Name,Price,Quantity\n";
    for (int i = 1; i <= rows; ++i)
      text += "Item " + std::to_string(i) + "," + std::to_string(i) + ".25," +
              std::to_string(i % 7) + "\n";
    dir.write("products.csv", text);
    return dir / "products.csv";
  }
  // The page files under the scratch application path "app/".
  std::string page(const std::string& file) const { return dir / ("app/Reports/" + file); }
  static bool exists(const std::string& path) { return std::filesystem::exists(path); }
  // The same report, two records a page, from each source (its options): `pages` pages each, the
  // same to the byte.
  void expectSamePages(const std::vector<std::vector<std::string>>& sources, size_t pages) const {
    for (size_t s = 0; s < sources.size(); ++s) {
      const std::string app = "same" + std::to_string(s);
      std::filesystem::create_directories(dir / app);
      std::vector<std::string> args = sources[s];
      args.insert(args.end(), {"--app-path", dir / app, "--file", "t", "--max-recs", "2", "--quiet"});
      const ProcessResult r = report(args);
      ASSERT_EQ(r.exitCode, 0) << r.err;
      ASSERT_EQ(linesOf(r.out).size(), pages) << r.out;
      for (size_t p = 1; s > 0 && p <= pages; ++p) {
        const std::string name = "/Reports/t" + std::to_string(p) + ".htm";
        EXPECT_TRUE(dir.read(app + name) == dir.read("same0" + name)) << sources[s][0] << name;
      }
    }
  }

  ScratchDir dir;
};

}  // namespace quelo::testing
