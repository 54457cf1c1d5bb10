// Reads a report's records on a worker thread, so that the window stays alive while a large
// file is read. What reads them is plain C++ (no Qt object is touched off the GUI thread); the
// records are handed back on the GUI thread. A cancelled read is left to finish on its own and
// its records are dropped.
#pragma once

#include <QObject>
#include <QThread>
#include <functional>
#include <optional>

#include "report_data.h"

namespace quelo::gui {

class ReportLoader : public QObject {
  Q_OBJECT

 public:
  using Read = std::function<Result<ReportData>()>;
  using Done = std::function<void(Result<ReportData>)>;

  explicit ReportLoader(QObject* parent = nullptr) : QObject(parent) {}
  // Waits for a read still running: its records are dropped.
  ~ReportLoader() override;

  bool busy() const { return thread_ != nullptr; }
  // Starts `read` on a worker; `done` runs on this object's thread with what it read. Refused
  // (false) while another read is running.
  bool start(Read read, Done done);
  // `done` will not run for the read in progress.
  void cancel() { done_ = nullptr; }

 signals:
  // The read is over: sent before its records are handed on (or dropped).
  void over();

 private:
  void collect();

  QThread* thread_ = nullptr;
  std::optional<Result<ReportData>> result_;
  Done done_;
};

}  // namespace quelo::gui
