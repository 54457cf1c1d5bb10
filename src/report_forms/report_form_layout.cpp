// The design-time face of QueloReportForm: every control with its caption, items, tool tip,
// container and place (twips). Behaviour is wired in report_form.cpp.
#include "forms/layout.h"
#include "report/automatic_report.h"
#include "report_forms/report_form.h"

namespace quelo {

using namespace forms;

namespace {}  // namespace

void QueloReportForm::build() {
  auto& frame1 = placed(add<Frame>("Frame1"), {120, 60, 6600, 2700},
                        " Available fields" + std::string(59, ' ') + "Fields to output in report");
  auto& available = inFrame(placed(add<ListBox>("lstAvailable"), {240, 300, 2500, 2300}, {},
                                   "Mark or select those for report, Shift + Alt toggles all"),
                            frame1);
  available.setMultiSelect(true);
  auto& output = inFrame(
      placed(add<ListBox>("lstOutput"), {4100, 300, 2500, 2300}, {},
             "You may rearrange fields order with above buttons or Shift + UpArrow|DownArrow"),
      frame1);
  output.setMultiSelect(true);
  inFrame(placed(add<CommandButton>("cmdDirection", 0), {2850, 400, 1150, 375}, "-->>",
                 "send to output list"),
          frame1);
  inFrame(placed(add<CommandButton>("cmdDirection", 1), {2850, 850, 1150, 375}, "<<--",
                 "remove from output list"),
          frame1);
  inFrame(placed(add<CommandButton>("cmdMoveUpDown", 0), {2850, 1400, 550, 375}, "/\\",
                 "Move selected item up in output list"),
          frame1);
  inFrame(placed(add<CommandButton>("cmdMoveUpDown", 1), {3450, 1400, 550, 375}, "\\/",
                 "Move selected item down in output list"),
          frame1);
  const char* pageCaptions[] = {"&First", "Pre&vious", "&Next", "&Last"};
  for (int i = 0; i < 4; ++i) {
    auto& page = placed(add<CommandButton>("cmdPage", i), {120 + 1000 * i, 6400, 950, 375},
                        pageCaptions[i], "page of records");
    page.setEnabled(false);
  }
  inFrame(placed(add<CommandButton>("cmdAdvanced"), {2850, 1950, 1150, 375}, "&Advanced",
                 "set more preferences"),
          frame1);
  placed(add<CommandButton>("cmdGenerate"), {6900, 2350, 1300, 375}, "&Generate").setDefault(true);
  placed(add<CommandButton>("cmdClose"), {8300, 2350, 1300, 375}, "&Close").setCancel(true);

  auto& frame2 = placed(add<Frame>("Frame2"), {6900, 60, 4080, 2200}, "Report");
  inFrame(placed(add<Label>("Label1", 1), {7000, 330, 600, 285}, "Title"), frame2);
  inFrame(placed(add<TextBox>("txtTitle"), {7650, 300, 3100, 315}), frame2);
  auto& fileName = inFrame(placed(add<TextBox>("txtFileName"), {7650, 700, 2000, 315}, {},
                                  "Internet file will be generated in your Reports sub-folder"),
                           frame2);
  fileName.setLocked(true);
  inFrame(placed(add<CommandButton>("cmdSaveAs"), {9750, 680, 1000, 345}, "&Save As",
                 "Append to an existing report only if you must"),
          frame2);
  inFrame(placed(add<Label>("Label1", 2), {7000, 1130, 600, 285}, "Color"), frame2);
  auto& colour = inFrame(
      placed(add<ComboBox>("cboBGcolor"), {7650, 1100, 1500, 315}, {}, "select table color"),
      frame2);
  colour.setStyle(2);
  for (const char* c : kTableColours) colour.addItem(c);
  inFrame(placed(add<CheckBox>("chkInsert"), {7000, 1500, 1000, 285}, "&Insert",
                 "check to insert date"),
          frame2)
      .setValue(1);
  inFrame(placed(add<DatePicker>("dtpInsert"), {8050, 1480, 1500, 315}), frame2);
  inFrame(placed(add<CheckBox>("chkBrowser"), {7000, 1850, 2250, 285}, "Show in &Web Browser"),
          frame2)
      .setValue(1);
  inFrame(placed(add<CheckBox>("chkPrinter"), {9280, 1850, 1680, 285}, "Send to &Printer"), frame2);

  auto& status = placed(add<Frame>("Frame3"), {120, 60, 6600, 1200});
  status.setVisible(false);
  inFrame(placed(add<Label>("lblReportStatus"), {240, 240, 6300, 285},
                 "Total_Pages  |   Elapsed_Seconds  |  Current_Page_Generated  |  Delete_on_Cancel "
                 "| Cancel"),
          status);
  inFrame(placed(add<Label>("lblTotalPages"), {240, 600, 900, 285}, "tp"), status);
  inFrame(placed(add<Label>("lblElapsedSeconds"), {1300, 600, 1200, 285}, "es"), status);
  inFrame(placed(add<Label>("lblCurPage"), {2900, 600, 1500, 285}, "cp"), status);
  inFrame(placed(add<CheckBox>("chkDeleteOnCancel"), {4700, 600, 300, 285}, {},
                 "delete generated report pages on abort"),
          status);
  inFrame(placed(add<CheckBox>("chkCancel"), {5900, 600, 300, 285}, {}, "abort reporting"), status);

  placed(add<DataGrid>("MSHFlexGrid1"), {120, 2900, 10780, 3400}, {},
         "You may resize column headers to view well");
  placed(add<Label>("lblPage"), {4300, 6450, 3000, 285}, "Preview Records");
  placed(add<Image>("imgHide"), {0, 0, 0, 0}).setVisible(false);
  wireEvents();
}

}  // namespace quelo
