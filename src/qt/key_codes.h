// Qt's keys as the forms' key events see them: the classic key codes (13 Enter, 27 Escape,
// 46 Delete, 112 F1 ...) and shift bits (1 Shift, 2 Ctrl, 4 Alt).
#pragma once

#include <Qt>

namespace quelo::qt {

// 0 for a key the forms have no code for.
int classicKeyCode(int qtKey);
int classicShift(Qt::KeyboardModifiers modifiers);

}  // namespace quelo::qt
