// Shows each form of the system on a real display in the font size given, photographs each
// window and prints, for each form, "FORM SCREENSHOT" and then every control that stands outside
// what holds it (its window, or its frame below the frame's title): "outside FORM/CONTROL", and
// "outside FORM/window" when the window does not fit on the screen.
// Usage: quelo_qt_forms_snapshot POINTS FOLDER
#include <QApplication>
#include <QGroupBox>
#include <QScreen>
#include <QTest>
#include <cstdio>
#include <functional>
#include <memory>

#include "component/component.h"
#include "files/file_dialog.h"
#include "qt/form_dialog.h"
#include "qt/qt_platform.h"
#include "reporter/advanced_settings_form.h"
#include "reporter/report_form.h"
#include "ui/about_box.h"
#include "ui/property_page.h"

using namespace quelo;
using namespace quelo::qt;

namespace {

struct NoSelection : PropertyPageSite {
  std::vector<std::shared_ptr<Dispatch>> selectedControls() override { return {}; }
  void setChanged(bool) override {}
};

// The room a control has in what holds it.
QRect roomIn(QWidget& holder, QWidget& window) {
  QRect room = holder.rect();
  if (auto* frame = qobject_cast<QGroupBox*>(&holder); frame && !frame->title().isEmpty())
    room.setTop(frame->fontMetrics().height());
  if (&holder == &window) room = window.rect();
  return room;
}

// Shows the form as the application does, with its decorations.
int photograph(const char* name, forms::Form& form, const QString& folder, int points) {
  form.load();
  form.show(false);
  FormDialog* shown = QtPlatform::instance().presenter.dialogOf(form);
  if (!shown) return 1;
  FormDialog& dialog = *shown;
  if (!QTest::qWaitForWindowExposed(&dialog, 5000)) return 1;
  QTest::qWait(300);
  const QString shot =
      QStringLiteral("%1/%2-%3pt.png").arg(folder, QString::fromLatin1(name)).arg(points);
  const QRect frame = dialog.frameGeometry();
  if (!dialog.screen()
           ->grabWindow(0, frame.x(), frame.y(), frame.width(), frame.height())
           .save(shot))
    return 1;
  std::printf("%s %s\n", name, qPrintable(shot));
  if (!dialog.screen()->geometry().contains(frame)) std::printf("outside %s/window\n", name);
  for (QWidget* w : dialog.view().findChildren<QWidget*>()) {
    if (w->objectName().isEmpty() || !w->isVisibleTo(&dialog) || w->width() == 0) continue;
    QWidget* holder =
        w->parentWidget() == &dialog.view() ? static_cast<QWidget*>(&dialog) : w->parentWidget();
    const QRect place(w->mapTo(holder, QPoint(0, 0)), w->size());
    if (!roomIn(*holder, dialog).contains(place))
      std::printf("outside %s/%s\n", name, qPrintable(w->objectName()));
  }
  dialog.view().detach();
  dialog.hide();
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  if (argc != 3) {
    std::fprintf(stderr, "usage: quelo_qt_forms_snapshot POINTS FOLDER\n");
    return 2;
  }
  const int points = std::atoi(argv[1]);
  QFont font = QApplication::font();
  font.setPointSize(points);
  QApplication::setFont(font);
  const QString folder = QString::fromLocal8Bit(argv[2]);
  QtPlatform& qt = QtPlatform::instance();
  Component component;
  NoSelection site;
  int failed = 0;
  failed +=
      photograph("report-form", *std::make_unique<QueloReportForm>(component, qt.platform()), folder, points);
  failed += photograph("advanced-settings", *std::make_unique<QueloAdvancedSet>(component, qt.platform()),
                       folder, points);
  failed += photograph("file-dialog", *std::make_unique<FileDialog>(component, qt.platform()), folder, points);
  failed += photograph("about-box",
                       *std::make_unique<AboutBox>(qt.presenter, [](int, const std::string&) {}),
                       folder, points);
  failed += photograph("property-page", *std::make_unique<PropertyPage>(qt.presenter, site), folder,
                       points);
  return failed == 0 ? 0 : 1;
}
