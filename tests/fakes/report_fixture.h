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

#include "automation/collection.h"
#include "component/preview_tables.h"
#include "fakes/control_harness.h"
#include "fakes/forwarding_file_system.h"
#include "fakes/scratch_dir.h"
#include "fakes/static_table.h"
#include "report/report_output.h"
#include "report/report_settings.h"
#include "varnikquelo/report.h"

namespace quelo::testing {

// Compares with tests/golden/NAME byte for byte, showing the first difference in hex (every page
// starts with the invisible byte-order mark); QUELO_UPDATE_GOLDEN=1 writes the file instead.
void expectGolden(const std::string& name, const std::string& actual);

class ReportTest : public ::testing::Test {
 protected:
  ReportTest() {
    setenv("TZ", "UTC", 1);
    tzset();
    h = std::make_unique<ControlHarness>();
    h->component->applicationPath = app.path();
    h->component->developerCompany = "ACME";
  }

  // AutoZeReporter's arguments; omitted ones are Missing.
  static Args autoArgs(const std::shared_ptr<Recordset>& rs, const std::string& file,
                       const std::string& title = "Stock", int32_t action = 0) {
    Args args(8, Variant::missing());
    args[0] = Variant(std::static_pointer_cast<Dispatch>(rs));
    args[3] = Variant(file);
    args[4] = Variant(title);
    args[5] = Variant(action);
    return args;
  }

  // forFutureUse's ten settings, Missing where none is given.
  static Variant settings(std::vector<Variant> values) {
    values.resize(10, Variant::missing());
    return Variant(VariantArray::vector(std::move(values)));
  }
  // ObjReserved: a collection whose first item is the collection of field choices.
  static Variant choices(const std::vector<std::pair<std::string, int32_t>>& items) {
    auto fields = Collection::create();
    for (const auto& [key, value] : items) EXPECT_TRUE(fields->add(Variant(value), key));
    auto outer = Collection::create();
    EXPECT_TRUE(outer->add(Variant(std::static_pointer_cast<Dispatch>(fields))));
    return Variant(std::static_pointer_cast<Dispatch>(outer));
  }

  bool runAuto(Args& args) {
    auto r = h->control->call("AutoZeReporter", args);
    EXPECT_TRUE(r) << r.error().message;
    return r && r.value() == Variant(true);
  }
  bool runAuto(Args&& args) { return runAuto(args); }
  // `args` with the arguments at the given positions replaced.
  static Args with(Args args, std::initializer_list<std::pair<size_t, Variant>> set) {
    for (const auto& [at, value] : set) args[at] = value;
    return args;
  }

  // The pages AutoZeReporter's `args` ask for, made by makeReport with the automatic report's
  // rules (on the control's page size) and the output choices beyond the classic format.
  varnikquelo::ReportResult makeAutomatic(const Args& args, const ReportOutput& output = {});

  void setMaxRecs(int32_t n) { ASSERT_TRUE(h->control->put("MaxRecsPerPage", Variant(n))); }
  std::string reports() const { return app.path() + "Reports/"; }
  std::string page(const std::string& name) const { return app.read("Reports/" + name); }
  bool exists(const std::string& name) const { return h->files.exists(reports() + name); }
  // Page `name` against tests/golden/`golden`, the scratch folder written as /APP/.
  void expectPage(const std::string& golden, const std::string& name) const {
    std::string text = page(name);
    for (size_t at; (at = text.find(app.path())) != std::string::npos;)
      text.replace(at, app.path().size(), "/APP/");
    expectGolden(golden, text);
  }

  ScratchDir app;
  std::unique_ptr<ControlHarness> h;
};

// A host's `n` records of Name and Qty (1 to n) that go wrong as told: record `throwAt` (from 1)
// throws, `counted` is the count told (-1: none), and short records leave out their Qty.
class HostRecords : public varnikquelo::RecordSource {
 public:
  explicit HostRecords(int n, int throwAt = 0, int64_t counted = -1, bool shortRecords = false)
      : n_(n), throwAt_(throwAt), counted_(counted), short_(shortRecords) {}
  std::vector<varnikquelo::Field> fields() const override {
    return {{"Name"}, {"Qty", varnikquelo::FieldType::Int32}};
  }
  std::unique_ptr<varnikquelo::RecordCursor> read() const override {
    return std::make_unique<Cursor>(*this);
  }

 private:
  struct Cursor : varnikquelo::RecordCursor {
    explicit Cursor(const HostRecords& r) : of(r) {}
    bool next(std::vector<varnikquelo::Value>& row) override;
    int64_t count() const override { return of.counted_; }
    const HostRecords& of;
    int32_t given = 0;
  };
  int n_, throwAt_;
  int64_t counted_;
  bool short_;
};

}  // namespace quelo::testing
