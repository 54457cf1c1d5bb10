#include "qt/picture_view.h"

#include <QImageReader>
#include <QPainter>

namespace quelo::qt {

void PictureView::setPicture(const QString& path, bool fitted) {
  QImageReader reader(path);
  reader.setAutoTransform(true);
  pixmap_ = path.isEmpty() ? QPixmap() : QPixmap::fromImageReader(&reader);
  fitted_ = fitted;
  update();
}

QRect PictureView::pictureRect() const {
  if (pixmap_.isNull()) return {};
  if (!fitted_) return QRect(QPoint(0, 0), pixmap_.size());
  const QSize size = pixmap_.size().scaled(this->size(), Qt::KeepAspectRatio);
  return QRect(QPoint((width() - size.width()) / 2, (height() - size.height()) / 2), size);
}

void PictureView::paintEvent(QPaintEvent*) {
  if (pixmap_.isNull()) return;
  QPainter painter(this);
  painter.setRenderHint(QPainter::SmoothPixmapTransform);
  painter.drawPixmap(pictureRect(), pixmap_);
}

}  // namespace quelo::qt
