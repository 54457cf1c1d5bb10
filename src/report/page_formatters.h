// Pages formatted on threads of their own while the run reads the records of the pages after
// them and writes the pages before. Each thread has a page writer of its own; a page's
// statistics are counted apart (ReportStatistics::startApart) and handed back with its text, for
// the run to add to its own in page order. The pages come back in the order they were given.
#pragma once

#include <condition_variable>
#include <cstddef>
#include <cstdint>
#include <deque>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "platform/file_system.h"
#include "report/page_text.h"
#include "report/page_writer.h"
#include "report/report_job.h"
#include "report/report_statistics.h"

namespace quelo {

class PageRecords;

class PageFormatters {
 public:
  struct Page {
    std::shared_ptr<PageRecords> records;  // a record set of the page's own
    PagePlace place;
    std::string fileName;
    int32_t recordsBefore = 0;    // in the pages before it
    PageText text;                // given empty (with room); handed back written
    ReportStatistics statistics;  // handed back: the page's, counted apart
  };

  // `threads` threads, formatting the pages of `job`; `job` and `files` outlive this.
  PageFormatters(const ReportJob& job, FileSystem& files, size_t threads);
  ~PageFormatters();
  PageFormatters(const PageFormatters&) = delete;
  PageFormatters& operator=(const PageFormatters&) = delete;

  size_t threads() const { return threads_.size(); }
  void add(Page page);
  // The pages given and not taken back yet.
  size_t pending() const { return inOrder_.size(); }
  // Waits until the first page given and not taken back is formatted, and takes it back.
  Page takeFirst();

 private:
  struct Slot {
    Page page;
    bool done = false;
  };
  void run(PageWriter writer);

  std::mutex mutex_;
  std::condition_variable given_;      // a page to format, or closing: the threads wait for it
  std::condition_variable formatted_;  // a page formatted: the run waits for it
  std::deque<Slot> inOrder_;           // every page given and not taken back, in order
  std::deque<Slot*> waiting_;          // those no thread has taken yet
  bool closing_ = false;
  std::vector<std::thread> threads_;
};

}  // namespace quelo
