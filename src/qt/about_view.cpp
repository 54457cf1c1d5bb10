#include "qt/about_view.h"

#include <QLinearGradient>
#include <QPainter>

#include "qt/form_dialog.h"

namespace quelo::qt {
namespace {

// A soft band of colour with the product's mark on the left, where no label stands.
QPixmap backgroundPicture(QSize size) {
  QPixmap picture(size);
  QPainter painter(&picture);
  QLinearGradient band(0, 0, size.width(), size.height());
  band.setColorAt(0, QColor(0x80, 0xFF, 0xFF));
  band.setColorAt(1, QColor(0xF4, 0xFB, 0xFF));
  painter.fillRect(picture.rect(), band);
  painter.setRenderHint(QPainter::Antialiasing);
  QFont font = painter.font();
  font.setBold(true);
  font.setPixelSize(std::max(12, size.height() / 5));
  painter.setFont(font);
  painter.setPen(QColor(0x20, 0x50, 0x90));
  painter.drawText(QRect(0, 0, size.width() / 4, size.height() / 2), Qt::AlignCenter, QStringLiteral("Ze"));
  return picture;
}

}  // namespace

void decorateAboutBox(FormDialog& dialog) {
  FormView& view = dialog.view();
  QPalette palette = view.palette();
  palette.setBrush(QPalette::Window, QBrush(backgroundPicture(view.sizeHint())));
  view.setPalette(palette);
  view.setAutoFillBackground(true);
  for (int i = 0; i < 2; ++i)
    if (QWidget* link = dialog.widgetOf("lblZe", i))
      // The focus shades the link rather than framing it: a frame would take the room its
      // text was fitted to.
      link->setStyleSheet(QStringLiteral("QLabel { color: #0645ad; text-decoration: underline; }"
                                         "QLabel:focus { background: #cfe0f8; }"));
}

}  // namespace quelo::qt
