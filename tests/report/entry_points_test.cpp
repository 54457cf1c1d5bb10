// The reporter's entry points: busy refusal, forward-only copies, empty record sets, the form's
// properties, CurrentRecordset, and the clean-up after a failed automatic sequence.
#include "fakes/fake_row_source.h"
#include "fakes/report_fixture.h"
#include "forms/form_presenter.h"
#include "report/reg_settings.h"
#include "report_forms/advanced_settings_form.h"
#include "report_forms/report_form.h"

namespace quelo {
namespace testing {
namespace {

using namespace forms;

// A forward-only cursor over three products.
std::shared_ptr<Recordset> forwardOnly() {
  auto source = std::make_shared<FakeRowSource>();
  source->fields = {{"Name", 202, 50, 102}, {"Price", 5, 8, 118}, {"Qty", 3, 4, 118}};
  for (int i = 1; i <= 3; ++i)
    source->rows.push_back(
        {Variant("Item " + std::to_string(i)), Variant(i * 1.5), Variant(int32_t{i})});
  auto rs = Recordset::open(source, ado::adOpenForwardOnly);
  EXPECT_TRUE(rs);
  return rs.value();
}

TEST_F(ReportTest, ForwardOnlyRecordSetIsReplacedByAStaticCopy) {
  auto source = forwardOnly();
  ASSERT_EQ(source->cursorType(), ado::adOpenForwardOnly);
  Args args = autoArgs(source, "copied");
  ASSERT_TRUE(runAuto(args));
  auto copy = std::dynamic_pointer_cast<Recordset>(args[0].objectOrNull());
  ASSERT_TRUE(copy);
  EXPECT_NE(copy, source);
  EXPECT_EQ(copy->cursorType(), ado::adOpenStatic);
  EXPECT_EQ(copy->recordCount().value(), 3);
  EXPECT_EQ(copy->fields()[2].name, "Qty");
  EXPECT_FALSE(source->isOpen());
  EXPECT_TRUE(exists("copied.htm"));
}

TEST_F(ReportTest, EmptyRecordSetIsRefusedWithoutTouchingTheForm) {
  EXPECT_FALSE(runAuto(autoArgs(products(0), "empty")));
  EXPECT_FALSE(h->files.exists(reports()));
  EXPECT_EQ(h->control->get("CurrentRecordset").value(), Variant(std::shared_ptr<Dispatch>()));
  EXPECT_FALSE(h->control->reportBusy());
  Args nothing{Variant(std::shared_ptr<Dispatch>())};
  EXPECT_EQ(h->control->call("ShowZeReporter", nothing).value(), Variant(false));
}

TEST_F(ReportTest, BusyControlRefusesBothEntryPoints) {
  Args inner{Variant(std::static_pointer_cast<Dispatch>(products(2)))};
  std::optional<Variant> nested;
  h->site.onEvent = [&](std::string_view name, Args&) {
    if (name == "ReportStatus" && !nested)
      nested = h->control->call("ShowZeReporter", inner).value();
  };
  ASSERT_TRUE(runAuto(autoArgs(products(2), "busy")));
  ASSERT_TRUE(nested);
  EXPECT_EQ(*nested, Variant(false));
  EXPECT_EQ(h->messageBox.shown.size(), 1u);
  EXPECT_FALSE(h->control->reportBusy());
}

// The picture fields and their folder, as the preview takes them: an omitted folder is the shared
// application path, one without an anchor is ignored.
TEST_F(ReportTest, FormPropertiesComeFromTheArguments) {
  const Variant photos(
      std::static_pointer_cast<Dispatch>(table({{"Photo", 202, 20, 102}}, {{Variant("a.png")}})));
  const std::pair<Args, std::string> cases[] = {
      {Args{photos, Variant("   ")}, ""},
      {Args{photos, Variant(" Photo ")}, app.path()},
      {Args{photos, Variant("Photo"), Variant("pics")}, app.path()},
      {Args{photos, Variant("Photo"), Variant("D:\\Pics")}, "D:\\Pics\\"},
  };
  std::vector<std::string> shown;
  h->presenter.onModal("QueloReportForm", [&](Form& f) {
    shown = h->component->previewTables.pictureFolders;
    f.get<CommandButton>("cmdClose").press();  // the next case loads afresh
  });
  for (auto [args, folder] : cases) {
    ASSERT_TRUE(h->control->call("ShowZeReporter", args));
    EXPECT_EQ(shown, std::vector<std::string>{folder});
  }
}

TEST_F(ReportTest, BadObjReservedFailsAndLeavesNoFlaggedForm) {
  EXPECT_FALSE(runAuto(with(autoArgs(products(2), "bad"),
                            {{7, Variant(std::static_pointer_cast<Dispatch>(products(1)))}})));
  QueloReportForm& form = reportForm(*h->component, h->platform());
  EXPECT_FALSE(form.AutoReporting());
  EXPECT_FALSE(form.loaded());
  EXPECT_TRUE(runAuto(autoArgs(products(2), "good")));
  EXPECT_FALSE(form.AutoReporting());  // nor does a sequence that succeeds
}

// An automatic report's settings hold for that report alone: the end user's preferences, stored
// with Save settings ticked, are the same afterwards, in the store and in the working settings.
TEST_F(ReportTest, AutomaticReportsLeaveTheUsersPreferencesAsTheyWere) {
  const std::string stored =
      "Arial**_**My header**_**My footer**_**1**_**0**_**My notes**_** **_** **_**"
      "www.user.example**_** **_**0**_**1";  // Save settings ticked
  ASSERT_TRUE(writeRegSetting(&h->settings, stored, kReportSettingName));
  ASSERT_TRUE(runAuto(with(autoArgs(products(2), "once"), {{6, settings({Variant("ONCE")})}})));
  const std::string text = page("once.htm");
  EXPECT_NE(text.find("<A HREF='www.user.example'>"), std::string::npos);
  EXPECT_EQ(text.find("My header"), std::string::npos);
  EXPECT_NE(text.find("<EM> ONCE</EM>"), std::string::npos);
  EXPECT_EQ(readRegSetting(&h->settings, static_cast<int32_t>(reg::kLocalMachine), kProductKey,
                           kReportSettingName)
                .asString(),
            stored);
  EXPECT_EQ(AdvancedSettings(*h->component, h->platform(), Ra_Header).asString(), "My header");
}

}  // namespace
}  // namespace testing
}  // namespace quelo
