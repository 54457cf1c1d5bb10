// The page files of a run, written while the next page is formatted: finished page texts wait in
// a short queue for a writer thread (on a machine with a processor free for it; else each page
// is written when it is handed over). Each page is written whole or not at all, as the file
// system's updates are; what became of each is taken back in page order.
#pragma once

#include <condition_variable>
#include <cstddef>
#include <deque>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "automation/status.h"
#include "platform/file_system.h"

namespace quelo {

class PageOutput {
 public:
  // A page and, once written, what became of it.
  struct Page {
    std::string folder;    // the Reports folder, locked while the page is written
    std::string filePath;
    std::string text;  // emptied once written, keeping its room
    Status status = Status::ok();
    bool skipped = false;  // not written, as an earlier page met a full disk or a planted link
  };

  PageOutput(FileSystem& files, bool threaded);
  ~PageOutput();
  PageOutput(const PageOutput&) = delete;
  PageOutput& operator=(const PageOutput&) = delete;

  // Hands a finished page over; waits while the queue is full.
  void write(Page page);
  // The pages written (or skipped) since the last call, in page order, without waiting.
  std::vector<Page> done();
  // Waits until every page handed over is written, then returns them as done() does.
  std::vector<Page> settle();

 private:
  static constexpr size_t kQueued = 2;  // pages waiting; more would only hold memory

  void run();
  void writeOne(Page& page);

  FileSystem& files_;
  std::mutex mutex_;
  std::condition_variable changed_;
  std::deque<Page> waiting_;
  std::vector<Page> done_;
  size_t busy_ = 0;  // pages taken by the writer and not yet done
  bool closing_ = false;
  bool stopped_ = false;  // by an error that every later page would meet too
  bool leftoversRemoved_ = false;
  std::thread writer_;
};

}  // namespace quelo
