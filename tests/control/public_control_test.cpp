// The public face of the control: values crossing into the control and back, calls that fail
// with an error instead of a crash, and a host's event handler stopping a report.
#include <gtest/gtest.h>
#include <varnikquelo/control.h>
#include <varnikquelo/report.h>

#include <algorithm>
#include <filesystem>
#include <stdexcept>

#include "data/public_records.h"
#include "data/public_value.h"
#include "fakes/report_fixture.h"
#include "fakes/scoped_env.h"
#include "fakes/scratch_dir.h"
#include "platform/posix/posix_file_system.h"

namespace quelo::testing {
namespace {

using varnikquelo::Value;

template <class... Given>
std::vector<Value> values(const Given&... given) {
  return {Value(given)...};
}

// Each public kind, and any integer type, a text view and a null text pointer, goes in as the
// Variant type the control expects and comes back as it was.
TEST(PublicValue, RoundTripsThroughTheControlsVariant) {
  PosixFileSystem files;
  const varnikquelo::Records records =
      recordsOf(openRecords(varnikquelo::Records::table({}, {}), files).value());
  const char* none = nullptr;
  const std::pair<Value, VarType> cases[] = {
      {Value(), VarType::Empty},
      {Value(varnikquelo::Null{}), VarType::Null},
      {Value(none), VarType::Null},
      {Value(true), VarType::Boolean},
      {Value(INT32_MIN), VarType::Long},
      {Value(static_cast<unsigned char>(200)), VarType::Long},
      {Value(size_t{7}), VarType::LongLong},
      {Value(4000000000u), VarType::LongLong},
      {Value(INT64_MIN), VarType::LongLong},
      {Value(0.1), VarType::Double},
      {Value(UINT64_MAX), VarType::Double},
      {Value(varnikquelo::Date{39879.58714}), VarType::Date},
      {Value(""), VarType::String},
      {Value(std::string_view("abc", 2)), VarType::String},
      {Value("Grüße, 東京 — ½"), VarType::String},
      {Value(records), VarType::Object},
  };
  for (const auto& [value, internal] : cases) {
    SCOPED_TRACE(value.text());
    auto in = argumentOf(value, files);
    ASSERT_TRUE(in) << in.error().message;
    EXPECT_EQ(in.value().type(), internal);
    auto out = valueOf(in.value());
    ASSERT_TRUE(out) << out.error().message;
    EXPECT_EQ(out.value(), value);
  }
  EXPECT_EQ(Value(std::string_view("abc", 2)).text(), "ab");
  EXPECT_EQ(Value(INT64_MIN).text(), "-9223372036854775808");
}

// What the control holds that has no public kind of its own comes back as the nearest one, or
// as an error: never as a wrong value.
TEST(PublicValue, InternalOnlyKindsComeBackAsTheNearestOrAnError) {
  EXPECT_EQ(valueOf(Variant(int16_t{-7})).value(), Value(int32_t{-7}));
  EXPECT_EQ(valueOf(Variant::missing()).value(), Value());
  EXPECT_EQ(valueOf(Variant(std::shared_ptr<Dispatch>())).value(), Value());  // Nothing
  EXPECT_EQ(valueOf(Variant(VariantArray::vector({Variant(1)}))).error().number,
            err::kTypeMismatch);
  // A record set is a value of no record.
  EXPECT_EQ(variantOf(Value(varnikquelo::Records::table({}, {}))).error().number,
            err::kTypeMismatch);
  // A date is local wall-clock time, to the second.
  const auto t = std::chrono::system_clock::from_time_t(1236434709);
  EXPECT_EQ(Value::date(t).asTimePoint(), t);
  EXPECT_EQ(Value(varnikquelo::Date{2.5}).text(), "1900-01-01 12:00:00");
}

class PublicControl : public ::testing::Test {
 protected:
  PublicControl() {
    env.set("XDG_CONFIG_HOME", app / "config");
    std::vector<std::vector<Value>> rows;
    for (int32_t i = 1; i <= 12; ++i)
      rows.push_back({Value("Item " + std::to_string(i)), Value(i)});
    stock = varnikquelo::Records::table(
        {{"Name", varnikquelo::FieldType::Text}, {"Qty", varnikquelo::FieldType::Int32}},
        std::move(rows));
  }

  // A control writing under the scratch folder, in pages of `pageSize`.
  std::unique_ptr<varnikquelo::Control> control(int32_t pageSize = 10) {
    auto c = std::make_unique<varnikquelo::Control>();
    EXPECT_TRUE(c->put("ApplicationPath", Value(app.path())).message.empty());
    EXPECT_TRUE(c->put("MaxRecsPerPage", Value(pageSize)).message.empty());
    return c;
  }
  varnikquelo::CallResult report(varnikquelo::Control& c, const std::string& file) {
    return c.call("AutoZeReporter", {Value(stock), Value(""), Value(""), Value(file),
                                     Value("Stock"), Value(int32_t{0})});
  }

  ScratchDir app;
  ScopedEnv env;
  PosixFileSystem files;
  varnikquelo::Records stock;
};

// Every call a host can get wrong answers with the control's error, whose message says what was
// wrong (the argument by position and name, the type wanted and the type given; a read-only
// property; the host's own words), and leaves the control usable.
TEST_F(PublicControl, WrongCallsGiveErrorsThatSayWhy) {
  varnikquelo::Control control;
  struct Case {
    const char* member;
    std::vector<Value> args;
    int number;
    std::string message;  // a part of it
  };
  const char* none = nullptr;
  const Case cases[] = {
      {"NoSuchMember", values(), err::kMemberNotFound, "doesn't support this property or method"},
      {"ProgramDelayNSec", values("soon"), err::kTypeMismatch,
       "argument 1 (N) of ProgramDelayNSec wants Long, was given String"},
      {"LogMessage", values(), err::kArgumentNotOptional, "argument 1 (strMessage) of LogMessage"},
      {"ShowZeReporter", values(varnikquelo::Records()), err::kInvalidProcedureCall, ""},
      {"AutoZeReporter", values(varnikquelo::Records::csv(app / "none.csv")), err::kFileNotFound,
       "none.csv"},
      {"AutoZeReporter", values(int32_t{42}), err::kTypeMismatch,
       "argument 1 (repRecordset) of AutoZeReporter wants Recordset, was given Long"},
      {"AutoZeReporter", values(stock, none), err::kInvalidUseOfNull,
       "argument 2 (sPicFields) of AutoZeReporter wants String, was given Null"},
      {"AutoZeReporter", values(varnikquelo::Records::host(std::make_shared<HostRecords>(2, 2))),
       varnikquelo::kSourceFailed, "the host lost its data"},
  };
  for (Case c : cases) {
    SCOPED_TRACE(c.member + (" " + c.message));
    const varnikquelo::CallResult result = control.call(c.member, c.args);
    EXPECT_EQ(result.error.number, c.number);
    EXPECT_NE(result.error.message.find(c.message), std::string::npos) << result.error.message;
  }
  const varnikquelo::ControlError wrongType = control.put("MaxRecsPerPage", Value("many"));
  EXPECT_EQ(wrongType.number, err::kTypeMismatch);
  EXPECT_NE(wrongType.message.find("the value of MaxRecsPerPage wants"), std::string::npos)
      << wrongType.message;
  const varnikquelo::ControlError readOnly = control.put("hWnd", Value(int32_t{1}));
  EXPECT_EQ(readOnly.number, err::kReadOnlyProperty);
  EXPECT_EQ(control.put("Tag", Value(varnikquelo::Records::csv(app / "none.csv"))).number,
            err::kFileNotFound);
  EXPECT_EQ(control.get("Interval").value, Value(int32_t{0}));
  // The members a host is told of leave out those hidden from browsers.
  const std::vector<std::string> listed = varnikquelo::Control::members();
  EXPECT_NE(std::find(listed.begin(), listed.end(), "ShowZeReporter"), listed.end());
  EXPECT_EQ(std::find(listed.begin(), listed.end(), "RaiseZeReportStatus"), listed.end());
}

// An exception from the host's handler never leaves the control: the member that raised the
// event answers it, a report it interrupts is cancelled, and the control stays usable.
TEST_F(PublicControl, AThrowingEventHandlerBecomesTheCallsError) {
  auto control = this->control(5);
  int statuses = 0;
  control->onEvent([&](const std::string& event, std::vector<Value>&) {
    ++statuses;
    throw std::runtime_error(event + " went wrong");
  });
  const varnikquelo::CallResult result = report(*control, "stock.htm");
  EXPECT_EQ(result.error.number, varnikquelo::kHandlerThrew);
  EXPECT_EQ(result.error.message, "the ReportStatus handler threw: ReportStatus went wrong");
  EXPECT_EQ(statuses, 1);  // cancelled at the first status
  const varnikquelo::ControlError click = control->click();
  EXPECT_EQ(click.number, varnikquelo::kHandlerThrew);
  EXPECT_EQ(click.message, "the Click handler threw: Click went wrong");
  EXPECT_TRUE(control->get("Interval").ok());  // the next call is not blamed
}

// ReportStatus reaches the host's handler; its Cancel, written back, stops the report, and the
// pages written are deleted when the handler asks so as well.
TEST_F(PublicControl, AnEventHandlerCancelsAReport) {
  auto control = this->control(5);
  int statuses = 0;
  control->onEvent([&](const std::string& event, std::vector<Value>& args) {
    if (event != "ReportStatus") return;
    ++statuses;
    ASSERT_EQ(args.size(), 6u);
    EXPECT_EQ(args[0], Value(int32_t{3}));  // TotalPages
    args[3] = args[4] = Value(true);
  });
  const varnikquelo::CallResult result = report(*control, "stock.htm");
  ASSERT_TRUE(result.ok()) << result.error.message;
  EXPECT_EQ(result.value, Value(true));  // a cancelled run is no failure
  EXPECT_EQ(statuses, 1);
  EXPECT_TRUE(std::filesystem::is_empty(app / "Reports"));
}

TEST_F(PublicControl, ARelativeApplicationPathIsUnderTheCurrentFolder) {
  std::filesystem::create_directories(app / "sub");
  const std::filesystem::path before = std::filesystem::current_path();
  std::filesystem::current_path(app.path());
  varnikquelo::Control control;
  const varnikquelo::ControlError put = control.put("ApplicationPath", Value("sub"));
  const varnikquelo::CallResult result = report(control, "rel.htm");
  std::filesystem::current_path(before);
  EXPECT_EQ(put.message, "");
  ASSERT_TRUE(result.ok()) << result.error.message;
  EXPECT_TRUE(std::filesystem::exists(std::filesystem::path(app.path()) / "sub/Reports/rel1.htm"));
}

// The record set of the control's last report comes back to the host as Records, which the typed
// API reports on again.
TEST_F(PublicControl, TheLastReportsRecordSetGoesToTheTypedApi) {
  auto control = this->control();
  ASSERT_TRUE(report(*control, "auto.htm").ok());
  const varnikquelo::CallResult current = control->get("CurrentRecordset");
  ASSERT_EQ(current.value.kind(), Value::Kind::Records) << current.error.message;
  varnikquelo::ReportRequest again;
  again.source = varnikquelo::ReportSource::records(current.value.asRecords());
  again.applicationPath = app.path();
  again.fileName = "again.htm";
  again.recordsPerPage = 5;
  const varnikquelo::ReportResult result = varnikquelo::makeReport(again);
  ASSERT_TRUE(result.ok()) << result.error.message;
  EXPECT_EQ(result.pages.size(), 3u);
  EXPECT_NE(files.readFile(result.pages.back()).value().find("Item&nbsp;12<"), std::string::npos);
}

}  // namespace
}  // namespace quelo::testing
