#include "config/registry.h"

#include <sqlite3.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cctype>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "platform/platform.h"

namespace vortan {

namespace {

// Marks a database as a Vortan store, so that a foreign SQLite file at the store's path is
// never mistaken for one and filled with our tables.
constexpr int ApplicationId = 0x56524547;  // "VREG"
constexpr int SchemaVersion = 1;
constexpr int BusyTimeoutMs = 5000;

constexpr const char* SchemaSql =
    "CREATE TABLE IF NOT EXISTS keys("
    "  id INTEGER PRIMARY KEY,"
    "  parent INTEGER REFERENCES keys(id) ON DELETE CASCADE,"
    "  name TEXT NOT NULL COLLATE NOCASE,"
    "  UNIQUE(parent, name));"
    "CREATE TABLE IF NOT EXISTS vals("
    "  id INTEGER PRIMARY KEY,"
    "  key INTEGER NOT NULL REFERENCES keys(id) ON DELETE CASCADE,"
    "  name TEXT NOT NULL COLLATE NOCASE,"
    "  type INTEGER NOT NULL CHECK(type BETWEEN 1 AND 4),"
    "  data BLOB NOT NULL,"
    "  UNIQUE(key, name));";

// Row ids grow past every existing row, so ordering by id is creation order.
constexpr const char* StatementSql[] = {
    "SELECT id FROM keys WHERE parent = ?1 AND name = ?2",
    "INSERT INTO keys(parent, name) VALUES(?1, ?2)",
    "DELETE FROM keys WHERE id = ?1",
    "SELECT 1 FROM keys WHERE parent = ?1 LIMIT 1",
    "SELECT name FROM keys WHERE parent = ?1 ORDER BY id",
    "SELECT type, data, name FROM vals WHERE key = ?1 AND name = ?2",
    "SELECT type FROM vals WHERE key = ?1 AND name = ?2",
    "INSERT INTO vals(key, name, type, data) VALUES(?1, ?2, ?3, ?4)",
    "UPDATE vals SET data = ?3 WHERE key = ?1 AND name = ?2",
    "DELETE FROM vals WHERE key = ?1 AND name = ?2",
    "DELETE FROM vals WHERE key = ?1",
    "SELECT name, type, data FROM vals WHERE key = ?1 ORDER BY id",
    "BEGIN",
    "BEGIN IMMEDIATE",
    "COMMIT",
    "ROLLBACK",
};

// Resets a cached statement when the scope that used it ends.
class TStmtUse {
 public:
  explicit TStmtUse(sqlite3_stmt* st) : st_(st) {}
  ~TStmtUse() {
    if (st_) sqlite3_reset(st_);
  }
  TStmtUse(const TStmtUse&) = delete;
  TStmtUse& operator=(const TStmtUse&) = delete;
  sqlite3_stmt* operator*() const { return st_; }
  explicit operator bool() const { return st_ != nullptr; }

 private:
  sqlite3_stmt* st_;
};

void BindText(sqlite3_stmt* st, int i, const std::string& s) {
  sqlite3_bind_text(st, i, s.data(), static_cast<int>(s.size()), SQLITE_STATIC);
}

void BindBlob(sqlite3_stmt* st, int i, const std::string& s) {
  // data() of an empty string is not null, so this binds an empty blob rather than NULL.
  sqlite3_bind_blob(st, i, s.data(), static_cast<int>(s.size()), SQLITE_STATIC);
}

std::string ColumnBytes(sqlite3_stmt* st, int i) {
  const void* p = sqlite3_column_blob(st, i);
  int n = sqlite3_column_bytes(st, i);
  return p && n > 0 ? std::string(static_cast<const char*>(p), static_cast<size_t>(n))
                    : std::string();
}

bool ValidType(TRegType t) {
  return t == TRegType::Sz || t == TRegType::ExpandSz || t == TRegType::Binary ||
         t == TRegType::Dword;
}

bool IsDirectory(const std::string& path) {
  struct stat st;
  return ::stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

bool IsRegularFile(const std::string& path) {
  struct stat st;
  return ::stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode);
}

// SQLite checkpoints and deletes the write-ahead files when a connection that closes can take
// an exclusive record lock, which it also can when another program's locks were lost: that
// program would go on writing to deleted files. The store checkpoints under its own lock.
void KeepWalOnClose(sqlite3* db) {
  sqlite3_db_config(db, SQLITE_DBCONFIG_NO_CKPT_ON_CLOSE, 1, nullptr);
}

// A store file the user may not write (its mode bits, another owner, a read-only mount) is
// read, never changed and never taken for damaged.
bool WriteProtected(const std::string& path) {
  struct stat st;
  return ::stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode) &&
         platform::FileWriteDenied(path) != 0;
}

// A journal beside a store file that is missing or empty belongs to a store that is gone
// (deleted while a killed program had it open): SQLite would replay it into the new store.
void RemoveOrphanJournals(const std::string& path) {
  struct stat st;
  if (::stat(path.c_str(), &st) == 0 && (!S_ISREG(st.st_mode) || st.st_size > 0)) return;
  for (const char* suffix : {"-wal", "-shm", "-journal"}) ::unlink((path + suffix).c_str());
}

// "file:" URI of a path, for the open flags only a URI can carry.
std::string FileUri(const std::string& path, const char* query) {
  static const char Hex[] = "0123456789ABCDEF";
  std::string uri = "file:";
  for (unsigned char c : path) {
    if (std::isalnum(c) || c == '/' || c == '-' || c == '_' || c == '.' || c == '~') {
      uri += static_cast<char>(c);
    } else {
      uri += '%';
      uri += Hex[c >> 4];
      uri += Hex[c & 15];
    }
  }
  return uri + "?" + query;
}

// SQLite would take over a journal lying next to a file that is no database at all, so such
// a file is refused before SQLite sees it. Missing and empty files are fine.
bool HasDatabaseHeader(const std::string& path) {
  struct stat st;
  if (::stat(path.c_str(), &st) != 0 || !S_ISREG(st.st_mode) || st.st_size == 0) return true;
  static const char Magic[] = "SQLite format 3";  // with its terminator: 16 bytes
  char head[sizeof Magic] = {};
  std::FILE* f = std::fopen(path.c_str(), "rb");
  if (!f) return true;  // unreadable: SQLite reports that
  size_t n = std::fread(head, 1, sizeof head, f);
  std::fclose(f);
  return n == sizeof head && std::memcmp(head, Magic, sizeof Magic) == 0;
}

TRegOpenFailure Classify(int rc, const std::string& path) {
  switch (rc & 0xff) {
    case SQLITE_NOTADB:
    case SQLITE_CORRUPT:
    case SQLITE_SCHEMA:
    case SQLITE_ERROR:  // a statement of ours failed to prepare: foreign tables
      return TRegOpenFailure::Unusable;
    case SQLITE_CANTOPEN:
      // A folder can never be a store; a file that cannot be opened is not damaged.
      return IsDirectory(path) ? TRegOpenFailure::Unusable : TRegOpenFailure::Transient;
    default:  // also read-only and permission failures: the settings in it are fine
      return TRegOpenFailure::Transient;
  }
}

// Runs the statements of opening a store and turns a failure into the open error.
class TOpenSql {
 public:
  TOpenSql(sqlite3* db, const std::string& path, std::string& error, TRegOpenFailure& failure,
           int busyTimeoutMs)
      : db_(db), path_(path), error_(error), failure_(failure) {
    sqlite3_extended_result_codes(db_, 1);
    // Under the store's lock only a program outside it (an earlier version, a database tool)
    // can keep SQLite's own locks.
    sqlite3_busy_timeout(db_, busyTimeoutMs);
  }

  bool Fail(int rc, const std::string& what) {
    error_ = path_ + ": " + what;
    failure_ = Classify(rc, path_);
    return false;
  }

  bool Run(const char* sql) {
    char* msg = nullptr;
    const int rc = sqlite3_exec(db_, sql, nullptr, nullptr, &msg);
    if (rc == SQLITE_OK) return true;
    const std::string what = msg ? msg : sqlite3_errstr(rc);
    sqlite3_free(msg);
    return Fail(rc, what);
  }

  /// The first column of the first row; empty when there is no row.
  bool Single(const char* sql, std::string& out) {
    sqlite3_stmt* st = nullptr;
    int rc = sqlite3_prepare_v2(db_, sql, -1, &st, nullptr);
    if (rc == SQLITE_OK) {
      rc = sqlite3_step(st);
      if (rc == SQLITE_ROW) {
        const unsigned char* t = sqlite3_column_text(st, 0);
        out = t ? reinterpret_cast<const char*>(t) : "";
        rc = SQLITE_OK;
      } else if (rc == SQLITE_DONE) {
        out.clear();
        rc = SQLITE_OK;
      }
    }
    const std::string what = rc == SQLITE_OK ? std::string() : sqlite3_errmsg(db_);
    sqlite3_finalize(st);
    return rc == SQLITE_OK || Fail(rc, what);
  }

 private:
  sqlite3* db_;
  const std::string& path_;
  std::string& error_;
  TRegOpenFailure& failure_;
};

}  // namespace

std::string StoreLockPath(const std::string& path) { return path + "-lock"; }

std::vector<std::string> SplitKeyPath(const std::string& path) {
  std::vector<std::string> parts;
  size_t start = 0;
  while (start <= path.size()) {
    size_t end = path.find('\\', start);
    if (end == std::string::npos) end = path.size();
    if (end > start) parts.emplace_back(path, start, end - start);
    start = end + 1;
  }
  return parts;
}

// ---------------------------------------------------------------------------------------

TRegistry::TScopedTransaction::TScopedTransaction(TRegistry& reg, bool write) : reg_(reg) {
  active_ = reg_.BeginScope(write);
}

TRegistry::TScopedTransaction::~TScopedTransaction() { Finish(); }

bool TRegistry::TScopedTransaction::Finish() {
  if (!active_) return false;
  active_ = false;
  return reg_.EndScope();
}

// ---------------------------------------------------------------------------------------

TRegistry::TRegistry() : busyTimeoutMs_(BusyTimeoutMs) {}

TRegistry::~TRegistry() { Close(); }

bool TRegistry::Open(const std::string& path, std::string& error) {
  Close();
  openFailure_ = TRegOpenFailure::None;
  error.clear();
  if (!HasDatabaseHeader(path)) {
    error = path + ": not a database";
    openFailure_ = TRegOpenFailure::Unusable;
    return false;
  }
  if (WriteProtected(path)) return OpenReadOnly(path, error);
  if (const int err = lock_.Open(StoreLockPath(path), true)) {
    // A folder the user may not write: the store in it can be read, never changed.
    if ((err == EACCES || err == EPERM || err == EROFS) && IsRegularFile(path))
      return OpenReadOnly(path, error);
    error = StoreLockPath(path) + ": " + std::strerror(err);
    openFailure_ = TRegOpenFailure::Transient;
    return false;
  }
  if (!lock_.Lock(busyTimeoutMs_)) {
    error = path + ": " + sqlite3_errstr(SQLITE_BUSY);
    openFailure_ = TRegOpenFailure::Transient;
    Close();
    return false;
  }
  bool readOnly = false;
  const bool ok = OpenLocked(path, error, readOnly);
  lock_.Unlock();
  if (readOnly) return OpenReadOnly(path, error);
  if (!ok) Close();
  return ok;
}

bool TRegistry::OpenLocked(const std::string& path, std::string& error, bool& readOnly) {
  RemoveOrphanJournals(path);
  int rc = sqlite3_open_v2(path.c_str(), &db_, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, nullptr);
  if (db_) KeepWalOnClose(db_);
  if (rc == SQLITE_OK && Verify(path, error)) {
    // The system may still refuse writes where the mode bits allow them.
    readOnly = sqlite3_db_readonly(db_, "main") == 1;
    return readOnly || Prepare(path, error);
  }
  if (rc != SQLITE_OK) {
    error = path + ": " + (db_ ? sqlite3_errmsg(db_) : sqlite3_errstr(rc));
    openFailure_ = Classify(rc, path);
  }
  return false;
}

bool TRegistry::OpenReadOnly(const std::string& path, std::string& error) {
  Close();
  // The copy is taken while no writer is inside, wherever the lock file can be opened at all.
  if (lock_.Open(StoreLockPath(path), false) == 0 && !lock_.Lock(busyTimeoutMs_)) {
    error = path + ": " + sqlite3_errstr(SQLITE_BUSY);
    openFailure_ = TRegOpenFailure::Transient;
    Close();
    return false;
  }
  // Read without any lock or journal first; on a read-only mount a store left in WAL mode
  // can only be read as immutable.
  int rc = SQLITE_CANTOPEN;
  for (const char* query : {"mode=ro", "immutable=1"}) {
    if (db_) sqlite3_close_v2(db_);
    db_ = nullptr;
    rc = sqlite3_open_v2(FileUri(path, query).c_str(), &db_, SQLITE_OPEN_READONLY | SQLITE_OPEN_URI,
                         nullptr);
    if (db_) KeepWalOnClose(db_);
    if (rc == SQLITE_OK) {
      // Opening is lazy: the first read shows whether the file can be read this way.
      char* msg = nullptr;
      rc = sqlite3_exec(db_, "SELECT count(*) FROM sqlite_master", nullptr, nullptr, &msg);
      sqlite3_free(msg);
      if (rc == SQLITE_OK) break;
    }
  }
  if (rc != SQLITE_OK || !Verify(path, error)) {
    if (rc != SQLITE_OK) {
      error = path + ": " + (db_ ? sqlite3_errmsg(db_) : sqlite3_errstr(rc));
      openFailure_ = Classify(rc, path);
    }
    Close();
    return false;
  }
  // The run works on a copy in memory: settings read and changed during it behave as usual,
  // and nothing of it reaches the file.
  sqlite3* file = db_;
  db_ = nullptr;
  rc = sqlite3_open_v2(":memory:", &db_, SQLITE_OPEN_READWRITE, nullptr);
  sqlite3_backup* copy = rc == SQLITE_OK ? sqlite3_backup_init(db_, "main", file, "main") : nullptr;
  if (copy) {
    sqlite3_backup_step(copy, -1);
    rc = sqlite3_backup_finish(copy);
  } else if (rc == SQLITE_OK) {
    rc = sqlite3_errcode(db_);
  }
  sqlite3_close_v2(file);
  lock_.Close();
  if (rc != SQLITE_OK || !Prepare(path, error)) {
    if (rc != SQLITE_OK) {
      error = path + ": " + sqlite3_errstr(rc);
      openFailure_ = TRegOpenFailure::Transient;
    }
    Close();
    return false;
  }
  readOnly_ = true;
  return true;
}

bool TRegistry::Verify(const std::string& path, std::string& error) {
  TOpenSql sql(db_, path, error, openFailure_, busyTimeoutMs_);
  // Nothing may change the file before it is known to be ours.
  std::string objects, appId, version, check;
  if (!sql.Single("SELECT count(*) FROM sqlite_master", objects) ||
      !sql.Single("PRAGMA application_id", appId) || !sql.Single("PRAGMA user_version", version))
    return false;
  if (objects != "0" && appId != std::to_string(ApplicationId))
    return sql.Fail(SQLITE_NOTADB, "not a Vortan settings store");
  if (std::atoi(version.c_str()) > SchemaVersion) {
    // A later program's store is fine for that program: never move it aside.
    error = path + ": written by a newer version of the program";
    openFailure_ = TRegOpenFailure::Transient;
    return false;
  }
  // A damaged file must be found now, not in the middle of some later read.
  if (!sql.Single("PRAGMA quick_check(1)", check)) return false;
  if (check != "ok") return sql.Fail(SQLITE_CORRUPT, "damaged database (" + check + ")");
  return true;
}

bool TRegistry::Prepare(const std::string& path, std::string& error) {
  TOpenSql sql(db_, path, error, openFailure_, busyTimeoutMs_);
  std::string objects;
  if (!sql.Single("SELECT count(*) FROM sqlite_master", objects)) return false;
  std::string mode;
  if (!sql.Single("PRAGMA journal_mode=WAL", mode)) return false;
  if (!sql.Run("PRAGMA synchronous=NORMAL; PRAGMA foreign_keys=ON")) return false;
  if (objects == "0") {
    // Another process may be creating the schema at the same moment: the write lock
    // orders the two, and the second one finds everything in place.
    if (!sql.Run("BEGIN IMMEDIATE")) return false;
    const std::string ids = "PRAGMA application_id=" + std::to_string(ApplicationId) +
                            "; PRAGMA user_version=" + std::to_string(SchemaVersion);
    bool ok = sql.Run(SchemaSql) && sql.Run(ids.c_str()) &&
              sql.Run("INSERT OR IGNORE INTO keys(id, parent, name) VALUES(0, NULL, '')");
    if (!ok || !sql.Run("COMMIT")) {
      sqlite3_exec(db_, "ROLLBACK", nullptr, nullptr, nullptr);
      return false;
    }
  }

  static_assert(std::size(StatementSql) == sStmtCount);
  for (int i = 0; i < sStmtCount; ++i) {
    int rc = sqlite3_prepare_v3(db_, StatementSql[i], -1, SQLITE_PREPARE_PERSISTENT, &stmts_[i],
                                nullptr);
    if (rc != SQLITE_OK)
      return sql.Fail(rc, std::string("unexpected layout: ") + sqlite3_errmsg(db_));
  }
  return true;
}

void TRegistry::Close() {
  // Only a store that was opened in full is ours to change.
  const bool opened = stmts_.back() != nullptr;
  for (auto& st : stmts_) {
    sqlite3_finalize(st);
    st = nullptr;
  }
  // The log goes into the database file while no other program is inside; a program outside
  // the lock that is still reading only leaves the log as it is.
  if (opened && !readOnly_ && lock_.IsOpen() && lock_.Lock(busyTimeoutMs_)) {
    sqlite3_busy_timeout(db_, 0);
    sqlite3_wal_checkpoint_v2(db_, "main", SQLITE_CHECKPOINT_TRUNCATE, nullptr, nullptr);
  }
  if (db_) sqlite3_close_v2(db_);
  db_ = nullptr;
  lock_.Close();
  depth_ = 0;
  inTransaction_ = false;
  failed_ = false;
  readOnly_ = false;
}

sqlite3_stmt* TRegistry::Prepared(Stmt s) { return db_ ? stmts_[s] : nullptr; }

bool TRegistry::Step(sqlite3_stmt* st, int& rc) {
  // Nothing runs outside a transaction's lock.
  if (!inTransaction_) {
    rc = SQLITE_MISUSE;
    failed_ = true;
    return false;
  }
  rc = sqlite3_step(st);
  if (rc == SQLITE_ROW || rc == SQLITE_DONE) return true;
  failed_ = true;
  return false;
}

bool TRegistry::BeginScope(bool write) {
  if (!db_) return false;
  if (depth_ == 0) {
    failed_ = false;
    // Readers take the lock too: with another program's record locks gone, SQLite could let
    // a reader rebuild or checkpoint the shared index beside a writer. A copy in memory has
    // no other program to wait for.
    if (!readOnly_ && !lock_.Lock(busyTimeoutMs_)) return false;
    inTransaction_ = true;
    TStmtUse use(Prepared(write ? sBeginImmediate : sBegin));
    int rc;
    if (!Step(*use, rc)) {
      EndTransaction();
      failed_ = false;
      return false;
    }
  }
  ++depth_;
  return true;
}

void TRegistry::EndTransaction() {
  inTransaction_ = false;
  lock_.Unlock();
}

bool TRegistry::EndScope() {
  if (depth_ <= 0 || !db_) return false;
  if (--depth_ > 0) return !failed_;
  bool ok = !failed_;
  int rc;
  if (ok) {
    TStmtUse use(Prepared(sCommit));
    ok = Step(*use, rc);
  }
  if (!ok) {
    TStmtUse use(Prepared(sRollback));
    Step(*use, rc);
  }
  EndTransaction();
  failed_ = false;
  return ok;
}

std::optional<TRegistry::TKeyId> TRegistry::FindChild(TKeyId parent, const std::string& name) {
  TStmtUse st(Prepared(sFindKey));
  if (!st) return std::nullopt;
  sqlite3_bind_int64(*st, 1, parent);
  BindText(*st, 2, name);
  int rc;
  if (Step(*st, rc) && rc == SQLITE_ROW) return sqlite3_column_int64(*st, 0);
  return std::nullopt;
}

std::optional<TRegistry::TKeyId> TRegistry::OpenKey(const std::string& path, bool create) {
  TScopedTransaction tx(*this, create);
  if (!tx.Active()) return std::nullopt;
  TKeyId cur = HiveKey;
  for (const std::string& part : SplitKeyPath(path)) {
    if (auto child = FindChild(cur, part)) {
      cur = *child;
      continue;
    }
    if (!create || failed_) return std::nullopt;
    TStmtUse st(Prepared(sInsertKey));
    sqlite3_bind_int64(*st, 1, cur);
    BindText(*st, 2, part);
    int rc;
    if (!Step(*st, rc)) return std::nullopt;
    cur = sqlite3_last_insert_rowid(db_);
  }
  if (!tx.Finish()) return std::nullopt;
  return cur;
}

bool TRegistry::KeyExists(const std::string& path) {
  TScopedTransaction tx(*this, false);
  bool found = tx.Active() && OpenKey(path, false).has_value();
  return tx.Finish() && found;
}

bool TRegistry::CreateKey(const std::string& path) {
  TScopedTransaction tx(*this);
  bool ok = tx.Active() && OpenKey(path, true).has_value();
  return tx.Finish() && ok;
}

bool TRegistry::DeleteKeyTree(const std::string& path) {
  TScopedTransaction tx(*this);
  if (!tx.Active()) return false;
  auto key = OpenKey(path, false);
  bool ok = key && DeleteKeyTree(*key);
  return tx.Finish() && ok;
}

bool TRegistry::DeleteKeyTree(TKeyId key) {
  if (key == HiveKey) return false;
  TStmtUse st(Prepared(sDeleteKey));
  if (!st) return false;
  sqlite3_bind_int64(*st, 1, key);
  int rc;
  return Step(*st, rc) && sqlite3_changes(db_) > 0;
}

bool TRegistry::HasSubkeys(const std::string& path) {
  TScopedTransaction tx(*this, false);
  if (!tx.Active()) return false;
  auto key = OpenKey(path, false);
  bool any = false;
  if (key) {
    TStmtUse st(Prepared(sHasSubkeys));
    sqlite3_bind_int64(*st, 1, *key);
    int rc;
    any = Step(*st, rc) && rc == SQLITE_ROW;
  }
  return tx.Finish() && any;
}

std::vector<std::string> TRegistry::SubkeyNames(const std::string& path) {
  std::vector<std::string> names;
  TScopedTransaction tx(*this, false);
  if (!tx.Active()) return names;
  if (auto key = OpenKey(path, false)) {
    TStmtUse st(Prepared(sSubkeys));
    sqlite3_bind_int64(*st, 1, *key);
    int rc;
    while (Step(*st, rc) && rc == SQLITE_ROW) names.push_back(ColumnBytes(*st, 0));
  }
  if (!tx.Finish()) names.clear();
  return names;
}

TRegType TRegistry::ValueType(const std::string& path, const std::string& name) {
  TScopedTransaction tx(*this, false);
  if (!tx.Active()) return TRegType::None;
  TRegType type = TRegType::None;
  if (auto key = OpenKey(path, false)) {
    TStmtUse st(Prepared(sValueType));
    sqlite3_bind_int64(*st, 1, *key);
    BindText(*st, 2, name);
    int rc;
    if (Step(*st, rc) && rc == SQLITE_ROW) type = static_cast<TRegType>(sqlite3_column_int(*st, 0));
  }
  return tx.Finish() ? type : TRegType::None;
}

std::optional<TRegValue> TRegistry::ReadValue(const std::string& path, const std::string& name) {
  TScopedTransaction tx(*this, false);
  if (!tx.Active()) return std::nullopt;
  std::optional<TRegValue> v;
  if (auto key = OpenKey(path, false)) v = ReadValue(*key, name);
  if (!tx.Finish()) return std::nullopt;
  return v;
}

std::optional<TRegValue> TRegistry::ReadValue(TKeyId key, const std::string& name) {
  TStmtUse st(Prepared(sReadValue));
  if (!st) return std::nullopt;
  sqlite3_bind_int64(*st, 1, key);
  BindText(*st, 2, name);
  int rc;
  if (!Step(*st, rc) || rc != SQLITE_ROW) return std::nullopt;
  TRegValue v;
  v.Name = ColumnBytes(*st, 2);  // as created, whatever case the caller used
  v.Type = static_cast<TRegType>(sqlite3_column_int(*st, 0));
  v.Data = ColumnBytes(*st, 1);
  return v;
}

bool TRegistry::WriteValue(const std::string& path, const std::string& name, TRegType type,
                           const std::string& data) {
  TScopedTransaction tx(*this);
  if (!tx.Active()) return false;
  auto key = OpenKey(path, true);
  bool ok = key && WriteValue(*key, name, type, data);
  return tx.Finish() && ok;
}

bool TRegistry::WriteValue(TKeyId key, const std::string& name, TRegType type,
                           const std::string& data) {
  if (!ValidType(type) || (type == TRegType::Dword && data.size() != 4)) return false;
  if (!db_) return false;
  TRegType old = TRegType::None;
  {
    TStmtUse st(Prepared(sValueType));
    sqlite3_bind_int64(*st, 1, key);
    BindText(*st, 2, name);
    int rc;
    if (!Step(*st, rc)) return false;
    if (rc == SQLITE_ROW) old = static_cast<TRegType>(sqlite3_column_int(*st, 0));
  }
  int rc;
  if (old == type) {
    TStmtUse st(Prepared(sUpdateValue));
    sqlite3_bind_int64(*st, 1, key);
    BindText(*st, 2, name);
    BindBlob(*st, 3, data);
    return Step(*st, rc);
  }
  if (old != TRegType::None && !DeleteValue(key, name)) return false;
  TStmtUse st(Prepared(sInsertValue));
  sqlite3_bind_int64(*st, 1, key);
  BindText(*st, 2, name);
  sqlite3_bind_int(*st, 3, static_cast<int>(type));
  BindBlob(*st, 4, data);
  return Step(*st, rc);
}

bool TRegistry::WriteDword(const std::string& path, const std::string& name, uint32_t v) {
  std::string data(4, '\0');
  for (int i = 0; i < 4; ++i) data[i] = static_cast<char>((v >> (8 * i)) & 0xff);
  return WriteValue(path, name, TRegType::Dword, data);
}

bool TRegistry::WriteString(const std::string& path, const std::string& name, const std::string& v,
                            TRegType type) {
  if (type != TRegType::Sz && type != TRegType::ExpandSz) return false;
  return WriteValue(path, name, type, v);
}

bool TRegistry::DeleteValue(const std::string& path, const std::string& name) {
  TScopedTransaction tx(*this);
  if (!tx.Active()) return false;
  auto key = OpenKey(path, false);
  bool ok = key && DeleteValue(*key, name);
  return tx.Finish() && ok;
}

bool TRegistry::DeleteValue(TKeyId key, const std::string& name) {
  TStmtUse st(Prepared(sDeleteValue));
  if (!st) return false;
  sqlite3_bind_int64(*st, 1, key);
  BindText(*st, 2, name);
  int rc;
  return Step(*st, rc) && sqlite3_changes(db_) > 0;
}

bool TRegistry::DeleteValues(TKeyId key) {
  TStmtUse st(Prepared(sDeleteValues));
  if (!st) return false;
  sqlite3_bind_int64(*st, 1, key);
  int rc;
  return Step(*st, rc);
}

std::vector<TRegValue> TRegistry::Values(const std::string& path) {
  std::vector<TRegValue> vals;
  TScopedTransaction tx(*this, false);
  if (!tx.Active()) return vals;
  if (auto key = OpenKey(path, false)) vals = Values(*key);
  if (!tx.Finish()) vals.clear();
  return vals;
}

std::vector<TRegValue> TRegistry::Values(TKeyId key) {
  std::vector<TRegValue> vals;
  TStmtUse st(Prepared(sValues));
  if (!st) return vals;
  sqlite3_bind_int64(*st, 1, key);
  int rc;
  while (Step(*st, rc) && rc == SQLITE_ROW) {
    TRegValue v;
    v.Name = ColumnBytes(*st, 0);
    v.Type = static_cast<TRegType>(sqlite3_column_int(*st, 1));
    v.Data = ColumnBytes(*st, 2);
    vals.push_back(std::move(v));
  }
  return vals;
}

}  // namespace vortan
