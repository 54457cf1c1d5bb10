// The end-user services on Qt: message boxes (QMessageBox), the busy pointer (the application's
// override cursor) and pictures (whatever Qt's image readers can read).
#pragma once

#include <QWidget>
#include <QPointer>

#include "platform/message_box.h"
#include "platform/picture.h"

namespace quelo::qt {

class QtMessageBox : public MessageBoxService {
 public:
  // An empty title is the application's name.
  int show(std::string_view prompt, int style, std::string_view title) override;
  // The window of `widget` owns the boxes that no modal dialog opens (may be none).
  void setParentWindow(QWidget* widget) { parent_ = widget; }

 private:
  QPointer<QWidget> parent_;
};

class QtCursor : public CursorService {
 public:
  ~QtCursor() override;
  void setBusy(bool busy) override;
  bool busy() const override { return busy_; }

 private:
  bool busy_ = false;
};

class QtPictureLoader : public PictureLoader {
 public:
  bool isPicture(const std::string& path) override;
};

}  // namespace quelo::qt
