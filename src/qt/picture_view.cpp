#include "qt/picture_view.h"

#include <QImageReader>
#include <QPainter>
#include <QStyle>
#include <QStyleOptionFrame>

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

void PictureView::setFramed(bool framed, const QString& caption) {
  framed_ = framed;
  caption_ = caption;
  update();
}

void PictureView::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  if (framed_) {
    QStyleOptionFrame frame;
    frame.initFrom(this);
    frame.state |= QStyle::State_Sunken;
    frame.lineWidth = style()->pixelMetric(QStyle::PM_DefaultFrameWidth, &frame, this);
    style()->drawPrimitive(QStyle::PE_Frame, &frame, &painter, this);
    if (pixmap_.isNull())
      style()->drawItemText(&painter, rect(), Qt::AlignCenter | Qt::TextWordWrap, palette(), isEnabled(), caption_,
                            QPalette::PlaceholderText);
  }
  if (pixmap_.isNull()) return;
  painter.setRenderHint(QPainter::SmoothPixmapTransform);
  painter.drawPixmap(pictureRect(), pixmap_);
}

}  // namespace quelo::qt
