#include "qt/dialog_owner.h"

#include <QApplication>

namespace quelo::qt {

QWidget* dialogOwner(const QWidget* parent) {
  if (QWidget* modal = QApplication::activeModalWidget()) return modal;
  QWidget* window = parent ? parent->window() : nullptr;
  return window && window->isVisible() ? window : nullptr;
}

}  // namespace quelo::qt
