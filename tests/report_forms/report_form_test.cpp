// The report form as the end user meets it: paging, the preview, the field lists, Save As.
#include "report_forms/report_form.h"

#include "fakes/report_fixture.h"
#include "forms/form_presenter.h"
#include "report_forms/advanced_settings_form.h"

namespace quelo::testing {
namespace {

using namespace forms;

class ReportFormTest : public ReportTest {
 protected:
  // Shows the report form on the record set; `user` acts inside the modal show.
  void show(const std::shared_ptr<Recordset>& rs, std::function<void(QueloReportForm&)> user,
            Args extra = {}) {
    h->presenter.onModal("QueloReportForm",
                         [user](Form& f) { user(static_cast<QueloReportForm&>(f)); });
    Args args{Variant(std::static_pointer_cast<Dispatch>(rs))};
    for (Variant& v : extra) args.push_back(v);
    auto r = h->control->call("ShowZeReporter", args);
    ASSERT_TRUE(r) << r.error().message;
    EXPECT_EQ(r.value(), Variant(true));
  }
  // Which of the four paging buttons (first, previous, next, last) are enabled, as "0011".
  static std::string paging(QueloReportForm& f) {
    std::string on;
    for (int i = 0; i < 4; ++i) on += f.get<CommandButton>("cmdPage", i).enabled() ? '1' : '0';
    return on;
  }
};

// Past a hundred pages a page holds two hundred records; unworkable page sizes fall back to ten.
TEST_F(ReportFormTest, PagingButtonsMoveThroughThePages) {
  const struct {
    int32_t maxRecs;
    int32_t records;
    int32_t pageSize, pages, onLastPage;
    const char* paging;
  } cases[] = {{10, 10, 10, 1, 10, "0000"},     {10, 25, 10, 3, 5, "0011"},
               {10, 1500, 200, 8, 100, "0011"}, {0, 25, 10, 3, 5, "0011"},
               {-5, 25, 10, 3, 5, "0011"},      {70000, 25, 10, 3, 5, "0011"}};
  for (const auto& c : cases) {
    SCOPED_TRACE(std::to_string(c.maxRecs) + " a page, " + std::to_string(c.records) + " records");
    setMaxRecs(c.maxRecs);
    show(products(c.records), [&](QueloReportForm& f) {
      const auto& grid = f.get<DataGrid>("MSHFlexGrid1");
      auto page = [&](int32_t n) {
        return "Page " + std::to_string(n) + " of " + std::to_string(c.pages);
      };
      auto press = [&](int i) { f.get<CommandButton>("cmdPage", i).press(); };
      EXPECT_EQ(f.caption(), "ACME Report Form");  // the developer's company names the form
      EXPECT_EQ(grid.rows(), std::min(c.pageSize, c.records) + 1);  // and the heading
      EXPECT_EQ(f.get<Label>("lblPage").caption(), page(1));
      EXPECT_EQ(paging(f), c.paging);
      if (c.pages > 1) {
        press(3);
        EXPECT_EQ(f.get<Label>("lblPage").caption(), page(c.pages));
        EXPECT_EQ(paging(f), "1100");
        EXPECT_EQ(grid.rows(), c.onLastPage + 1);
        EXPECT_EQ(grid.textMatrix(1, 0), "Item " + std::to_string((c.pages - 1) * c.pageSize + 1));
        press(1);
        EXPECT_EQ(f.get<Label>("lblPage").caption(), page(c.pages - 1));
        press(0);
        EXPECT_EQ(f.get<Label>("lblPage").caption(), page(1));
        EXPECT_EQ(paging(f), c.paging);
      }
      f.get<CommandButton>("cmdClose").press();  // the next row loads the form afresh
    });
  }
}

TEST_F(ReportFormTest, FieldListsSendRemoveAndMove) {
  show(products(3), [](QueloReportForm& f) {
    auto& available = f.get<ListBox>("lstAvailable");
    auto& output = f.get<ListBox>("lstOutput");
    ASSERT_EQ(available.listCount(), 3);
    EXPECT_TRUE(available.selected(0) && available.selected(2));  // all marked at first
    f.cmdDirection_Click(0);
    f.cmdDirection_Click(0);
    ASSERT_EQ(output.listCount(), 3);  // each field once
    output.setListIndex(2);
    f.cmdMoveUpDown_Click(1);  // the last cannot go down
    EXPECT_EQ(output.list(2), "Qty");
    f.cmdMoveUpDown_Click(0);
    EXPECT_EQ(output.list(1), "Qty");
    EXPECT_EQ(output.list(2), "Price");
    EXPECT_EQ(output.listIndex(), 1);
    int down = 40;
    output.keyDown(down, key::kShiftMask);
    EXPECT_EQ(output.list(2), "Qty");
    EXPECT_EQ(down, 0) << "the move is done and the key consumed";
    for (int32_t i = 0; i < 3; ++i) output.setSelected(i, false);
    int any = 65;
    output.keyDown(any, key::kShiftMask | key::kAltMask);
    EXPECT_TRUE(output.selected(0) && output.selected(1) && output.selected(2));
    output.setSelected(0, false);
    f.cmdDirection_Click(1);
    ASSERT_EQ(output.listCount(), 1);
    EXPECT_EQ(output.list(0), "Name");
  });
}

// A link shows its text, or its address when it has none; a missing picture, or no regular file,
// leaves its name.
TEST_F(ReportFormTest, ThePreviewShowsLinksTextsAndPictures) {
  ASSERT_TRUE(h->files.createDirectory(app.path() + "pics"));
  app.write("pics/a.png", std::string("\x89PNG\r\n\x1a\n\0\0\0\x0dIHDR\0\0\0\x20\0\0\0\x10", 24));
  app.plantNonFiles("pics/");
  auto rs =
      table({{"Site", 203, 100, 230},
             {"Note", 202, 20, 102},
             {"Photo", 202, 20, 102},
             {"Logo", 202, 20, 102}},
            {{Variant("Shop#https://shop.example#"), Variant("a#b#"), Variant("a.png"),
              Variant("gone.png")},
             {Variant("#https://shop.example#"), Variant("x"), Variant("fifo"), Variant("zero")},
             {Variant("plain"), Variant("y"), Variant("a.png"), Variant("a.png")}});
  show(
      rs,
      [&](QueloReportForm& f) {
        const auto& grid = f.get<DataGrid>("MSHFlexGrid1");
        std::string cells;
        for (int32_t r = 1; r <= 3; ++r)
          for (int32_t c = 0; c < 4; ++c) cells += grid.textMatrix(r, c) + (c < 3 ? "|" : "/");
        EXPECT_EQ(cells, "Shop|a#b#||gone.png/https://shop.example|x|fifo|zero/plain|y||/");
        EXPECT_EQ(grid.cellPicture(1, 2), app.path() + "pics/a.png");
        EXPECT_EQ(grid.rowHeight(1), 16 * 15);
        EXPECT_EQ(grid.colWidth(2), 32 * 15);
        // Logo has the last folder.
        EXPECT_EQ(h->component->previewTables.pictureFolders[3], app.path() + "pics/");
      },
      Args{Variant("Photo, Logo"), Variant(app.path() + "pics")});
}

// Closing stores the settings when asked.
TEST_F(ReportFormTest, SaveAsKeepsTheLowerCasedBareNameAndClosingStoresTheSettings) {
  auto dialog = std::make_shared<MemberDispatch>();
  std::string answer;
  Args seen;
  dialog->bind("SupplyFileName", InvokeKind::Method, [&](Args& a) -> Result<Variant> {
    seen = a;
    return Variant(answer);
  });
  dialog->bind("MaxRecsPerPage", InvokeKind::PropertyGet,
               [](Args&) -> Result<Variant> { return Variant(int32_t{10}); });
  h->site.controls["ZeQuelo1"] = dialog;
  show(products(2), [&](QueloReportForm& f) {
    auto& box = f.get<TextBox>("txtFileName");
    for (const auto& [returned, expected] : std::vector<std::pair<std::string, std::string>>{
             {"/home/u/Reports/Summary", "summary.htm"},
             {"C:\\Data\\OLD.ASP", "old.asp.htm"},
             {"", ""}}) {
      answer = returned;
      f.cmdSaveAs_Click();
      EXPECT_EQ(box.text(), expected) << returned;
    }
    EXPECT_EQ(seen, (Args{Variant("Save As (Htm or Asp file)"), Variant(app.path() + "Reports/"),
                          Variant(int32_t{5}), Variant(false)}));
    h->component->reportSettings.working.saveSettings = 1;
    h->component->reportSettings.working.header = "kept";
    f.get<CommandButton>("cmdClose").press();
    EXPECT_FALSE(f.loaded());
  });
  EXPECT_NE(AdvancedSettings(*h->component, h->platform(), 0), Variant(""));
}

// Without output fields or a file name Generate stops at the box to fill in. A second Generate,
// with Qty summed, sums only its own records.
TEST_F(ReportFormTest, EachGenerateSumsOnlyItsOwnRecords) {
  setMaxRecs(10);
  h->presenter.onModal("QueloAdvancedSet", [](Form& f) {
    auto& sums = f.get<ListBox>("lstFields");
    for (int32_t i = 0; i < sums.listCount(); ++i) sums.setSelected(i, sums.list(i) == "Qty");
    f.get<CommandButton>("cmdApply").press();
  });
  show(products(23), [&](QueloReportForm& f) {
    f.cmdGenerate_Click();
    EXPECT_TRUE(f.get<ListBox>("lstOutput").hasFocus());
    f.cmdDirection_Click(0);
    f.cmdGenerate_Click();
    EXPECT_TRUE(f.get<TextBox>("txtFileName").hasFocus());
    EXPECT_FALSE(h->files.exists(reports()));
    f.get<TextBox>("txtFileName").setText("mine");
    f.get<CheckBox>("chkBrowser").setValue(0);
    f.get<CommandButton>("cmdGenerate").press();
    EXPECT_EQ(f.get<Label>("lblTotalPages").caption(), "3");
    EXPECT_EQ(f.get<Label>("lblCurPage").caption(), "3");
    EXPECT_TRUE(f.get<Frame>("Frame1").visible());
    EXPECT_FALSE(f.get<Frame>("Frame3").visible());
    EXPECT_EQ(f.get<Label>("lblPage").caption(), "Page 1 of 3");  // the preview's page again
    f.get<CommandButton>("cmdPage", 2).press();
    EXPECT_EQ(f.get<Label>("lblPage").caption(), "Page 2 of 3");
    f.cmdAdvanced_Click();
    f.get<TextBox>("txtFileName").setText("summed");
    f.cmdGenerate_Click();
  });
  EXPECT_TRUE(exists("mine1.htm"));
  EXPECT_TRUE(exists("mine3.htm"));
  EXPECT_EQ(h->eventCount("ReportStatus"), 0);  // interactive runs raise no event
  EXPECT_NE(page("summed1.htm").find("10 records in this Vol. <Br> Sum of Qty = 55 <Br> "),
            std::string::npos)
      << page("summed1.htm");
}

}  // namespace
}  // namespace quelo::testing
