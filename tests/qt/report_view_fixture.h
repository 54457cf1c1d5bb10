// The control's forms as their user meets them: a control widget on the Qt harness, an application
// folder in a scratch folder, products with pictures, and helpers that click and type as a user.
#pragma once

#include <sys/stat.h>

#include <map>
#include <string>

#include "fakes/scratch_dir.h"
#include "fakes/static_table.h"
#include "forms/form.h"
#include "qt/file_dialog_view.h"
#include "qt/qt_test_support.h"
#include "qt/report_view.h"
#include "qt/settings_view.h"
#include "qt/ze_quelo_widget.h"

namespace quelo::qt::testing {

class ReportViewTest : public ::testing::Test {
 protected:
  ReportViewTest() {
    h.component->developerCompany = "ACME";
    std::string appPath = app.path();
    widget.control().setApplicationPath(appPath);
    ::mkdir((app / "Reports").c_str(), 0755);
    ::mkdir(pictures.c_str(), 0755);
    writePicture(pictures + "red.png", 40, 30, Qt::red);
    h.presenter.setDecorator("QueloAdvancedSet", decorateSettingsForm);
    h.presenter.setDecorator("QueloPhotoTabStrip", decorateFileDialog);
    h.presenter.setDecorator("QueloReportForm",
                             [this](FormDialog& dialog) { decorateReportForm(dialog, h.shell); });
    h.presenter.whenShown = [this](forms::Form& form, FormDialog& dialog) {
      auto act = acts_.find(form.name());
      if (act == acts_.end()) return;
      activate(dialog);
      act->second(dialog);
    };
  }
  ~ReportViewTest() override { h.presenter.whenShown = nullptr; }

  // n products: Name ("Item i"), Price, Qty and Picture; odd items name a 40 x 30 red picture
  // in the pictures folder, even ones a picture that does not exist.
  static std::shared_ptr<Recordset> products(int n) {
    return quelo::testing::products(n, "Picture", "red.png");
  }
  // What the user does when the form of that name is shown modally.
  void when(const std::string& formName, std::function<void(FormDialog&)> act) {
    acts_[formName] = std::move(act);
  }
  // ShowZeReporter on the records with the picture field and folder; true when it returned True.
  bool showReport(const std::shared_ptr<Recordset>& records, int32_t maxRecsPerPage = 10) {
    widget.control().setMaxRecsPerPage(maxRecsPerPage);
    auto shown = widget.dispatch()->call(
        "ShowZeReporter", {Variant(std::static_pointer_cast<Dispatch>(records)), Variant("Picture"),
                           Variant(pictures)});
    settle();
    return shown && shown.value() == Variant(true);
  }

 public:
  // Clicks a button, check box or option button of the dialog.
  static void click(FormDialog& d, const char* name, int index = -1) {
    auto* button = qobject_cast<QAbstractButton*>(d.widgetOf(name, index));
    ASSERT_TRUE(button) << name;
    QTest::mouseClick(button, Qt::LeftButton);
  }
  // Clicks (or double-clicks) the entry whose text ends with `text`.
  static void clickEntry(QListWidget* list, const QString& text, bool twice = false) {
    const auto items = list->findItems(text, Qt::MatchEndsWith);
    ASSERT_FALSE(items.isEmpty()) << text.toStdString();
    const QPoint at = list->visualItemRect(items[0]).center();
    if (twice)
      QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, at);
    else
      QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, at);
  }
  // Types the name into the file dialog's name box in place of its text, then Enter.
  static void typeAndEnter(FormDialog& files, const QString& name) {
    auto* box = qobject_cast<QLineEdit*>(files.widgetOf("txtFileName"));
    box->selectAll();
    QTest::keyClicks(box, name);
    QTest::keyClick(box, Qt::Key_Return);
  }
  static QListWidget* list(FormDialog& d, const char* name) {
    return qobject_cast<QListWidget*>(d.widgetOf(name));
  }

 protected:
  // Save As, and the name typed into the file dialog that it opens.
  void saveAs(FormDialog& d, const QString& typed) {
    when("QueloPhotoTabStrip", [typed](FormDialog& files) { typeAndEnter(files, typed); });
    click(d, "cmdSaveAs");
  }
  bool reportExists(const std::string& name) { return h.files.exists(app / ("Reports/" + name)); }

  quelo::testing::ScratchDir app;
  QtHarness h;
  Platform platform = h.platform();
  ZeQueloWidget widget{h.component, nullptr, true, &platform};
  std::string pictures = app / "Pictures/";

 private:
  std::map<std::string, std::function<void(FormDialog&)>> acts_;
};

}  // namespace quelo::qt::testing
