// PictureView: draws a picture file. Fitted, the picture fills the view as far as it can while
// keeping its proportions, centred; otherwise it is drawn at its own size from the top left.
// A file that is not a picture draws nothing; a framed view still shows where it stands, and
// without a picture it shows its caption, which says what it is for.
#pragma once

#include <QPixmap>
#include <QWidget>

namespace quelo::qt {

class PictureView : public QWidget {
  Q_OBJECT

 public:
  using QWidget::QWidget;
  void setPicture(const QString& path, bool fitted);
  void setFramed(bool framed, const QString& caption = {});
  // Where the picture stands in the view; empty when there is none.
  QRect pictureRect() const;

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  QPixmap pixmap_;
  bool fitted_ = false;
  bool framed_ = false;
  QString caption_;
};

}  // namespace quelo::qt
