#include "report_loader.h"

namespace quelo::gui {

ReportLoader::~ReportLoader() {
  if (!thread_) return;
  disconnect(thread_, nullptr, this, nullptr);
  watch_->stop();
  thread_->wait();
  delete thread_;
}

bool ReportLoader::start(Read read, Done done) {
  if (thread_) return false;
  done_ = std::move(done);
  result_.reset();
  watch_ = std::make_shared<ReadWatch>();
  thread_ = QThread::create([this, watch = watch_, read = std::move(read)] {
    ReadWatchScope scope(*watch);
    result_.emplace(read());
  });
  // Delivered on this object's thread once the worker has stored its result and stopped.
  connect(thread_, &QThread::finished, this, &ReportLoader::collect);
  thread_->start();
  return true;
}

void ReportLoader::cancel() {
  done_ = nullptr;
  if (watch_) watch_->stop();
}

void ReportLoader::collect() {
  thread_->wait();
  delete thread_;
  thread_ = nullptr;
  Done done = std::move(done_);
  done_ = nullptr;
  std::optional<Result<ReportData>> result = std::move(result_);
  result_.reset();
  emit over();
  if (done && result) done(std::move(*result));
}

}  // namespace quelo::gui
