// The message log: each message becomes one time-stamped entry, a small HTML document on a line
// of its own between double quotation marks, at the end of Reports/Log/ZeMessages.htm under the
// control's application path. A log grown past kMessageLogLimit bytes is first set aside under
// the date of its last change (ZeMessages_Of_3_7_2009.htm; ..._2.htm, ..._3.htm when taken).
//
// An entry is added by writing a new version of the log beside it and renaming it over the log,
// as report pages are written: the log is always either as it was or with the whole entry, even
// when the disk fills up or the process is killed in the middle. Appending with one write(2)
// cannot promise that (a full disk or a kill cuts a write short, and a kill leaves no chance to
// cut the half entry off again). The price is a copy of the log, at most kMessageLogLimit bytes,
// per entry. A new log file starts with the UTF-8 byte-order mark.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "automation/date_time.h"
#include "platform/clock.h"
#include "platform/file_system.h"

namespace quelo {

inline constexpr uint64_t kMessageLogLimit = 1380000;

// The line written for one message, CR LF included; the message passes through textToHtml.
std::string messageLogLine(std::string_view company, Date now, std::string_view message);

// The archive name (without folder) for a log last changed on `day`; counter 1 gives the plain
// date-stamped name, 2 and up add "_counter" before ".htm".
std::string archivedLogName(const CivilTime& day, int counter);

// Appends one entry, creating the Reports and Log folders when missing. A log that cannot be
// archived stays and takes the entry; an entry that cannot be written is the error returned,
// and the log is left as it was. Processes that log at once take turns, so no entry is lost.
// A symbolic link in the log's place is refused.
Status appendToMessageLog(FileSystem& fs, Clock& clock, std::string_view applicationPath,
                          std::string_view company, std::string_view message);

}  // namespace quelo
