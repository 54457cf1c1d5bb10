#include "report/page_output.h"

#include <algorithm>
#include <utility>

#include "automation/text.h"
#include "report/earlier_pages.h"

namespace quelo {
namespace {

// A full disk would fail every page after it, and a link planted among the pages means the
// folder is not to be written into.
bool stopsTheRun(const Status& s) {
  return !s && (s.error().number == err::kDiskFull || s.error().number == err::kPermissionDenied);
}

}  // namespace

PageOutput::PageOutput(FileSystem& files, std::string folder, bool threaded)
    : files_(files), folder_(std::move(folder)) {
  if (threaded) writer_ = std::thread([this] { run(); });
}

PageOutput::~PageOutput() {
  if (writer_.joinable()) {
    {
      std::lock_guard<std::mutex> lock(mutex_);
      closing_ = true;
    }
    work_.notify_one();
    writer_.join();
  }
  discard();
}

void PageOutput::write(Page page) {
  if (!writer_.joinable()) {
    writeOne(page);
    page.text.clear();
    done_.push_back(std::move(page));
    return;
  }
  {
    std::unique_lock<std::mutex> lock(mutex_);
    room_.wait(lock, [this] { return waiting_.size() < kQueued; });
    waiting_.push_back(std::move(page));
  }
  work_.notify_one();
}

bool PageOutput::behind() {
  std::lock_guard<std::mutex> lock(mutex_);
  return waiting_.size() >= kQueued;
}

std::vector<PageOutput::Page> PageOutput::done() {
  std::lock_guard<std::mutex> lock(mutex_);
  return std::exchange(done_, {});
}

std::vector<PageOutput::Page> PageOutput::settle() {
  std::unique_lock<std::mutex> lock(mutex_);
  room_.wait(lock, [this] { return waiting_.empty() && busy_ == 0; });
  return std::exchange(done_, {});
}

std::vector<PageOutput::Page> PageOutput::writeEnds(std::vector<Page> ends) {
  std::vector<Page> written = settle();
  std::vector<std::string> order;
  std::unique_lock<std::mutex> lock(mutex_);
  for (Page& end : ends) {
    order.push_back(end.fileName);
    waiting_.push_back(std::move(end));  // past the queue's bound: an end's own text is short
  }
  work_.notify_one();
  // The run's folder is made by the first page built: until it is there, one thread builds.
  if (!writer_.joinable() || run_.inUse)
    while (writeNext(lock)) {
    }
  lock.unlock();
  // Each end back at its place in page order, whichever thread built it (those handed over
  // before were settled first, so the ends are all that is done now).
  const size_t first = written.size();
  written.resize(first + order.size());
  for (Page& end : settle())
    written[first + static_cast<size_t>(std::ranges::find(order, end.fileName) - order.begin())] =
        std::move(end);
  return written;
}

void PageOutput::run() {
  std::unique_lock<std::mutex> lock(mutex_);
  for (;;) {
    work_.wait(lock, [this] { return closing_ || !waiting_.empty(); });
    if (!writeNext(lock)) return;
  }
}

// Builds the first page waiting, if any; `lock` is held before and after. The waiting thread is
// woken once the lock is let go, so that it does not wake only to wait for the lock.
bool PageOutput::writeNext(std::unique_lock<std::mutex>& lock) {
  if (waiting_.empty()) return false;
  Page page = std::move(waiting_.front());
  waiting_.pop_front();
  ++busy_;
  lock.unlock();
  room_.notify_all();
  writeOne(page);
  page.text.clear();  // its room goes back with it, for a later page
  lock.lock();
  done_.push_back(std::move(page));
  if (--busy_ == 0 && waiting_.empty()) {
    lock.unlock();
    room_.notify_all();
    lock.lock();
  }
  return true;
}

// The pages after an error that stops the run are skipped; the end of a page begun before it is
// still written.
void PageOutput::writeOne(Page& page) {
  if (stopped_ && page.part != Part::End) {
    page.skipped = true;
    return;
  }
  page.status = [&]() -> Status {
    if (Status s = openRunFolder(); !s) return s;
    const std::string path = run_.path + page.fileName;
    const bool end = page.part == Part::End;
    auto file = end ? files_.continueInRunFolder(path) : files_.beginInRunFolder(path);
    if (!file) return file.error();
    if (!end)
      if (Status s = file.value()->write(kUtf8Bom); !s) return s;  // goes with the pieces
    if (Status s = file.value()->writePieces(page.text.pieces()); !s) return s;
    return file.value()->close();
  }();
  // An error names the page, not the place it is built in.
  if (!page.status && !run_.path.empty()) {
    Error e = page.status.error();
    e.message = replaceAll(e.message, run_.path, folder_);
    page.status = e;
  }
  if (stopsTheRun(page.status)) stopped_ = true;
}

// The run's folder, made at its first page. It is made under the folder's lock, in which what
// killed runs left is removed, so that no other run takes it for a leftover.
Status PageOutput::openRunFolder() {
  if (run_.inUse) return Status::ok();
  auto lock = files_.lockFolder(folder_);
  if (!lock) return lock.error();
  (void)files_.removeUpdateLeftovers(folder_);
  auto run = files_.createRunFolder(folder_);
  if (!run) return run.error();
  run_ = std::move(run).value();
  return Status::ok();
}

std::vector<Status> PageOutput::commit(const std::vector<std::string>& fileNames,
                                       const std::string* replacing) {
  auto lock = files_.lockFolder(folder_);
  if (!lock) return {lock.error()};
  if (replacing)
    if (Status s = removeEarlierPages(files_, folder_, *replacing); !s) return {s};
  std::vector<Status> results;
  for (const std::string& name : fileNames) {
    results.push_back(putInPlace(name));
    if (stopsTheRun(results.back())) break;
  }
  return results;
}

Status PageOutput::putInPlace(const std::string& fileName) {
  const std::string built = run_.path + fileName, target = folder_ + fileName;
  if (files_.moveFile(built, target)) return Status::ok();  // where no file or link has the name
  auto text = files_.readFile(built);
  if (!text) return text.error();
  std::string_view added = text.value();
  if (added.starts_with(kUtf8Bom)) added.remove_prefix(kUtf8Bom.size());  // appending adds none
  auto file = files_.beginUpdate(target, kUtf8Bom);
  if (!file) return file.error();
  if (Status s = file.value()->write(added); !s) return s;
  return file.value()->close();
}

void PageOutput::discard() {
  run_ = {};  // the run's folder goes with its lock
}

}  // namespace quelo
