// The window that owns a dialog opened now: the window that opens it.
#pragma once

#include <QWidget>

namespace quelo::qt {

// The modal dialog on top (the only window its user can act on, so the one that opens the new
// dialog), else the window of `parent` when it is on the screen (a dialog of a hidden window
// cannot become active), else none.
QWidget* dialogOwner(const QWidget* parent);

}  // namespace quelo::qt
