// Reads a report's records on a worker thread, so that the window stays alive while a large
// file is read. What reads them is plain C++ (no Qt object is touched off the GUI thread); the
// records are handed back on the GUI thread. The read is watched: its rows are counted as they
// come, and a cancel stops it between rows (or while it waits on a named pipe), so the worker
// ends soon after and its records, if any, are dropped.
#pragma once

#include <QObject>
#include <QThread>
#include <functional>
#include <memory>
#include <optional>

#include "platform/read_watch.h"
#include "report_data.h"

namespace quelo::gui {

class ReportLoader : public QObject {
  Q_OBJECT

 public:
  using Read = std::function<Result<ReportData>()>;
  using Done = std::function<void(Result<ReportData>)>;

  explicit ReportLoader(QObject* parent = nullptr) : QObject(parent) {}
  // Stops a read still running and waits for its worker: its records are dropped.
  ~ReportLoader() override;

  bool busy() const { return thread_ != nullptr; }
  // Starts `read` on a worker; `done` runs on this object's thread with what it read. Refused
  // (false) while another read is running.
  bool start(Read read, Done done);
  // Stops the read in progress; `done` will not run for it.
  void cancel();
  // How far the read in progress has come; null when none runs.
  const ReadWatch* progress() const { return thread_ ? watch_.get() : nullptr; }

 signals:
  // The read is over: sent before its records are handed on (or dropped).
  void over();

 private:
  void collect();

  QThread* thread_ = nullptr;
  std::shared_ptr<ReadWatch> watch_;
  std::optional<Result<ReportData>> result_;
  Done done_;
};

}  // namespace quelo::gui
