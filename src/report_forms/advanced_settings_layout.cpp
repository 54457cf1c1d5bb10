// The design-time face of QueloAdvancedSet: every control with its caption, items, tool tip,
// container and place (twips). Behaviour is wired in advanced_settings_form.cpp.
#include "forms/layout.h"
#include "report_forms/advanced_settings_form.h"

namespace quelo {

using forms::CheckBox;
using forms::ComboBox;
using forms::CommandButton;
using forms::FormControl;
using forms::Frame;
using forms::Label;
using forms::ListBox;
using forms::OptionButton;
using forms::TextBox;

using forms::inFrame;
using forms::placed;

void QueloAdvancedSet::build() {
  setCaption("Advanced settings for report customization");

  placed(add<Label>("lblFontName"), {120, 120, 1000, 285}, "Font");
  auto& font = placed(add<ComboBox>("cboFontName"), {1200, 90, 3000, 315}, {}, "select a font");
  font.setStyle(2);
  placed(add<Label>("lblHeaderFooter", 0), {120, 540, 1000, 285}, "Header");
  placed(add<TextBox>("txtHeaderFooter", 0), {1200, 510, 3000, 315}, {}, "Project ABC, Ref 123");
  placed(add<Label>("lblHeaderFooter", 1), {120, 930, 1000, 285}, "Footer");
  placed(add<TextBox>("txtHeaderFooter", 1), {1200, 900, 3000, 315}, {}, "\u00A9 myCompanyName");

  placed(add<CheckBox>("chkNotes"), {120, 1380, 1500, 285}, "Include Notes");
  auto& frame1 = placed(add<Frame>("Frame1"), {1700, 1260, 2500, 420});
  for (int i = 0; i < 2; ++i) {
    auto& at =
        inFrame(placed(add<OptionButton>("OptNotesPosition", i), {1800 + 1200 * i, 1340, 1150, 255},
                       i == 0 ? "On &Top" : "At &Buttom"),
                frame1);
    at.setValue(i == 0);
  }
  auto& notes = placed(add<TextBox>("txtNotes"), {120, 1800, 4080, 1100}, {},
                       "Notes to include in report on top of first page or at bottom of last page");
  notes.setMultiLine(true);

  placed(add<CommandButton>("cmdLogo", 0), {120, 3000, 1100, 345}, "&Logo",
         "image file like company logo for first page");
  placed(add<Label>("lblLogo", 0), {1300, 3000, 2900, 345});
  placed(add<CommandButton>("cmdLogo", 1), {120, 3450, 1100, 345}, "&Signature",
         "image file for your signature or photograph");
  placed(add<Label>("lblLogo", 1), {1300, 3450, 2900, 345});

  placed(add<Label>("lblLink", 0), {120, 3930, 1000, 285}, "Website", "press F3 to launch");
  placed(add<TextBox>("txtLink", 0), {1200, 3900, 3000, 315}, {}, "http://www.abc-company.com");
  placed(add<Label>("lblLink", 1), {120, 4320, 1000, 285}, "E-mail", "press F3 to launch");
  placed(add<TextBox>("txtLink", 1), {1200, 4290, 3000, 315}, {}, "john.smith@abc-company.com");

  auto& frame2 = placed(add<Frame>("Frame2"), {4400, 90, 2400, 900}, "Report on");
  for (int i = 0; i < 2; ++i) {
    auto& pages = inFrame(placed(add<OptionButton>("OptPages", i), {4520, 380 + 300 * i, 2000, 255},
                                 i == 0 ? "&All Pages" : "&Current Page"),
                          frame2);
    pages.setValue(i == 0);
  }
  placed(add<Label>("lblMark"), {4400, 1100, 2400, 285}, "Mark the Fields to Sum in report");
  placed(add<ListBox>("lstFields"), {4400, 1400, 2400, 1800}).setMultiSelect(true);

  auto& frame3 = placed(add<Frame>("Frame3"), {4400, 3300, 2400, 1300}, "Confirm settings");
  inFrame(placed(add<CheckBox>("chkSave"), {4520, 3580, 2000, 255}, "Save settings"), frame3);
  inFrame(placed(add<CommandButton>("cmdApply"), {4520, 3950, 1000, 375}, "Apply"), frame3);
  inFrame(placed(add<CommandButton>("CancelButton"), {5640, 3950, 1000, 375}, "Cancel"), frame3);
  wireEvents();
}

}  // namespace quelo
