// The starting point of a report test: a control in run mode with a fake clock and shell, an
// application folder in a scratch folder, and a fresh component; helpers build record sets and
// read the pages back.
#pragma once

#include <gtest/gtest.h>

#include <cstdlib>
#include <ctime>
#include <memory>
#include <string>
#include <vector>

#include "fakes/control_harness.h"
#include "fakes/forwarding_file_system.h"
#include "fakes/scratch_dir.h"
#include "automation/collection.h"
#include "data/recordset/ado.h"
#include "data/recordset/recordset.h"
#include "reporter/preview_tables.h"
#include "reporter/report_settings.h"

namespace quelo::testing {

struct FieldSpec {
  std::string name;
  int32_t type;
  int32_t size;
  std::optional<int32_t> attributes;
};

class ReportTest : public ::testing::Test {
 protected:
  ReportTest() {
    setenv("TZ", "UTC", 1);
    tzset();
    h = std::make_unique<ControlHarness>();
    h->component->applicationPath = app.path();
    h->component->developerCompany = "ACME";
  }

  // A static record set with these fields and rows.
  static std::shared_ptr<Recordset> table(const std::vector<FieldSpec>& fields,
                                          const std::vector<std::vector<Variant>>& rows) {
    auto rs = Recordset::create();
    for (const FieldSpec& f : fields) EXPECT_TRUE(rs->appendField(f.name, f.type, f.size, f.attributes));
    EXPECT_TRUE(rs->setCursorType(ado::adOpenStatic));
    EXPECT_TRUE(rs->setLockType(ado::adLockOptimistic));
    EXPECT_TRUE(rs->open());
    for (const auto& row : rows) {
      EXPECT_TRUE(rs->addNew());
      for (size_t i = 0; i < row.size(); ++i) EXPECT_TRUE(rs->setValue(static_cast<int>(i), row[i]));
      EXPECT_TRUE(rs->update());
    }
    return rs;
  }

  // n products: Name (text), Price (double), Qty (long).
  static std::shared_ptr<Recordset> products(int n) {
    std::vector<std::vector<Variant>> rows;
    for (int i = 1; i <= n; ++i)
      rows.push_back({Variant("Item " + std::to_string(i)), Variant(i * 1.25), Variant(int32_t{i})});
    return table({{"Name", 202, 50, 102}, {"Price", 5, 8, 118}, {"Qty", 3, 4, 118}}, rows);
  }

  // AutoZeReporter's arguments; omitted ones are Missing.
  static Args autoArgs(const std::shared_ptr<Recordset>& rs, const std::string& file, const std::string& title = "Stock",
                       int32_t action = 0) {
    return Args{Variant(std::static_pointer_cast<Dispatch>(rs)),
                Variant::missing(),
                Variant::missing(),
                Variant(file),
                Variant(title),
                Variant(action),
                Variant::missing(),
                Variant::missing()};
  }

  bool runAuto(Args& args) {
    auto r = h->control->call("AutoZeReporter", args);
    EXPECT_TRUE(r) << r.error().message;
    return r && r.value() == Variant(true);
  }

  void setMaxRecs(int32_t n) { ASSERT_TRUE(h->control->put("MaxRecsPerPage", Variant(n))); }
  std::string reports() const { return app.path() + "Reports/"; }
  std::string page(const std::string& name) const { return app.read("Reports/" + name); }
  bool exists(const std::string& name) const { return h->files.exists(reports() + name); }

  ScratchDir app;
  std::unique_ptr<ControlHarness> h;
};

// The documents of a page file, one per section, without their enclosing quotes and line end.
std::vector<std::string> sections(const std::string& pageText);
size_t occurrences(const std::string& text, const std::string& what);
// Compares with tests/golden/NAME byte for byte, showing the first difference in hex (every page
// starts with the invisible byte-order mark); QUELO_UPDATE_GOLDEN=1 writes the file instead.
void expectGolden(const std::string& name, const std::string& actual);

}  // namespace quelo::testing
