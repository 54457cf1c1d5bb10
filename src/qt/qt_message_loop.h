// The thread's MessageLoop on the Qt event loop: timers are QTimers, posted work is queued to the
// loop, and processEvents runs what is waiting.
#pragma once

#include <QObject>
#include <QTimer>
#include <map>
#include <memory>

#include "platform/message_loop.h"

namespace quelo::qt {

class QtMessageLoop : public MessageLoop {
 public:
  QtMessageLoop();
  ~QtMessageLoop() override;
  TimerId startTimer(std::chrono::milliseconds interval, Callback onTick) override;
  void stopTimer(TimerId id) override;
  void post(Callback work) override;
  void processEvents() override;

 private:
  std::unique_ptr<QObject> context_;  // posted work dies with the loop
  std::map<TimerId, std::unique_ptr<QTimer>> timers_;
  TimerId nextId_ = 1;
};

}  // namespace quelo::qt
