// The page files of a run, built while the next page is formatted: finished page texts wait in
// a short queue for a writer thread (on a machine with a processor free for it; else each page
// is built when it is handed over). Each page is built whole in the run's own folder beside the
// pages, where nothing shows: the pages become visible together when the run commits them, under
// the folder's lock, or are dropped with the folder. A killed run leaves its folder to the next
// run, which removes it.
#pragma once

#include <atomic>
#include <condition_variable>
#include <cstddef>
#include <deque>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "automation/status.h"
#include "platform/file_system.h"
#include "report/page_text.h"

namespace quelo {

class PageOutput {
 public:
  // A page is built whole, or in two parts: its start, then its end appended to it.
  enum class Part { Whole, Start, End };
  // A page and, once built, what became of it.
  struct Page {
    std::string fileName;  // in the pages' folder
    PageText text;         // emptied once built, keeping its room
    Status status = Status::ok();
    bool skipped = false;  // not built, as an earlier page met a full disk or a planted link
    Part part = Part::Whole;
  };

  // The pages go to `folder` (ending in a separator).
  PageOutput(FileSystem& files, std::string folder, bool threaded);
  ~PageOutput();
  PageOutput(const PageOutput&) = delete;
  PageOutput& operator=(const PageOutput&) = delete;

  // Hands a finished page over; waits while the queue is full.
  void write(Page page);
  // Whether the queue is full: the pages are formatted faster than they are built.
  bool behind();
  // The pages built (or skipped) since the last call, in page order, without waiting.
  std::vector<Page> done();
  // Waits until every page handed over is built, then returns them as done() does.
  std::vector<Page> settle();
  // Builds the ends of pages begun earlier (Part::End), here and on the writer's thread together,
  // and returns them after the pages handed over before, in page order, as settle() does. Nothing
  // else is built meanwhile: the ends of many pages are written on two processors where one would
  // hold up the pages after them.
  std::vector<Page> writeEnds(std::vector<Page> ends);

  // Puts the pages built under `fileNames` in place, in one hold of the folder's lock: a page
  // with no file yet is moved there; an earlier page's file gets the new sections after its own.
  // With `replacing`, the pages of an earlier report under that base name are removed first, in
  // the same hold, so two runs at once never mix their pages. What became of each page, in
  // order, up to a full disk or a planted link: the pages after it are left out, as is every
  // page when the lock or the removal fails (its error alone is the answer).
  std::vector<Status> commit(const std::vector<std::string>& fileNames,
                             const std::string* replacing);
  // Drops every page built and not put in place, with the run's folder.
  void discard();

 private:
  static constexpr size_t kQueued = 2;  // pages waiting; more would only hold memory

  void run();
  bool writeNext(std::unique_lock<std::mutex>& lock);
  void writeOne(Page& page);
  Status openRunFolder();
  Status putInPlace(const std::string& fileName);

  FileSystem& files_;
  std::string folder_;
  std::mutex mutex_;
  std::condition_variable work_;  // a page to build, or closing: for the writer
  std::condition_variable room_;  // room in the queue, or every page built: for the run
  std::deque<Page> waiting_;
  std::vector<Page> done_;
  size_t busy_ = 0;  // pages taken by the writer and not yet done
  bool closing_ = false;
  std::atomic<bool> stopped_ = false;  // by an error that every later page would meet too
  FileSystem::RunFolder run_;
  std::thread writer_;
};

}  // namespace quelo
