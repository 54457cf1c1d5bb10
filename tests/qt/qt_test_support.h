// Helpers of the Qt tests: acting on a modal dialog from inside its event loop, and waiting for
// the event loop to settle.
#pragma once

#include <QWidget>
#include <functional>

namespace quelo::qt::testing {

// Runs `action` on the next turn of the event loop (inside the modal loop that is about to run).
void soon(std::function<void()> action);
// Lets the event loop run what is waiting, deferred deletions included.
void settle();
// The application's active modal widget (a message box, a dialog), or null.
QWidget* activeModal();

}  // namespace quelo::qt::testing
