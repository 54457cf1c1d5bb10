#include "report/page_formatters.h"

#include <utility>

namespace quelo {

PageFormatters::PageFormatters(const ReportJob& job, FileSystem& files, size_t threads) {
  for (size_t t = 0; t < threads; ++t)
    threads_.emplace_back([this, &job, &files] { run(PageWriter(job, files, nullptr)); });
}

PageFormatters::~PageFormatters() {
  {
    std::lock_guard lock(mutex_);
    closing_ = true;
    waiting_.clear();
  }
  given_.notify_all();
  for (std::thread& t : threads_) t.join();
}

void PageFormatters::add(Page page) {
  {
    std::lock_guard lock(mutex_);
    inOrder_.push_back({std::move(page)});
    waiting_.push_back(&inOrder_.back());
  }
  given_.notify_one();
}

PageFormatters::Page PageFormatters::takeFirst() {
  std::unique_lock lock(mutex_);
  formatted_.wait(lock, [&] { return inOrder_.front().done; });
  Page page = std::move(inOrder_.front().page);
  inOrder_.pop_front();
  return page;
}

// A slot stays where it is while its page is formatted: the run adds slots at the back and takes
// back only slots that are done.
void PageFormatters::run(PageWriter writer) {
  std::unique_lock lock(mutex_);
  for (;;) {
    given_.wait(lock, [&] { return closing_ || !waiting_.empty(); });
    if (closing_) return;
    Slot& slot = *waiting_.front();
    waiting_.pop_front();
    lock.unlock();
    Page& page = slot.page;
    writer.statistics().startApart(page.recordsBefore);
    writer.appendPage(page.text, page.place, *page.records);
    page.statistics = writer.statistics();
    lock.lock();
    slot.done = true;
    formatted_.notify_one();
  }
}

}  // namespace quelo
