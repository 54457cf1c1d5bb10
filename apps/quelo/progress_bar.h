// The progress of a report on a terminal: one line redrawn in place with a bar, the pages done of
// the total, the time elapsed and the rate. Nothing is drawn where the stream is not a terminal.
#pragma once

#include <chrono>
#include <cstdint>
#include <string>

namespace quelo::cli {

// "[#####-----]  12/500 pages  0:03  3.8 pages/s", about `width` columns wide at most.
std::string progressLine(int32_t done, int32_t total, double seconds, int width);

class ProgressBar {
 public:
  // Draws on file descriptor `fd` when `wanted` and fd is a terminal.
  ProgressBar(int fd, bool wanted);
  // `done` of `total` pages are written. Redraws when the count changes, or now and then for the
  // clock; cheap enough to call for every section.
  void update(int32_t done, int32_t total);
  // Draws `done` one last time and ends the line (when anything was drawn).
  void finish(int32_t done);

 private:
  using Clock = std::chrono::steady_clock;
  void draw(int32_t done);

  int fd_;
  bool on_;
  bool drawn_ = false;
  int32_t total_ = 0, lastDone_ = -1;
  Clock::time_point start_, lastDraw_;
};

}  // namespace quelo::cli
