// The SQLite-backed settings registry. One connection per call: settings are read and written
// rarely, and a short-lived connection holds no lock between calls.
#include "platform/posix/sqlite_settings_store.h"

#include <fcntl.h>
#include <pwd.h>
#include <sqlite3.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <memory>

namespace quelo {
namespace {

constexpr int kBusyTimeoutMs = 10000;

constexpr const char* kSchema = R"(
CREATE TABLE IF NOT EXISTS reg_keys(
  id INTEGER PRIMARY KEY,
  root TEXT NOT NULL,
  path TEXT NOT NULL COLLATE NOCASE,
  class TEXT NOT NULL,
  UNIQUE(root, path));
CREATE TABLE IF NOT EXISTS reg_values(
  key_id INTEGER NOT NULL REFERENCES reg_keys(id),
  name TEXT NOT NULL COLLATE NOCASE,
  type INTEGER NOT NULL,
  data TEXT NOT NULL,
  PRIMARY KEY(key_id, name));
)";

constexpr const char* kInsertKey =
    "INSERT INTO reg_keys(root, path, class) VALUES(?1, ?2, ?3) ON CONFLICT(root, path) DO NOTHING";
constexpr const char* kUpsertValue =
    "INSERT INTO reg_values(key_id, name, type, data) SELECT id, ?3, ?4, ?5 FROM reg_keys"
    " WHERE root = ?1 AND path = ?2"
    " ON CONFLICT(key_id, name) DO UPDATE SET type = excluded.type, data = excluded.data";
constexpr const char* kSelectValue =
    "SELECT v.type, v.data FROM reg_values v JOIN reg_keys k ON k.id = v.key_id"
    " WHERE k.root = ?1 AND k.path = ?2 AND v.name = ?3";

struct DbCloser {
  void operator()(sqlite3* db) const { sqlite3_close_v2(db); }
};
struct StmtFinalizer {
  void operator()(sqlite3_stmt* s) const { sqlite3_finalize(s); }
};
using Db = std::unique_ptr<sqlite3, DbCloser>;
using Stmt = std::unique_ptr<sqlite3_stmt, StmtFinalizer>;

Error storeError(const std::string& file, const std::string& what) {
  return makeError(err::kIoError, "Settings store '" + file + "': " + what);
}

Error dbError(sqlite3* db, const std::string& file) { return storeError(file, sqlite3_errmsg(db)); }

// Every missing folder above the file, made private to the user; the file's own folder is made
// private too when it is the user's and is not yet (a shared sticky folder such as /tmp is left
// as it is).
Status makeParentFolders(const std::string& file) {
  for (size_t slash = file.find('/', 1); slash != std::string::npos; slash = file.find('/', slash + 1)) {
    const std::string folder = file.substr(0, slash);
    if (::mkdir(folder.c_str(), 0700) != 0 && errno != EEXIST)
      return storeError(file, "cannot create folder '" + folder + "': " + std::strerror(errno));
  }
  const size_t slash = file.rfind('/');
  if (slash == std::string::npos || slash == 0) return Status::ok();
  const std::string folder = file.substr(0, slash);
  struct stat st {};
  if (::stat(folder.c_str(), &st) == 0 && st.st_uid == ::geteuid() && (st.st_mode & 07777) != 0700 &&
      (st.st_mode & S_ISVTX) == 0 &&
      ::chmod(folder.c_str(), 0700) != 0)
    return storeError(file, "cannot make folder '" + folder + "' private: " + std::strerror(errno));
  return Status::ok();
}

// What is at the store's path must be a plain file of the user's own: a symlink could lead the
// store anywhere, and a file of another user is not ours to read or change.
Status checkOwnFile(const struct stat& st, const std::string& file) {
  if (S_ISLNK(st.st_mode)) return storeError(file, "refused: it is a symbolic link");
  if (!S_ISREG(st.st_mode)) return storeError(file, "refused: it is not a regular file");
  if (st.st_uid != ::geteuid()) return storeError(file, "refused: it belongs to another user");
  return Status::ok();
}

// Creates the file with mode 0600 before SQLite opens it, so it never exists with wider rights;
// an existing file of the user's is narrowed to 0600. A symlink in its place is never followed.
Status createPrivateFile(const std::string& file) {
  const int fd = ::open(file.c_str(), O_RDWR | O_CREAT | O_NOFOLLOW | O_CLOEXEC, 0600);
  if (fd < 0 && errno == ELOOP) return storeError(file, "refused: it is a symbolic link");
  if (fd < 0 && errno == EISDIR) return storeError(file, "refused: it is not a regular file");
  if (fd < 0) return storeError(file, std::string("cannot create: ") + std::strerror(errno));
  struct stat st {};
  Status s = ::fstat(fd, &st) == 0 ? checkOwnFile(st, file) : storeError(file, std::strerror(errno));
  if (s && (st.st_mode & 0777) != 0600 && ::fchmod(fd, 0600) != 0)
    s = storeError(file, std::string("cannot make it private: ") + std::strerror(errno));
  ::close(fd);
  return s;
}

Result<Db> openDb(const std::string& file, int flags) {
  sqlite3* raw = nullptr;
  const int rc = sqlite3_open_v2(file.c_str(), &raw, flags | SQLITE_OPEN_NOFOLLOW, nullptr);
  Db db(raw);
  if (rc != SQLITE_OK) return raw ? dbError(raw, file) : storeError(file, sqlite3_errstr(rc));
  sqlite3_busy_timeout(raw, kBusyTimeoutMs);
  return db;
}

Status exec(sqlite3* db, const char* sql, const std::string& file) {
  if (sqlite3_exec(db, sql, nullptr, nullptr, nullptr) != SQLITE_OK) return dbError(db, file);
  return Status::ok();
}

void bindText(sqlite3_stmt* s, int index, std::string_view text) {
  sqlite3_bind_text(s, index, text.data(), static_cast<int>(text.size()), SQLITE_TRANSIENT);
}

// A statement bound to the key's root and path as ?1 and ?2.
Result<Stmt> prepareForKey(sqlite3* db, const char* sql, const RegistryKey& key, const std::string& file) {
  sqlite3_stmt* raw = nullptr;
  if (sqlite3_prepare_v2(db, sql, -1, &raw, nullptr) != SQLITE_OK) return dbError(db, file);
  Stmt stmt(raw);
  bindText(raw, 1, registryRootName(key.root));
  bindText(raw, 2, key.path);
  return stmt;
}

Status runToEnd(sqlite3* db, sqlite3_stmt* s, const std::string& file) {
  if (sqlite3_step(s) != SQLITE_DONE) return dbError(db, file);
  return Status::ok();
}

std::string homeFolder() {
  if (const char* home = std::getenv("HOME"); home && *home) return home;
  const passwd* pw = getpwuid(getuid());
  return pw && pw->pw_dir ? pw->pw_dir : "";
}

}  // namespace

SqliteSettingsStore::SqliteSettingsStore(std::string file, StepHook hook) : file_(std::move(file)), hook_(std::move(hook)) {}

std::string SqliteSettingsStore::defaultFile() {
  const char* xdg = std::getenv("XDG_CONFIG_HOME");
  const std::string base = xdg && xdg[0] == '/' ? std::string(xdg) : homeFolder() + "/.config";
  return base + "/VarnikQuelo/registry.sqlite";
}

Status SqliteSettingsStore::setValue(const RegistryKey& key, std::string_view keyClass, std::string_view name,
                                     const RegistryValue& value) {
  if (registryRootName(key.root).empty()) return makeError(err::kInvalidProcedureCall, "Unknown registry root");
  Status s = write(key, keyClass, name, value);
  if (!s && problem_.empty()) problem_ = s.error().message;
  return s;
}

Status SqliteSettingsStore::write(const RegistryKey& key, std::string_view keyClass, std::string_view name,
                                  const RegistryValue& value) {
  if (Status s = makeParentFolders(file_); !s) return s;
  if (Status s = createPrivateFile(file_); !s) return s;
  auto db = openDb(file_, SQLITE_OPEN_READWRITE);
  if (!db) return db.error();
  sqlite3* h = db.value().get();
  if (Status s = exec(h, "BEGIN IMMEDIATE", file_); !s) return s;
  auto steps = [&]() -> Status {
    if (Status s = exec(h, kSchema, file_); !s) return s;
    auto insertKey = prepareForKey(h, kInsertKey, key, file_);
    if (!insertKey) return insertKey.error();
    bindText(insertKey.value().get(), 3, keyClass);
    if (Status s = runToEnd(h, insertKey.value().get(), file_); !s) return s;
    if (hook_)
      if (Status s = hook_("key"); !s) return s;
    auto upsert = prepareForKey(h, kUpsertValue, key, file_);
    if (!upsert) return upsert.error();
    sqlite3_stmt* u = upsert.value().get();
    bindText(u, 3, name);
    sqlite3_bind_int64(u, 4, value.type);
    bindText(u, 5, value.data);
    if (Status s = runToEnd(h, u, file_); !s) return s;
    if (hook_)
      if (Status s = hook_("value"); !s) return s;
    return exec(h, "COMMIT", file_);
  };
  Status s = steps();
  if (!s) (void)sqlite3_exec(h, "ROLLBACK", nullptr, nullptr, nullptr);
  return s;
}

Result<RegistryValue> SqliteSettingsStore::value(const RegistryKey& key, std::string_view name) {
  auto found = read(key, name);
  if (!found && found.error().number != err::kFileNotFound && problem_.empty()) problem_ = found.error().message;
  return found;
}

Result<RegistryValue> SqliteSettingsStore::read(const RegistryKey& key, std::string_view name) {
  struct stat st {};
  if (::lstat(file_.c_str(), &st) != 0) {
    if (errno == ENOENT) return makeError(err::kFileNotFound, "No settings stored yet");
    return storeError(file_, std::strerror(errno));
  }
  if (Status s = checkOwnFile(st, file_); !s) return s.error();
  if (st.st_size == 0) return makeError(err::kFileNotFound, "No settings stored yet");
  // Read-write when possible, so that a write cut short by a crash is rolled back first.
  auto db = openDb(file_, SQLITE_OPEN_READWRITE);
  if (!db) db = openDb(file_, SQLITE_OPEN_READONLY);
  if (!db) return db.error();
  sqlite3* h = db.value().get();
  auto select = prepareForKey(h, kSelectValue, key, file_);
  if (!select) return select.error();
  sqlite3_stmt* s = select.value().get();
  bindText(s, 3, name);
  const int rc = sqlite3_step(s);
  if (rc == SQLITE_DONE) return makeError(err::kFileNotFound, "No such setting");
  if (rc != SQLITE_ROW) return dbError(h, file_);
  const auto* data = reinterpret_cast<const char*>(sqlite3_column_text(s, 1));
  return RegistryValue{static_cast<uint32_t>(sqlite3_column_int64(s, 0)),
                       std::string(data ? data : "", static_cast<size_t>(sqlite3_column_bytes(s, 1)))};
}

}  // namespace quelo
