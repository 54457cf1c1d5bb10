// The automatic report's rules without a form: made through makeReport with an AutomaticReport,
// a report writes the very pages that AutoZeReporter writes through the report form, for stored
// preferences, settings, field choices, pictures and page sizes alike; and it never writes the
// user's stored preferences, even when they ask to be saved.
#include "report/automatic_report.h"

#include <filesystem>

#include "fakes/folder_files.h"
#include "fakes/report_fixture.h"
#include "report/reg_settings.h"

namespace quelo::testing {
namespace {

struct Options {
  const char* name;
  int32_t rows = 6;
  int32_t maxRecs = 10;
  SettingsRecord stored{};
  std::vector<Variant> settings{};                         // forFutureUse; empty: none
  std::vector<std::pair<std::string, int32_t>> choices{};  // ObjReserved's field choices
  std::string picFields{};
  std::optional<std::string> folders{};
};

class AutomaticReportTest : public ReportTest {
 protected:
  void store(const SettingsRecord& s) {
    ASSERT_TRUE(writeRegSetting(&h->settings, formatSettingsRecord(s), kReportSettingName));
  }
  std::string stored() {
    return readRegSetting(&h->settings, static_cast<int32_t>(reg::kLocalMachine), kProductKey,
                          kReportSettingName)
        .asString();
  }
  // AutoZeReporter's arguments for the case.
  Args argsOf(const Options& o) const {
    Args args = autoArgs(products(o.rows, "Photo", "a.png"), "auto", "Stock");
    args[1] = Variant(o.picFields);
    if (o.folders) args[2] = Variant(*o.folders);
    if (!o.settings.empty()) args[6] = settings(o.settings);
    if (!o.choices.empty()) args[7] = choices(o.choices);
    return args;
  }

  // The pages AutoZeReporter writes through the report form, on a fresh control (the settings
  // form reads the stored preferences when it first loads).
  FolderFiles formRoad(const Options& o) {
    std::filesystem::remove_all(reports());
    h = std::make_unique<ControlHarness>();
    h->component->applicationPath = app.path();
    store(o.stored);
    setMaxRecs(o.maxRecs);
    EXPECT_TRUE(runAuto(argsOf(o)));
    return filesUnder(reports());
  }

  // The pages makeReport writes with the automatic report's rules.
  FolderFiles functionRoad(const Options& o) {
    std::filesystem::remove_all(reports());
    store(o.stored);
    makeAutomatic(argsOf(o));
    return filesUnder(reports());
  }
};

template <class... Given>
std::vector<Variant> variants(const Given&... given) {
  return {Variant(given)...};
}

// Stored preferences in the given font, notes position and pages option, saved when `save`.
SettingsRecord preferences(const std::string& font, int notesPosition, int pagesOption,
                           int save = 0) {
  SettingsRecord s;
  readSettingsRecord(
      font + "**_** Stored header **_**Stored footer**_**1**_**" + std::to_string(notesPosition) +
          "**_**Stored notes**_**/logo.png**_****_**www.example.com**_**me@example.com**_**" +
          std::to_string(pagesOption) + "**_**" + std::to_string(save),
      s);
  return s;
}

TEST_F(AutomaticReportTest, TheFunctionRoadWritesTheFormRoadsPages) {
  app.write("pics/a.png", "x");
  const std::string pics = app.path() + "pics";
  const Variant none = Variant::missing();
  const Options cases[] = {
      {"defaults", 23},
      {"stored preferences, saved, under the defaults", 7, 3, preferences("Arial", 1, 1, 1)},
      {"a font not installed, settings over stored ones", 12, 5, preferences("Nowhere Sans", 1, 0),
       variants("  Head  ", none, true, false, none, none, "/sig.png", none, " x@y.org ")},
      {"current page only", 23, 10, preferences("DejaVu Sans", 0, 0), variants("H", "F")},
      {"field choices", 9, 4, {}, {}, {{"Name", 1}, {"Price", 2}, {"Qty", 1}, {"Photo", 0}}},
      {"more than 100 pages at the size asked", 1503, 14},
      {"pictures from the application path", 6, 10, {}, {}, {}, " photo "},
      {"pictures paired with folders", 6, 10, {}, {}, {}, "Name, Photo", pics + ", " + pics},
      {"a relative folder is not kept", 6, 10, {}, {}, {}, "Photo", "pics"},
  };
  for (const Options& o : cases) {
    SCOPED_TRACE(o.name);
    const FolderFiles form = formRoad(o);
    ASSERT_FALSE(form.empty());
    EXPECT_EQ(functionRoad(o), form);
    // Read, never written (the empty signature would come back as a space).
    EXPECT_EQ(stored(), formatSettingsRecord(o.stored));
  }
}

}  // namespace
}  // namespace quelo::testing
