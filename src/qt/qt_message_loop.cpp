#include "qt/qt_message_loop.h"

#include <QCoreApplication>

namespace quelo::qt {

QtMessageLoop::QtMessageLoop() : context_(std::make_unique<QObject>()) {}

QtMessageLoop::~QtMessageLoop() = default;

MessageLoop::TimerId QtMessageLoop::startTimer(std::chrono::milliseconds interval, Callback onTick) {
  auto timer = std::make_unique<QTimer>();
  timer->setTimerType(Qt::PreciseTimer);
  timer->setInterval(interval);
  QObject::connect(timer.get(), &QTimer::timeout, timer.get(), std::move(onTick));
  timer->start();
  const TimerId id = nextId_++;
  timers_[id] = std::move(timer);
  return id;
}

void QtMessageLoop::stopTimer(TimerId id) {
  auto it = timers_.find(id);
  if (it == timers_.end()) return;
  it->second->stop();
  // The timer may be stopped from its own tick: it goes once control is back in the loop.
  it->second.release()->deleteLater();
  timers_.erase(it);
}

void QtMessageLoop::post(Callback work) {
  QMetaObject::invokeMethod(context_.get(), std::move(work), Qt::QueuedConnection);
}

void QtMessageLoop::processEvents() { QCoreApplication::processEvents(QEventLoop::AllEvents); }

}  // namespace quelo::qt
