#include "fakes/report_fixture.h"

#include <algorithm>
#include <fstream>
#include <iomanip>
#include <sstream>
#include <stdexcept>

#include "report/automatic_report.h"
#include "report/report_api.h"

namespace quelo::testing {

varnikquelo::ReportResult ReportTest::makeAutomatic(const Args& args, const ReportOutput& output) {
  varnikquelo::ReportRequest request;
  request.source = recordsetSource(std::dynamic_pointer_cast<Recordset>(args[0].objectOrNull()));
  request.fileName = automaticFileName(args[3].asString());
  request.title = automaticTitle(args[4].asString());
  request.action = static_cast<varnikquelo::ReportAction>(args[5].asLong());
  request.applicationPath = app.path();
  request.escapeValues = output.escapeValues;
  request.copyPictures = output.copyPictures;
  request.replaceEarlier = output.replaceEarlier;
  request.pdf = output.pdf;
  AutomaticReport automatic;
  if (!args[1].isMissing()) automatic.picFields = args[1].asString();
  if (!args[2].isMissing()) automatic.graphicFolders = args[2].asString();
  automatic.settings = args[6];
  if (!args[7].isMissing()) automatic.fieldChoices = fieldChoices(args[7]).value();
  automatic.recordsPerPage = h->control->maxRecsPerPage();
  Platform platform = h->platform();
  varnikquelo::ReportResult result = makeReport(request, platform, &automatic);
  EXPECT_TRUE(result.ok()) << result.error.message;
  return result;
}

bool HostRecords::Cursor::next(std::vector<varnikquelo::Value>& row) {
  if (++given == of.throwAt_) throw std::runtime_error("the host lost its data");
  if (given > of.n_) return false;
  row = {varnikquelo::Value("Item"), varnikquelo::Value(given)};
  if (of.short_) row.pop_back();
  return true;
}

void expectGolden(const std::string& name, const std::string& actual) {
  const std::string path = std::string(QUELO_SOURCE_DIR) + "/tests/golden/" + name;
  if (const char* update = std::getenv("QUELO_UPDATE_GOLDEN");
      update && std::string(update) == "1") {
    std::ofstream(path, std::ios::binary) << actual;
    return;
  }
  std::ifstream in(path, std::ios::binary);
  ASSERT_TRUE(in) << "missing golden file " << path
                  << " (run with QUELO_UPDATE_GOLDEN=1 and review it)";
  std::ostringstream read;
  read << in.rdbuf();
  const std::string expected = read.str();
  if (actual == expected) return;
  // The first difference, with its bytes in hex: a byte-order mark or a line end is invisible in
  // a printed page.
  const auto [a, e] = std::mismatch(actual.begin(), actual.end(), expected.begin(), expected.end());
  const size_t at = static_cast<size_t>(a - actual.begin());
  auto hex = [at](const std::string& text) {
    std::ostringstream out;
    for (size_t i = at; i < text.size() && i < at + 8; ++i)
      out << std::hex << std::setw(2) << std::setfill('0')
          << (static_cast<unsigned>(text[i]) & 0xFFu) << ' ';
    return out.str();
  };
  ADD_FAILURE() << "differs from " << path << " at byte " << at << ": got " << hex(actual)
                << "..., expected " << hex(expected) << "...\n got: " << actual.substr(at, 80)
                << "\n expected: " << expected.substr(at, 80);
}

}  // namespace quelo::testing
