#include "qt/key_codes.h"

#include "forms/control.h"

namespace quelo::qt {

int classicKeyCode(int k) {
  if (k >= Qt::Key_A && k <= Qt::Key_Z) return 'A' + (k - Qt::Key_A);
  if (k >= Qt::Key_0 && k <= Qt::Key_9) return '0' + (k - Qt::Key_0);
  if (k >= Qt::Key_F1 && k <= Qt::Key_F24) return forms::key::kF1 + (k - Qt::Key_F1);
  switch (k) {
    case Qt::Key_Backspace: return 8;
    case Qt::Key_Tab:
    case Qt::Key_Backtab: return 9;
    case Qt::Key_Return:
    case Qt::Key_Enter: return forms::key::kReturn;
    case Qt::Key_Shift: return 16;
    case Qt::Key_Control: return 17;
    case Qt::Key_Alt: return 18;
    case Qt::Key_Pause: return 19;
    case Qt::Key_Escape: return forms::key::kEscape;
    case Qt::Key_Space: return 32;
    case Qt::Key_PageUp: return 33;
    case Qt::Key_PageDown: return 34;
    case Qt::Key_End: return 35;
    case Qt::Key_Home: return 36;
    case Qt::Key_Left: return 37;
    case Qt::Key_Up: return 38;
    case Qt::Key_Right: return 39;
    case Qt::Key_Down: return 40;
    case Qt::Key_Insert: return 45;
    case Qt::Key_Delete: return forms::key::kDelete;
    default: return 0;
  }
}

int classicShift(Qt::KeyboardModifiers m) {
  return (m & Qt::ShiftModifier ? forms::key::kShiftMask : 0) | (m & Qt::ControlModifier ? forms::key::kCtrlMask : 0) |
         (m & Qt::AltModifier ? forms::key::kAltMask : 0);
}

}  // namespace quelo::qt
