// Shows the file dialog on a real display with a picture chosen in it, photographs the screen,
// and prints where the preview's picture stands: "x y width height" in screen pixels.
// Usage: quelo_qt_snapshot FOLDER PICTURE_NAME SCREENSHOT.png
#include <QApplication>
#include <QListWidget>
#include <QScreen>
#include <QTimer>
#include <cstdio>
#include <memory>

#include "qt/picture_view.h"
#include "component/component.h"
#include "qt/qt_platform.h"
#include "qt/ze_quelo_widget.h"

using namespace quelo;
using namespace quelo::qt;

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  if (argc != 4) {
    std::fprintf(stderr, "usage: quelo_qt_snapshot FOLDER PICTURE_NAME SCREENSHOT.png\n");
    return 2;
  }
  const QString picture = QString::fromLocal8Bit(argv[2]), shot = QString::fromLocal8Bit(argv[3]);
  auto component = std::make_shared<Component>();  // goes after the control, before the application
  QWidget host;
  auto* control = new ZeQueloWidget(component, &host);
  host.show();
  QRect where;
  bool saved = false;
  QtPlatform::instance().presenter.whenShown = [&](forms::Form& form, FormDialog& dialog) {
    auto* files = qobject_cast<QListWidget*>(dialog.widgetOf("flbPhoto"));
    const auto items = files->findItems(picture, Qt::MatchExactly);
    if (!items.isEmpty()) files->setCurrentItem(items[0]);  // as a click on it
    QTimer::singleShot(1500, &dialog, [&] {
      auto* preview = qobject_cast<PictureView*>(dialog.widgetOf("ImgChosenPhoto"));
      where = QRect(preview->mapToGlobal(preview->pictureRect().topLeft()), preview->pictureRect().size());
      saved = QGuiApplication::primaryScreen()->grabWindow(0).save(shot);
      form.closeByUser();
    });
  };
  (void)control->dispatch()->call("SupplyFileName", {Variant("Choose a picture"), Variant(argv[1])});
  if (!saved || where.isEmpty()) return 1;
  std::printf("%d %d %d %d\n", where.x(), where.y(), where.width(), where.height());
  return 0;
}
