// The control's forms as their user meets them: a control widget on the Qt harness, an application
// folder in a scratch folder, fresh report state, products with pictures, and helpers that act on
// the dialogs as a user does (clicks, keys, the file dialog).
#pragma once

#include <map>
#include <string>

#include "fakes/scratch_dir.h"
#include "qt/qt_test_support.h"
#include "qt/ze_quelo_widget.h"

namespace quelo {
class Recordset;
}

namespace quelo::qt::testing {

class ReportViewTest : public ::testing::Test {
 protected:
  ReportViewTest();
  ~ReportViewTest() override;

  // n products: Name ("Item i"), Price, Qty and Picture; odd items name a 40 x 30 red picture
  // in the pictures folder, even ones a picture that does not exist.
  static std::shared_ptr<Recordset> products(int n);
  // What the user does when the form of that name is shown modally.
  void when(const std::string& formName, std::function<void(FormDialog&)> act);
  // ShowZeReporter on the records with the picture field and folder; true when it returned True.
  bool showReport(const std::shared_ptr<Recordset>& records, int32_t maxRecsPerPage = 10);

 public:
  // Clicks a button, check box or option button of the dialog.
  static void click(FormDialog& d, const char* name, int index = -1);
  // Clicks (or double-clicks) the entry whose text ends with `text`.
  static void clickEntry(QListWidget* list, const QString& text, bool twice = false);
  // Types the name into the file dialog's name box in place of its text, then Enter.
  static void typeAndEnter(FormDialog& files, const QString& name);
  static QListWidget* list(FormDialog& d, const char* name);
  static QString text(FormDialog& d, const char* name);

 protected:
  // Save As, and the name typed into the file dialog that it opens.
  void saveAs(FormDialog& d, const QString& typed);
  bool reportExists(const std::string& name);

  quelo::testing::ScratchDir app;
  QtHarness h;
  Platform platform = h.platform();
  ZeQueloWidget widget{h.component, nullptr, true, &platform};
  std::string pictures = app / "Pictures/";

 private:
  std::map<std::string, std::function<void(FormDialog&)>> acts_;
};

}  // namespace quelo::qt::testing
