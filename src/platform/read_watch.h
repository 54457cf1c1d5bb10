// ReadWatch: how far a long read on a worker thread has come, and a way to stop it from another
// thread. The worker installs the watch for as long as the read runs (ReadWatchScope); the readers
// of data files and queries find it with currentReadWatch(), count each row into it and give up
// with readStopped() between rows once stop() was called. A file that can keep a reader waiting
// (a named pipe) is waited on in short turns, so a stop ends the wait too. Without a watch a read
// runs as it always did.
#pragma once

#include <atomic>
#include <cstdint>

#include "automation/status.h"

namespace quelo {

class ReadWatch {
 public:
  // Any thread.
  void stop() { stopped_ = true; }
  bool stopped() const { return stopped_; }
  int64_t rows() const { return rows_; }
  // -1 while the number of rows to come is not known.
  int64_t expected() const { return expected_; }

  // The reading thread: a pass over `expected` rows (-1: not known) begins.
  void beginPass(int64_t expected) {
    rows_ = 0;
    expected_ = expected;
  }
  // One more row read; false once the read is to stop.
  bool rowRead() {
    rows_.fetch_add(1, std::memory_order_relaxed);
    return !stopped_;
  }

 private:
  std::atomic<bool> stopped_{false};
  std::atomic<int64_t> rows_{0}, expected_{-1};
};

// Installs a watch on this thread for the life of the scope.
class ReadWatchScope {
 public:
  explicit ReadWatchScope(ReadWatch& watch);
  ~ReadWatchScope();
  ReadWatchScope(const ReadWatchScope&) = delete;
  ReadWatchScope& operator=(const ReadWatchScope&) = delete;

 private:
  ReadWatch* outer_;
};

// The watch of this thread's read, or null.
ReadWatch* currentReadWatch();
// Counts a row into this thread's watch; false when the read is to stop.
bool countRow();
// Whether this thread's read is to stop.
bool readStopRequested();
// The error of a read stopped by its watch (error 18, as a user's interrupt).
Error readStopped();

}  // namespace quelo
