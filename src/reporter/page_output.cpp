#include "reporter/page_output.h"

#include <utility>

#include "automation/text.h"

namespace quelo {

PageOutput::PageOutput(FileSystem& files, bool threaded) : files_(files) {
  if (threaded) writer_ = std::thread([this] { run(); });
}

PageOutput::~PageOutput() {
  if (!writer_.joinable()) return;
  {
    std::lock_guard<std::mutex> lock(mutex_);
    closing_ = true;
  }
  changed_.notify_all();
  writer_.join();
}

void PageOutput::write(Page page) {
  if (!writer_.joinable()) {
    writeOne(page);
    page.text.clear();
    done_.push_back(std::move(page));
    return;
  }
  std::unique_lock<std::mutex> lock(mutex_);
  changed_.wait(lock, [this] { return waiting_.size() < kQueued; });
  waiting_.push_back(std::move(page));
  changed_.notify_all();
}

std::vector<PageOutput::Page> PageOutput::done() {
  std::lock_guard<std::mutex> lock(mutex_);
  return std::exchange(done_, {});
}

std::vector<PageOutput::Page> PageOutput::settle() {
  std::unique_lock<std::mutex> lock(mutex_);
  changed_.wait(lock, [this] { return waiting_.empty() && busy_ == 0; });
  return std::exchange(done_, {});
}

void PageOutput::run() {
  std::unique_lock<std::mutex> lock(mutex_);
  for (;;) {
    changed_.wait(lock, [this] { return closing_ || !waiting_.empty(); });
    if (waiting_.empty()) return;
    Page page = std::move(waiting_.front());
    waiting_.pop_front();
    ++busy_;
    changed_.notify_all();
    lock.unlock();
    writeOne(page);
    page.text.clear();  // its room goes back with it, for a later page
    lock.lock();
    done_.push_back(std::move(page));
    --busy_;
    changed_.notify_all();
  }
}

// A full disk would fail every page after it, and a link planted among the pages means the
// folder is not to be written into: the pages after such an error are skipped.
void PageOutput::writeOne(Page& page) {
  if (stopped_) {
    page.skipped = true;
    return;
  }
  page.status = [&]() -> Status {
    auto lock = files_.lockFolder(page.folder);
    if (!lock) return lock.error();
    if (!leftoversRemoved_) {
      (void)files_.removeUpdateLeftovers(page.folder);
      leftoversRemoved_ = true;
    }
    auto file = files_.beginUpdate(page.filePath, kUtf8Bom);
    if (!file) return file.error();
    if (Status s = file.value()->write(page.text); !s) return s;
    return file.value()->close();
  }();
  if (!page.status && (page.status.error().number == err::kDiskFull ||
                       page.status.error().number == err::kPermissionDenied))
    stopped_ = true;
}

}  // namespace quelo
