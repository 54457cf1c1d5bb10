#include "report/page_output.h"

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

PageOutput::PageOutput(FileSystem& files, std::string folder, unsigned writers)
    : files_(files), folder_(std::move(folder)), queued_(writers + 1) {
  for (unsigned i = 0; i < writers; ++i) writers_.emplace_back([this] { run(); });
}

PageOutput::~PageOutput() {
  {
    std::lock_guard<std::mutex> lock(mutex_);
    closing_ = true;
  }
  changed_.notify_all();
  for (std::thread& writer : writers_) writer.join();
  discard();
}

void PageOutput::write(Page page) {
  std::unique_lock<std::mutex> lock(mutex_);
  Numbered numbered{handed_++, std::move(page)};
  if (writers_.empty()) {
    writeOne(numbered);
    return finished(std::move(numbered));
  }
  changed_.wait(lock, [this] { return waiting_.size() < queued_; });
  waiting_.push_back(std::move(numbered));
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
    Numbered page = std::move(waiting_.front());
    waiting_.pop_front();
    ++busy_;
    changed_.notify_all();
    lock.unlock();
    writeOne(page);
    lock.lock();
    finished(std::move(page));
    --busy_;
    changed_.notify_all();
  }
}

// The pages after an error that stops the run are skipped.
void PageOutput::writeOne(Numbered& numbered) {
  Page& page = numbered.page;
  if (numbered.number > stoppedAt_) {
    page.skipped = true;
    return;
  }
  std::string runPath;
  page.status = [&]() -> Status {
    auto folder = openRunFolder();
    if (!folder) return folder.error();
    runPath = std::move(folder).value();
    auto file = files_.beginUpdate(runPath + page.fileName, kUtf8Bom);
    if (!file) return file.error();
    if (Status s = file.value()->writePieces(page.text.pieces()); !s) return s;
    return file.value()->close();
  }();
  // An error names the page, not the place it is built in.
  if (!page.status && !runPath.empty()) {
    Error e = page.status.error();
    e.message = replaceAll(e.message, runPath, folder_);
    page.status = e;
  }
  if (!stopsTheRun(page.status)) return;
  uint64_t at = stoppedAt_;
  while (numbered.number < at && !stoppedAt_.compare_exchange_weak(at, numbered.number)) {
  }
}

// Pages are told in the order they were handed over: a page built before one handed over
// earlier waits for it. A page that another writer built after the stop is told as skipped.
void PageOutput::finished(Numbered page) {
  page.page.text.clear();  // its room goes back with it, for a later page
  early_.emplace(page.number, std::move(page.page));
  for (auto next = early_.find(told_); next != early_.end(); next = early_.find(told_)) {
    Page& told = next->second;
    if (stopped_) {
      told.skipped = true;
      told.status = Status::ok();
    }
    stopped_ = stopped_ || stopsTheRun(told.status);
    done_.push_back(std::move(told));
    early_.erase(next);
    ++told_;
  }
}

// The run's folder, made at its first page: its path. It is made under the folder's lock, in
// which what killed runs left is removed, so that no other run takes it for a leftover.
Result<std::string> PageOutput::openRunFolder() {
  std::lock_guard<std::mutex> once(runFolderMutex_);
  if (run_.inUse) return run_.path;
  auto lock = files_.lockFolder(folder_);
  if (!lock) return lock.error();
  (void)files_.removeUpdateLeftovers(folder_);
  auto run = files_.createRunFolder(folder_);
  if (!run) return run.error();
  run_ = std::move(run).value();
  return run_.path;
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
  if (!files_.exists(target) && !files_.isSymlink(target) && files_.moveFile(built, target))
    return Status::ok();
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
