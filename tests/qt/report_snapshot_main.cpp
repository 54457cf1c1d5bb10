// Shows the report form on a real display, with three products whose Picture column names a
// picture in FOLDER, photographs the screen and prints where the first picture cell stands:
// "x y width height" in screen pixels.
// Usage: quelo_qt_report_snapshot FOLDER PICTURE_NAME SCREENSHOT.png
#include <QApplication>
#include <QScreen>
#include <QTableWidget>
#include <QTimer>
#include <cstdio>
#include <memory>

#include "component/component.h"
#include "data/recordset/ado.h"
#include "data/recordset/recordset.h"
#include "qt/qt_platform.h"
#include "qt/ze_quelo_widget.h"

using namespace quelo;
using namespace quelo::qt;

namespace {

std::shared_ptr<Recordset> products(const std::string& picture) {
  auto rs = Recordset::create();
  (void)rs->appendField("Name", 202, 50);
  (void)rs->appendField("Price", 5, 8);
  (void)rs->appendField("Picture", 202, 255);
  (void)rs->setCursorType(ado::adOpenStatic);
  (void)rs->setLockType(ado::adLockOptimistic);
  (void)rs->open();
  const char* names[] = {"Tea", "Coffee", "Cocoa"};
  for (int i = 0; i < 3; ++i) {
    (void)rs->addNew();
    (void)rs->setValue(0, Variant(names[i]));
    (void)rs->setValue(1, Variant(2.5 * (i + 1)));
    (void)rs->setValue(2, Variant(picture));
    (void)rs->update();
  }
  return rs;
}

}  // namespace

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  if (argc != 4) {
    std::fprintf(stderr, "usage: quelo_qt_report_snapshot FOLDER PICTURE_NAME SCREENSHOT.png\n");
    return 2;
  }
  const std::string folder = argv[1];
  const QString shot = QString::fromLocal8Bit(argv[3]);
  auto component = std::make_shared<Component>();  // goes after the control, before the application
  QWidget host;
  auto* control = new ZeQueloWidget(component, &host);
  std::string appPath = folder;
  control->control().setApplicationPath(appPath);
  host.show();
  QRect where;
  bool saved = false;
  QtPlatform::instance().presenter.whenShown = [&](forms::Form& form, FormDialog& dialog) {
    QTimer::singleShot(1500, &dialog, [&] {
      auto* grid = qobject_cast<QTableWidget*>(dialog.widgetOf("MSHFlexGrid1"));
      const QRect cell = grid->visualRect(grid->model()->index(1, 2));
      where = QRect(grid->viewport()->mapToGlobal(cell.topLeft()), cell.size());
      saved = QGuiApplication::primaryScreen()->grabWindow(0).save(shot);
      form.closeByUser();
    });
  };
  const auto shown = control->dispatch()->call(
      "ShowZeReporter", {Variant(std::static_pointer_cast<Dispatch>(products(argv[2]))), Variant("Picture"), Variant(folder)});
  if (!shown || !saved || where.isEmpty()) return 1;
  std::printf("%d %d %d %d\n", where.x(), where.y(), where.width(), where.height());
  return 0;
}
