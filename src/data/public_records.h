// The public record sets seen from inside: what a Records handle holds, and the record set it
// opens for a report or for the control's reporter members.
#pragma once

#include <functional>
#include <memory>
#include <utility>

#include <varnikquelo/records.h>

#include "automation/status.h"
#include "data/recordset/recordset.h"
#include "platform/file_system.h"

struct varnikquelo::Records::Impl {
  // The source's rows, read through the files given; empty for a record set the control gave back.
  std::function<std::shared_ptr<quelo::RowSource>(quelo::FileSystem&)> rows;
  // A record set the control gave back (CurrentRecordset), passed on as it is.
  std::shared_ptr<quelo::Recordset> recordset;
};

namespace varnikquelo {

// The library's view into a Records handle.
struct RecordsAccess {
  using Impl = Records::Impl;
  static const std::shared_ptr<const Impl>& impl(const Records& records) { return records.impl_; }
  static Records make(Impl impl) { return Records(std::make_shared<const Impl>(std::move(impl))); }
};

}  // namespace varnikquelo

namespace quelo {

// The records as an open, static, read-only record set: every row read now, a failing source its
// error.
Result<std::shared_ptr<Recordset>> openRecords(const varnikquelo::Records& records, FileSystem& files);
// A handle on a record set the control holds.
varnikquelo::Records recordsOf(std::shared_ptr<Recordset> recordset);

}  // namespace quelo
