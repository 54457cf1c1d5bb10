#include "platform/posix/sqlite_settings_store.h"

#include <gtest/gtest.h>
#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <functional>
#include <optional>

#include "fakes/scoped_env.h"
#include "fakes/scratch_dir.h"
#include "fakes/sqlite_file.h"

namespace quelo {
namespace {

using testing::ScratchDir;
using testing::sqlRows;

const RegistryKey kKey{reg::kLocalMachine, "Software\\Maker\\Product\\Setting"};

std::string readBack(SettingsStore& store, const RegistryKey& key = kKey, std::string_view name = "Value") {
  auto v = store.value(key, name);
  return v ? v.value().data : "<" + v.error().message + ">";
}

Status write(SettingsStore& store, const std::string& data, std::string_view name = "Value") {
  return store.setValue(kKey, "1", name, RegistryValue{reg::kString, data});
}

// Starts body in a child process; ended() waits for it and tells how it ended (its exit code, or -signal).
pid_t started(const std::function<void()>& body) {
  const pid_t pid = fork();
  if (pid == 0) body(), _exit(0);
  return pid;
}
int ended(pid_t pid) {
  int status = 0;
  waitpid(pid, &status, 0);
  return WIFEXITED(status) ? WEXITSTATUS(status) : -WTERMSIG(status);
}

mode_t modeOf(const std::string& path) {
  struct stat st {};
  return stat(path.c_str(), &st) == 0 ? st.st_mode & 0777 : 0;
}

// A value comes back whole, found in any case; a missing one is not found, and reading creates
// nothing; a place it cannot create is a clear error.
TEST(SqliteSettingsStore, KeepsWhatWasWrittenWholeAndMissingIsNotFound) {
  ScratchDir dir;
  SqliteSettingsStore store(dir / "sub/registry.sqlite");
  auto missing = store.value(kKey, "Value");
  ASSERT_FALSE(missing.isOk());
  EXPECT_EQ(missing.error().number, err::kFileNotFound);
  EXPECT_EQ(modeOf(dir / "sub"), 0u);
  const std::string data = "a**_**line one\r\nline two**_**" + std::string(5000, 'x') + " \xC3\xA9";
  ASSERT_TRUE(write(store, data).isOk());
  EXPECT_EQ(readBack(store), data);
  EXPECT_EQ(readBack(store, {reg::kLocalMachine, "SOFTWARE\\maker\\PRODUCT\\setting"}, "VALUE"), data);
  ASSERT_TRUE(write(store, "second").isOk());
  EXPECT_EQ(readBack(store), "second");
  EXPECT_FALSE(store.value(kKey, "Other").isOk());
  EXPECT_FALSE(store.value({reg::kCurrentUser, kKey.path}, "Value").isOk());
  EXPECT_FALSE(store.value({reg::kLocalMachine, "Software\\Maker"}, "Value").isOk());
  EXPECT_FALSE(store.setValue({0x12345678, "Key"}, "1", "Value", RegistryValue{reg::kString, "x"}).isOk());

  dir.write("plain-file", "not a folder");
  SqliteSettingsStore blocked(dir / "plain-file/registry.sqlite");
  Status s = write(blocked, "x");
  ASSERT_FALSE(s.isOk());
  EXPECT_NE(s.error().message.find("plain-file/registry.sqlite"), std::string::npos) << s.error().message;
  EXPECT_FALSE(blocked.value(kKey, "Value").isOk());
}

// Made private when created, and made private again by every write when someone widened them.
TEST(SqliteSettingsStore, AWriteLeavesTheFilePrivateInAPrivateFolder) {
  ScratchDir dir;
  SqliteSettingsStore store(dir / "config/VarnikQuelo/registry.sqlite");
  ASSERT_TRUE(write(store, "x").isOk());
  EXPECT_EQ(modeOf(dir / "config"), 0700u);
  ASSERT_EQ(chmod((dir / "config/VarnikQuelo").c_str(), 0755), 0);
  ASSERT_EQ(chmod((dir / "config/VarnikQuelo/registry.sqlite").c_str(), 0644), 0);
  ASSERT_TRUE(write(store, "y").isOk());
  EXPECT_EQ(modeOf(dir / "config/VarnikQuelo"), 0700u);
  EXPECT_EQ(modeOf(dir / "config/VarnikQuelo/registry.sqlite"), 0600u);
  EXPECT_EQ(store.problem(), "");
}

// A symlink (dangling or not), a folder, a file of another user or a corrupt file at the path:
// nothing is followed, created or changed, reads and writes fail, and problem() names the file
// and the cause.
TEST(SqliteSettingsStore, RefusesWhatIsNotItsOwnDatabaseAndSaysWhy) {
  struct Case {
    const char* name;
    std::function<void(const ScratchDir&, const std::string&)> plant;
    const char* cause;
    std::optional<std::string> fileLeftAs;  // what stays at the path when it is a plain file
  } cases[] = {
      {"dangling symlink", [](const ScratchDir& d, const std::string& at) { ASSERT_EQ(symlink((d / "target").c_str(), at.c_str()), 0); },
       "refused: it is a symbolic link", std::nullopt},
      {"symlink to an empty file", [](const ScratchDir& d, const std::string& at) {
         d.write("target", "");
         ASSERT_EQ(symlink((d / "target").c_str(), at.c_str()), 0);
       }, "refused: it is a symbolic link", std::nullopt},
      {"folder", [](const ScratchDir&, const std::string& at) { (void)mkdir(at.c_str(), 0700); },
       "refused: it is not a regular file", std::nullopt},
      {"another user's file", [](const ScratchDir& d, const std::string& at) {
         d.write("registry.sqlite", "");
         ASSERT_EQ(geteuid() == 0 ? chown(at.c_str(), 65534, 65534) : 0, 0);
       }, "refused: it belongs to another user", ""},
      {"corrupt file", [](const ScratchDir& d, const std::string&) { d.write("registry.sqlite", std::string(4096, 'g')); },
       "file is not a database", std::string(4096, 'g')},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    if (std::string(c.name) == "another user's file" && geteuid() != 0) continue;  // only root can give a file away
    ScratchDir dir;
    const std::string file = dir / "registry.sqlite";
    c.plant(dir, file);
    SqliteSettingsStore reader(file), writer(file);
    auto read = reader.value(kKey, "Value");
    ASSERT_FALSE(read.isOk());
    EXPECT_NE(read.error().number, err::kFileNotFound);
    EXPECT_FALSE(write(writer, "x").isOk());
    for (const SqliteSettingsStore* store : {&reader, &writer}) {
      EXPECT_EQ(store->problem().rfind("Settings store '" + file + "': ", 0), 0u) << store->problem();
      EXPECT_NE(store->problem().find(c.cause), std::string::npos) << store->problem();
    }
    EXPECT_EQ(modeOf(dir / "target") != 0, std::string(c.name) == "symlink to an empty file");
    EXPECT_EQ(modeOf(dir / "target") ? dir.read("target") : "", "");
    EXPECT_EQ(c.fileLeftAs ? dir.read("registry.sqlite") : "", c.fileLeftAs.value_or(""));
  }
}

TEST(SqliteSettingsStore, AFailureBetweenStatementsLeavesTheOldValue) {
  ScratchDir dir;
  std::optional<std::string> failAt;
  SqliteSettingsStore store(dir / "registry.sqlite", [&](std::string_view step) -> Status {
    if (failAt && step == *failAt) return makeError(err::kIoError, "injected");
    return Status::ok();
  });
  for (const char* step : {"key", "value"}) {
    failAt = step;
    EXPECT_FALSE(write(store, "first").isOk()) << step;
    EXPECT_FALSE(store.value(kKey, "Value").isOk()) << "a failed first write leaves no key, at " << step;
  }
  failAt.reset();
  ASSERT_TRUE(write(store, "old record").isOk());
  for (const char* step : {"key", "value"}) {
    failAt = step;
    EXPECT_FALSE(write(store, "new record").isOk());
    EXPECT_EQ(readBack(store), "old record") << step;
  }
}

TEST(SqliteSettingsStore, AWriterKilledMidWayLeavesTheOldRecordWhole) {
  ScratchDir dir;
  const std::string file = dir / "registry.sqlite";
  const std::string oldRecord = "old" + std::string(3000, 'o');
  SqliteSettingsStore store(file);
  ASSERT_TRUE(write(store, oldRecord).isOk());
  // The writer dies after its value is written, before the commit: the journal stays behind.
  const int end = ended(started([&] {
    SqliteSettingsStore dying(file, [](std::string_view step) -> Status {
      if (step == "value") raise(SIGKILL);
      return Status::ok();
    });
    (void)write(dying, "new" + std::string(3000, 'n'));
  }));
  ASSERT_EQ(end, -SIGKILL);
  EXPECT_NE(modeOf(file + "-journal"), 0u) << "the crash left a hot journal";
  EXPECT_EQ(readBack(store), oldRecord);
  ASSERT_TRUE(write(store, "after").isOk());
  EXPECT_EQ(readBack(store), "after");
}

TEST(SqliteSettingsStore, TwoProcessesWritingAtOnceBothSucceed) {
  ScratchDir dir;
  const std::string file = dir / "registry.sqlite";
  constexpr int kWrites = 25;
  auto writer = [&](char mark) {
    return [=] {
      SqliteSettingsStore own(file);
      for (int i = 0; i < kWrites; ++i)
        if (!write(own, std::string(2000, mark) + std::to_string(i)).isOk()) _exit(1);
    };
  };
  const pid_t a = started(writer('a')), b = started(writer('b'));
  EXPECT_EQ(ended(a), 0);
  EXPECT_EQ(ended(b), 0);

  SqliteSettingsStore store(file);
  const std::string last = readBack(store);
  const std::string tail = std::to_string(kWrites - 1);
  EXPECT_TRUE(last == std::string(2000, 'a') + tail || last == std::string(2000, 'b') + tail) << last.substr(0, 20);

  EXPECT_EQ(sqlRows(file, "PRAGMA integrity_check"), (std::vector<std::vector<std::string>>{{"ok"}}));
}

TEST(SqliteSettingsStore, DefaultFileFollowsXdgConfigHome) {
  testing::ScopedEnv env;
  env.set("HOME", "/home/someone").set("XDG_CONFIG_HOME", "/tmp/cfg");
  EXPECT_EQ(SqliteSettingsStore::defaultFile(), "/tmp/cfg/VarnikQuelo/registry.sqlite");
  env.set("XDG_CONFIG_HOME", "relative/cfg");
  EXPECT_EQ(SqliteSettingsStore::defaultFile(), "/home/someone/.config/VarnikQuelo/registry.sqlite");
  env.unset("XDG_CONFIG_HOME");
  EXPECT_EQ(SqliteSettingsStore::defaultFile(), "/home/someone/.config/VarnikQuelo/registry.sqlite");
}

}  // namespace
}  // namespace quelo
