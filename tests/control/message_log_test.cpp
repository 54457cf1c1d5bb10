#include "control/message_log.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <ctime>
#include <filesystem>

#include "fakes/fake_clock.h"
#include "fakes/forwarding_file_system.h"
#include "fakes/scratch_dir.h"

namespace quelo {
namespace {

namespace fs = std::filesystem;

TEST(MessageLogLine, IsOneQuotedHtmlDocumentEndingInCrLf) {
  const Date at = dateFromCivil({2009, 3, 7, 14, 5, 9});
  EXPECT_EQ(messageLogLine("ACME", at, "two  spaces\r\n<b>\"x\"</b>"),
            "\"<HTML><HEAD><TITLE>ACME : Appended ZeQuelo Message Log </TITLE></HEAD><BODY><H2> At "
            "2009-03-07 14:05:09 </H2><P> two&nbsp;&nbsp;spaces<p></p><b>\"x\"</b> </P></BODY></HTML>\"\r\n");
  EXPECT_TRUE(messageLogLine("", at, "").starts_with("\"<HTML><HEAD><TITLE> : Appended ZeQuelo Message Log </TITLE>"));
}

TEST(MessageLogLine, ArchiveNamesHaveNoLeadingZerosAndACounterWhenTaken) {
  EXPECT_EQ(archivedLogName({2009, 3, 7}, 1), "ZeMessages_Of_3_7_2009.htm");
  EXPECT_EQ(archivedLogName({2010, 12, 25}, 2), "ZeMessages_Of_12_25_2010_2.htm");
}

// Local noon of 2009-03-07, whatever the time zone of the test run.
std::time_t localNoonOfMarch7() {
  std::tm tm{};
  tm.tm_year = 109, tm.tm_mon = 2, tm.tm_mday = 7, tm.tm_hour = 12, tm.tm_isdst = -1;
  return std::mktime(&tm);
}

class MessageLog : public ::testing::Test {
 protected:
  std::string logFolder() const { return dir / "Reports/Log/"; }
  std::string current() const { return logFolder() + "ZeMessages.htm"; }
  std::string archive(const std::string& suffix = "") const { return logFolder() + "ZeMessages_Of_3_7_2009" + suffix + ".htm"; }
  std::string read(const std::string& path) { return files.readFile(path).valueOr("<missing>"); }
  std::string lineFor(std::string_view message) { return messageLogLine("CO", dateFromTimePoint(clock.wallNow()), message); }

  void log(std::string_view message, FileSystem* through = nullptr) {
    appendToMessageLog(through ? *through : files, clock, dir.path(), "CO", message);
  }
  // A current log of `size` bytes, last changed on 2009-03-07.
  std::string writeLog(size_t size, char fill = 'x') {
    fs::create_directories(logFolder());
    const std::string content(size, fill);
    dir.write("Reports/Log/ZeMessages.htm", content);
    fs::last_write_time(current(), fs::file_time_type::clock::from_sys(
                                       std::chrono::system_clock::from_time_t(localNoonOfMarch7())));
    return content;
  }

  testing::ScratchDir dir;
  PosixFileSystem files;
  testing::FakeClock clock;
};

TEST_F(MessageLog, CreatesReportsAndLogThenAppendsOneLinePerMessage) {
  log("hello");
  const std::string first = lineFor("hello");
  clock.advance(std::chrono::seconds(61));
  log("two\r\nlines");
  EXPECT_EQ(read(current()), first + lineFor("two\r\nlines"));
}

TEST_F(MessageLog, ApplicationPathMayUseEitherSeparator) {
  std::string windowsStyle = dir.path();
  windowsStyle.back() = '\\';
  appendToMessageLog(files, clock, windowsStyle, "CO", "m");
  appendToMessageLog(files, clock, dir.path().substr(0, dir.path().size() - 1), "CO", "n");
  EXPECT_EQ(read(current()), lineFor("m") + lineFor("n"));
}

TEST_F(MessageLog, ALogOfExactlyTheLimitIsNotArchived) {
  const std::string old = writeLog(kMessageLogLimit);
  log("next");
  EXPECT_EQ(read(current()), old + lineFor("next"));
  EXPECT_FALSE(files.exists(archive()));
}

TEST_F(MessageLog, ALogPastTheLimitMovesToItsDateStampedName) {
  const std::string old = writeLog(kMessageLogLimit + 1);
  log("next");
  EXPECT_EQ(read(archive()), old);
  EXPECT_EQ(read(current()), lineFor("next"));
}

TEST_F(MessageLog, LaterArchivesOfTheSameDayKeepTheEarlierOnes) {
  const std::string first = writeLog(kMessageLogLimit + 1, 'a');
  log("one");
  const std::string second = writeLog(kMessageLogLimit + 1, 'b');
  log("two");
  const std::string third = writeLog(kMessageLogLimit + 1, 'c');
  log("three");
  EXPECT_EQ(read(archive()), first);
  EXPECT_EQ(read(archive("_2")), second);
  EXPECT_EQ(read(archive("_3")), third);
  EXPECT_EQ(read(current()), lineFor("three"));
}

TEST_F(MessageLog, AReadOnlyLogIsMadeWritableByItsOwner) {
  const std::string old = writeLog(10);
  ASSERT_EQ(::chmod(current().c_str(), 0444), 0);
  log("m");
  struct stat st {};
  ASSERT_EQ(::stat(current().c_str(), &st), 0);
  EXPECT_TRUE(st.st_mode & S_IWUSR);
  EXPECT_EQ(read(current()), old + lineFor("m"));
}

struct NoRenames : testing::ForwardingFileSystem {
  using ForwardingFileSystem::ForwardingFileSystem;
  Status moveFile(const std::string&, const std::string&) override { return makeError(err::kIoError, "no rename"); }
};

struct NoRenamesNoCopies : NoRenames {
  using NoRenames::NoRenames;
  Status copyFile(const std::string&, const std::string&, bool) override { return makeError(err::kIoError, "disk full"); }
};

TEST_F(MessageLog, WithoutRenameTheLogIsCopiedThenDeleted) {
  NoRenames noRenames(files);
  const std::string old = writeLog(kMessageLogLimit + 1);
  log("next", &noRenames);
  EXPECT_EQ(read(archive()), old);
  EXPECT_EQ(read(current()), lineFor("next"));
}

TEST_F(MessageLog, ALogThatCannotBeArchivedStaysAndTakesTheEntry) {
  NoRenamesNoCopies failing(files);
  const std::string old = writeLog(kMessageLogLimit + 1);
  log("kept", &failing);
  EXPECT_EQ(read(current()), old + lineFor("kept"));
  EXPECT_FALSE(files.exists(archive()));
}

TEST_F(MessageLog, AnApplicationPathThatIsAFileWritesNothingAndReportsNothing) {
  dir.write("plain", "x");
  appendToMessageLog(files, clock, dir / "plain", "CO", "m");
  EXPECT_EQ(read(dir / "plain"), "x");
  EXPECT_FALSE(files.exists(dir / "Reports"));
}

}  // namespace
}  // namespace quelo
