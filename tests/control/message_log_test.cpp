// The message log: its lines and archives, entries under faults, and LogMessage as the host
// calls it, the message echoed into a text box of the host's whatever members that box refuses.
#include "control/message_log.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <ctime>
#include <filesystem>
#include <functional>

#include "automation/text.h"
#include "control/text_box_echo.h"
#include "fakes/control_harness.h"
#include "fakes/countdown_file_system.h"
#include "fakes/fake_clock.h"
#include "fakes/fake_text_box.h"
#include "fakes/folder_files.h"
#include "fakes/forwarding_file_system.h"
#include "fakes/scratch_dir.h"
#include "platform/posix/posix_file_system.h"

namespace quelo {
namespace {

namespace fs = std::filesystem;
using testing::FakeTextBox;

TEST(MessageLogLine, IsOneQuotedHtmlDocumentEndingInCrLf) {
  EXPECT_EQ(
      messageLogLine("ACME", dateFromCivil({2009, 3, 7, 14, 5, 9}), "two  spaces\r\n<b>\"x\"</b>"),
      "\"<HTML><HEAD><TITLE>ACME : Appended ZeQuelo Message Log </TITLE></HEAD><BODY><H2> At "
      "2009-03-07 14:05:09 </H2><P> two&nbsp;&nbsp;spaces<p></p><b>\"x\"</b> "
      "</P></BODY></HTML>\"\r\n");
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
  std::string archive(const std::string& suffix = "") const {
    return logFolder() + "ZeMessages_Of_3_7_2009" + suffix + ".htm";
  }
  std::string read(const std::string& path) { return files.readFile(path).valueOr("<missing>"); }
  std::string lineFor(std::string_view message) {
    return messageLogLine("CO", dateFromTimePoint(clock.wallNow()), message);
  }

  Status log(std::string_view message, FileSystem* through = nullptr) {
    return appendToMessageLog(through ? *through : files, clock, dir.path(), "CO", message);
  }
  // A current log of `size` bytes, last changed on 2009-03-07.
  std::string writeLog(size_t size, char fill = 'x') {
    fs::create_directories(logFolder());
    const std::string content(size, fill);
    dir.write("Reports/Log/ZeMessages.htm", content);
    fs::last_write_time(current(),
                        fs::file_time_type::clock::from_sys(
                            std::chrono::system_clock::from_time_t(localNoonOfMarch7())));
    return content;
  }

  testing::ScratchDir dir;
  PosixFileSystem files;
  testing::FakeClock clock;
};

// Whichever separator ends the application path, or none, the log is the same one.
TEST_F(MessageLog, LaterArchivesOfTheSameDayKeepTheEarlierOnes) {
  const std::string first = writeLog(kMessageLogLimit + 1, 'a');
  ASSERT_TRUE(log("one"));
  const std::string second = writeLog(kMessageLogLimit + 1, 'b');
  std::string windowsStyle = dir.path();
  windowsStyle.back() = '\\';
  ASSERT_TRUE(appendToMessageLog(files, clock, windowsStyle, "CO", "two"));
  const std::string third = writeLog(kMessageLogLimit + 1, 'c');
  const std::string bare = dir.path().substr(0, dir.path().size() - 1);
  ASSERT_TRUE(appendToMessageLog(files, clock, bare, "CO", "three"));
  EXPECT_EQ(read(archive()), first);
  EXPECT_EQ(read(archive("_2")), second);
  EXPECT_EQ(read(archive("_3")), third);
  EXPECT_EQ(read(current()), std::string(kUtf8Bom) + lineFor("three"));
}

// Refuses every rename, and every copy too unless `copies`.
struct NoRenames : testing::ForwardingFileSystem {
  NoRenames(FileSystem& inner, bool copies) : ForwardingFileSystem(inner), copies(copies) {}
  Status moveFile(const std::string&, const std::string&) override {
    return makeError(err::kIoError, "no rename");
  }
  Status copyFile(const std::string& from, const std::string& to, bool replace) override {
    if (copies) return ForwardingFileSystem::copyFile(from, to, replace);
    return makeError(err::kIoError, "disk full");
  }
  bool copies;
};

// A log past the limit moves to its date-stamped name, by rename or else by copy and delete; one
// at the limit, or one that can be neither renamed nor copied, stays and takes the entry. A
// read-only log is made writable by its owner.
TEST_F(MessageLog, ALogPastTheLimitIsArchivedWhereItCanBe) {
  NoRenames noRenames(files, true), neither(files, false);
  const struct {
    const char* what;
    size_t size;
    FileSystem* through;
    bool archived, readOnly = false;
  } cases[] = {{"at the limit", kMessageLogLimit, nullptr, false},
               {"read-only", 10, nullptr, false, true},
               {"past it", kMessageLogLimit + 1, nullptr, true},
               {"no rename", kMessageLogLimit + 1, &noRenames, true},
               {"no rename, no copy", kMessageLogLimit + 1, &neither, false}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    fs::remove_all(dir / "Reports");
    const std::string old = writeLog(c.size);
    if (c.readOnly) {
      ASSERT_EQ(::chmod(current().c_str(), 0444), 0);
    }
    ASSERT_TRUE(log("next", c.through));
    EXPECT_EQ(read(archive()), c.archived ? old : "<missing>");
    EXPECT_EQ(read(current()), (c.archived ? std::string(kUtf8Bom) : old) + lineFor("next"));
    struct stat st {};
    ASSERT_EQ(::stat(current().c_str(), &st), 0);
    EXPECT_TRUE(st.st_mode & S_IWUSR);
  }
}

// The Nth file operation of an entry fails, for every N it has, once with an I/O error and from
// then on as a full disk: into a log, into no log yet, into a log due for archiving. An entry
// that fails says so; one that carries on is in the log whole, once. Either way every other file
// is as it was or whole, no temporary is left, and the next entry goes in whole.
TEST_F(MessageLog, AFaultAtAnyFileOperationLeavesEveryFileAsItWasOrWhole) {
  using testing::Fault, testing::FaultCause, testing::FolderFiles;
  const std::string reports = dir / "Reports/";
  const std::string log = "Log/ZeMessages.htm";
  struct Start {
    const char* what;
    std::function<void()> make;
  };
  const std::vector<Start> starts = {
      {"a log", [&] { writeLog(10); }},
      {"no log", [] {}},
      {"a log due for archiving", [&] { writeLog(kMessageLogLimit + 1); }},
  };
  const Fault kinds[] = {{.cause = FaultCause::kIoError},
                         {.fromThenOn = true, .cause = FaultCause::kDiskFull}};
  const std::string entry = lineFor("m");
  for (const Start& start : starts) {
    fs::remove_all(reports);
    start.make();
    const FolderFiles before = testing::filesUnder(reports);
    testing::CountdownFileSystem counting(files, {});
    ASSERT_TRUE(this->log("m", &counting));
    const FolderFiles after = testing::filesUnder(reports);
    const int count = static_cast<int>(counting.operations().size());
    for (Fault fault : kinds) {
      for (fault.at = 1; fault.at <= count; ++fault.at) {
        SCOPED_TRACE(std::string(start.what) + ", " + counting.operations()[fault.at - 1] +
                     (fault.fromThenOn ? " and on" : " once"));
        fs::remove_all(reports);
        start.make();
        testing::CountdownFileSystem faulty(files, fault);
        const bool done = this->log("m", &faulty).isOk();
        const FolderFiles left = testing::filesUnder(reports);
        for (const auto& [name, text] : left) {
          ASSERT_TRUE(after.count(name)) << name;
          if (done && name == log) {
            EXPECT_TRUE(text.ends_with(entry) && text.find(entry) == text.size() - entry.size());
            continue;
          }
          EXPECT_TRUE(text == after.at(name) || (before.count(name) && text == before.at(name)))
              << name;
        }
        EXPECT_TRUE(!done || left.count(log));
        ASSERT_TRUE(this->log("n"));
        const FolderFiles again = testing::filesUnder(reports);
        const bool fresh =
            !left.count(log) || left.at(log).size() > kMessageLogLimit;  // none, or archived now
        EXPECT_EQ(again.at(log), (fresh ? std::string(kUtf8Bom) : left.at(log)) + lineFor("n"));
        for (const auto& [name, text] : again) EXPECT_TRUE(after.count(name)) << name;
      }
    }
  }
}

// An entry that cannot be written is reported, naming the file and the cause, and the log is
// left as it was: nothing goes through a link or into a file in the Reports folder's place.
TEST_F(MessageLog, AnEntryThatCannotBeWrittenIsReportedAndTheLogLeftAsItWas) {
  testing::ScratchDir outside;
  outside.write("target", "outside");
  struct Case {
    const char* what;
    std::function<void()> plant;
    std::string words;
  };
  const std::vector<Case> cases = {
      {"a link", [&] { fs::create_symlink(outside / "target", current()); }, "symbolic link"},
      {"a dangling link", [&] { fs::create_symlink(outside / "made", current()); },
       "symbolic link"},
      {"a file for the Reports folder",
       [&] { fs::remove_all(dir / "Reports"), dir.write("Reports", "x"); }, "Reports"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    fs::remove_all(dir / "Reports");
    fs::create_directories(logFolder());
    c.plant();
    const std::string before = read(current());
    const Status s = log("m");
    ASSERT_FALSE(s);
    EXPECT_NE(s.error().message.find(c.words), std::string::npos) << s.error().message;
    EXPECT_EQ(read(current()), before);
    EXPECT_EQ(outside.read("target"), "outside");
    EXPECT_FALSE(fs::exists(outside / "made"));
  }
}

// A visible box gets the message on a new line at the end, with the focus, unlocked and enabled
// meanwhile (the caret index counts characters, not bytes); a hidden one at its caret without
// the focus; refused members are skipped one by one.
TEST(TextBoxEcho, TheMessageGoesInWhateverTheBoxRefuses) {
  struct Case {
    const char* what;
    std::string text;
    int32_t selStart, selLength;
    bool locked, enabled, visible;
    std::string refused, after, writes;  // members, and writes in order, parted by blanks
  };
  const Case cases[] = {
      {"visible, locked and disabled", "first line", 0, 5, true, false, true, "", "first line\r\nm",
       "Locked=False Enabled=True SetFocus SelStart=10 SelText Locked=True Enabled=False"},
      {"hidden", "abcdef", 2, 1, false, true, false, "", "ab\r\nmdef",
       "Locked=False Enabled=True SelText Locked=False Enabled=True"},
      {"no Text: no caret move", "abc", 0, 0, false, true, true, "Locked SetFocus Text", "\r\nmabc",
       "Enabled=True SelText Enabled=True"},
      {"mute", "", 0, 0, false, true, true, "Locked Enabled Visible SetFocus Text SelStart SelText",
       "", ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    auto box = FakeTextBox::create();
    box->text = c.text;
    box->selStart = c.selStart;
    box->selLength = c.selLength;
    box->locked = c.locked;
    box->enabled = c.enabled;
    box->visible = c.visible;
    const std::vector<std::string> refused = splitText(c.refused, " ");
    box->refused.insert(refused.begin(), refused.end());
    echoToTextBox(*box, "m");
    EXPECT_EQ(box->text, c.after);
    EXPECT_EQ(box->writes, splitText(c.writes, " "));
    EXPECT_EQ(box->focused, c.visible && !box->refused.count("SetFocus"));
    EXPECT_EQ(box->locked, c.locked);
    EXPECT_EQ(box->enabled, c.enabled);
  }
  auto wide = FakeTextBox::create();
  wide->text = "h\xC3\xA9llo \xE2\x82\xAC";  // "héllo €": the caret index counts 7 characters
  echoToTextBox(*wide, "m");
  EXPECT_EQ(wide->writes.at(3), "SelStart=7");
}

// Any value is logged by its text under the control's own path; the raw message goes to the box
// it is given, and nothing or no object for the box is fine.
TEST(LogMessageMember, LogsAnyValueAndEchoesItToTheBoxGiven) {
  testing::ScratchDir dir;
  testing::ControlHarness h;
  std::string path = dir.path();
  h.control->setApplicationPath(path);
  h.component->developerCompany = "ACME";
  h.component->applicationPath = "/nonexistent/";  // the shared path is not the log's
  auto box = FakeTextBox::create();
  box->text = "log:";
  for (Args args : {Args{Variant(int32_t{42})}, Args{Variant(2.5)}, Args{Variant::null()},
                    Args{Variant("a  b"), Variant(std::shared_ptr<Dispatch>(box))},
                    Args{Variant("m"), Variant(std::shared_ptr<Dispatch>())},
                    Args{Variant("n"), Variant::missing()}})
    ASSERT_TRUE(h.control->call("LogMessage", args));
  EXPECT_EQ(box->text, "log:\r\na  b");
  std::string expected(kUtf8Bom);
  for (const char* m : {"42", "2.5", "", "a  b", "m", "n"})
    expected += messageLogLine("ACME", dateFromTimePoint(h.clock.wallNow()), m);
  EXPECT_EQ(h.files.readFile(dir / "Reports/Log/ZeMessages.htm").valueOr("<missing>"), expected);
}

}  // namespace
}  // namespace quelo
