#include "qt/report_view_fixture.h"

#include <sys/stat.h>

#include "component/preview_tables.h"
#include "data/recordset/ado.h"
#include "data/recordset/recordset.h"
#include "forms/form.h"
#include "qt/file_dialog_view.h"
#include "qt/report_view.h"
#include "qt/settings_view.h"
#include "report/report_settings.h"

namespace quelo::qt::testing {

ReportViewTest::ReportViewTest() {
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

ReportViewTest::~ReportViewTest() {
  h.presenter.whenShown = nullptr;
}

std::shared_ptr<Recordset> ReportViewTest::products(int n) {
  auto rs = Recordset::create();
  EXPECT_TRUE(rs->appendField("Name", 202, 50, 102) && rs->appendField("Price", 5, 8, 118) &&
              rs->appendField("Qty", 3, 4, 118) && rs->appendField("Picture", 202, 255, 102));
  EXPECT_TRUE(rs->setCursorType(ado::adOpenStatic) && rs->setLockType(ado::adLockOptimistic) &&
              rs->open());
  for (int i = 1; i <= n; ++i)
    EXPECT_TRUE(rs->addNew() && rs->setValue(0, Variant("Item " + std::to_string(i))) &&
                rs->setValue(1, Variant(i * 1.25)) && rs->setValue(2, Variant(int32_t{i})) &&
                rs->setValue(3, Variant(i % 2 ? "red.png" : "missing.png")) && rs->update());
  return rs;
}

void ReportViewTest::when(const std::string& formName, std::function<void(FormDialog&)> act) {
  acts_[formName] = std::move(act);
}

bool ReportViewTest::showReport(const std::shared_ptr<Recordset>& records, int32_t maxRecsPerPage) {
  widget.control().setMaxRecsPerPage(maxRecsPerPage);
  Args args{Variant(std::static_pointer_cast<Dispatch>(records)), Variant("Picture"),
            Variant(pictures)};
  auto shown = widget.dispatch()->call("ShowZeReporter", args);
  settle();
  return shown && shown.value() == Variant(true);
}

void ReportViewTest::click(FormDialog& d, const char* name, int index) {
  auto* button = qobject_cast<QAbstractButton*>(d.widgetOf(name, index));
  ASSERT_TRUE(button) << name;
  QTest::mouseClick(button, Qt::LeftButton);
}

void ReportViewTest::clickEntry(QListWidget* list, const QString& text, bool twice) {
  const auto items = list->findItems(text, Qt::MatchEndsWith);
  ASSERT_FALSE(items.isEmpty()) << text.toStdString();
  const QPoint at = list->visualItemRect(items[0]).center();
  if (twice)
    QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, at);
  else
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, at);
}

void ReportViewTest::typeAndEnter(FormDialog& files, const QString& name) {
  auto* box = qobject_cast<QLineEdit*>(files.widgetOf("txtFileName"));
  box->selectAll();
  QTest::keyClicks(box, name);
  QTest::keyClick(box, Qt::Key_Return);
}

QListWidget* ReportViewTest::list(FormDialog& d, const char* name) {
  return qobject_cast<QListWidget*>(d.widgetOf(name));
}

QString ReportViewTest::text(FormDialog& d, const char* name) {
  QWidget* w = d.widgetOf(name);
  if (auto* label = qobject_cast<QLabel*>(w)) return label->text();
  if (auto* line = qobject_cast<QLineEdit*>(w)) return line->text();
  return QStringLiteral("<no text widget %1>").arg(name);
}

void ReportViewTest::saveAs(FormDialog& d, const QString& typed) {
  when("QueloPhotoTabStrip", [typed](FormDialog& files) { typeAndEnter(files, typed); });
  click(d, "cmdSaveAs");
}

bool ReportViewTest::reportExists(const std::string& name) {
  return h.files.exists(app / ("Reports/" + name));
}

}  // namespace quelo::qt::testing
