#include "control/message_log.h"

#include "automation/text.h"
#include "files/path_rules.h"
#include "report/text_to_html.h"

namespace quelo {
namespace {

constexpr int kMaxArchivesPerDay = 100000;

// The first archive name of that day that is not taken; empty when all are.
std::string freeArchivePath(FileSystem& fs, const std::string& folder, const CivilTime& day) {
  for (int counter = 1; counter <= kMaxArchivesPerDay; ++counter) {
    std::string path = folder + archivedLogName(day, counter);
    if (!fs.exists(path)) return path;
  }
  return "";
}

// Sets a full log aside. A rename keeps what another process appends meanwhile; where renaming
// fails, a copy then a delete. When both fail the log stays where it is.
void archiveIfFull(FileSystem& fs, const std::string& folder, const std::string& current) {
  auto info = fs.stat(current);
  if (!info || info.value().size <= kMessageLogLimit) return;
  const CivilTime day = civilFromDate(dateFromTimePoint(info.value().modified));
  const std::string archive = freeArchivePath(fs, folder, day);
  if (archive.empty() || fs.moveFile(current, archive)) return;
  if (fs.copyFile(current, archive, false)) (void)fs.remove(current);
}

}  // namespace

std::string messageLogLine(std::string_view company, Date now, std::string_view message) {
  std::string line = "\"<HTML><HEAD><TITLE>";
  line += company;
  line += " : Appended ZeQuelo Message Log </TITLE></HEAD><BODY><H2> At ";
  line += formatGeneralDate(now);
  line += " </H2><P> ";
  line += textToHtml(message);
  line += " </P></BODY></HTML>\"\r\n";
  return line;
}

std::string archivedLogName(const CivilTime& day, int counter) {
  std::string name = "ZeMessages_Of_" + std::to_string(day.month) + "_" + std::to_string(day.day) +
                     "_" + std::to_string(day.year);
  if (counter > 1) name += "_" + std::to_string(counter);
  return name + ".htm";
}

Status appendToMessageLog(FileSystem& fs, Clock& clock, std::string_view applicationPath,
                          std::string_view company, std::string_view message) {
  const std::string base =
      applicationPath.empty() ? "" : posixPath(withTrailingSeparator(applicationPath));
  const std::string reports = base + "Reports";
  const std::string folder = reports + "/Log/";
  for (const std::string& made : {reports, reports + "/Log"})
    if (Status s = fs.ensureDirectory(made); !s) return s;
  auto lock = fs.lockFolder(folder);
  if (!lock) return lock.error();
  (void)fs.removeUpdateLeftovers(folder);
  const std::string current = folder + "ZeMessages.htm";
  archiveIfFull(fs, folder, current);
  auto log = fs.beginUpdate(current, kUtf8Bom);
  if (!log) return log.error();
  if (Status s =
          log.value()->write(messageLogLine(company, dateFromTimePoint(clock.wallNow()), message));
      !s)
    return s;
  return log.value()->close();
}

}  // namespace quelo
