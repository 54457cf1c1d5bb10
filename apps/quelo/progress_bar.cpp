#include "progress_bar.h"

#include <sys/ioctl.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>

namespace quelo::cli {
namespace {

constexpr auto kRedrawEvery = std::chrono::milliseconds(250);
constexpr int kDefaultWidth = 80;

std::string clockText(double seconds) {
  const auto s = static_cast<int64_t>(seconds);
  char buf[32];
  if (s >= 3600)
    std::snprintf(buf, sizeof buf, "%lld:%02lld:%02lld", static_cast<long long>(s / 3600),
                  static_cast<long long>(s / 60 % 60), static_cast<long long>(s % 60));
  else
    std::snprintf(buf, sizeof buf, "%lld:%02lld", static_cast<long long>(s / 60),
                  static_cast<long long>(s % 60));
  return buf;
}

std::string rateText(int32_t done, double seconds) {
  if (seconds <= 0) return "- pages/s";
  char buf[32];
  std::snprintf(buf, sizeof buf, "%.1f pages/s", done / seconds);
  return buf;
}

int terminalWidth(int fd) {
  winsize size{};
  if (ioctl(fd, TIOCGWINSZ, &size) == 0 && size.ws_col > 0) return size.ws_col;
  return kDefaultWidth;
}

}  // namespace

std::string progressLine(int32_t done, int32_t total, double seconds, int width) {
  total = std::max(total, 0);
  done = std::clamp(done, 0, total);
  const std::string counts = "  " + std::to_string(done) + "/" + std::to_string(total) +
                             " pages  " + clockText(seconds) + "  " + rateText(done, seconds);
  const int cells = std::clamp(width - static_cast<int>(counts.size()) - 3, 10, 50);
  const int filled = total > 0 ? static_cast<int>(static_cast<int64_t>(cells) * done / total) : 0;
  return "[" + std::string(static_cast<size_t>(filled), '#') +
         std::string(static_cast<size_t>(cells - filled), '-') + "]" + counts;
}

ProgressBar::ProgressBar(int fd, bool wanted)
    : fd_(fd), on_(wanted && isatty(fd)), start_(Clock::now()) {}

void ProgressBar::update(int32_t done, int32_t total) {
  if (!on_) return;
  if (!drawn_) start_ = Clock::now();
  total_ = total;
  if (done != lastDone_ || Clock::now() - lastDraw_ >= kRedrawEvery) draw(done);
}

void ProgressBar::finish(int32_t done) {
  if (!on_ || !drawn_) return;
  draw(done);
  (void)!write(fd_, "\n", 1);
}

void ProgressBar::draw(int32_t done) {
  lastDraw_ = Clock::now();
  lastDone_ = done;
  drawn_ = true;
  const double seconds = std::chrono::duration<double>(lastDraw_ - start_).count();
  // Back to the start of the line, the new text, and the rest of the old line cleared.
  const std::string line =
      "\r" + progressLine(done, total_, seconds, terminalWidth(fd_) - 1) + "\x1b[K";
  (void)!write(fd_, line.data(), line.size());
}

}  // namespace quelo::cli
