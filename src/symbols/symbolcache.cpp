#include "symbols/symbolcache.h"

#include <sqlite3.h>

#include <filesystem>
#include <system_error>

namespace vortan {
namespace {

namespace fs = std::filesystem;

constexpr char kMagic[4] = {'V', 'S', 'Y', static_cast<char>(TSymbolCache::kSchemaVersion)};

std::uint32_t Checksum(const char* p, std::size_t n) {
  std::uint32_t h = 2166136261u;  // FNV-1a
  for (std::size_t i = 0; i < n; ++i) h = (h ^ static_cast<unsigned char>(p[i])) * 16777619u;
  return h;
}

bool ChecksumOk(const std::string& bytes) {
  if (bytes.size() < 8) return false;
  std::uint32_t sum = 0;
  for (int i = 0; i < 4; ++i)
    sum |= static_cast<std::uint32_t>(static_cast<unsigned char>(bytes[bytes.size() - 4 + i]))
           << (8 * i);
  return sum == Checksum(bytes.data(), bytes.size() - 4);
}

class TWriter {
 public:
  void U(std::uint64_t v) {
    while (v >= 0x80) {
      out.push_back(static_cast<char>(v | 0x80));
      v >>= 7;
    }
    out.push_back(static_cast<char>(v));
  }
  void I(int v) { U(static_cast<std::uint64_t>(static_cast<std::int64_t>(v) + 1)); }
  void S(const std::string& s) {
    U(s.size());
    out += s;
  }
  void P(const TSymbolPos& p) {
    I(p.Line);
    I(p.Column);
  }
  void Names(const std::vector<std::string>& v) {
    U(v.size());
    for (const auto& s : v) S(s);
  }
  std::string out;
};

class TReader {
 public:
  TReader(const char* p, std::size_t n) : p_(p), end_(p + n) {}
  bool ok = true;
  std::uint64_t U() {
    std::uint64_t v = 0;
    for (int shift = 0; shift < 64; shift += 7) {
      if (p_ >= end_) return ok = false, 0;
      const auto b = static_cast<unsigned char>(*p_++);
      v |= static_cast<std::uint64_t>(b & 0x7F) << shift;
      if (!(b & 0x80)) return v;
    }
    return ok = false, 0;
  }
  int I() { return static_cast<int>(static_cast<std::int64_t>(U()) - 1); }
  std::string S() {
    const std::uint64_t n = U();
    if (!ok || n > static_cast<std::uint64_t>(end_ - p_)) return ok = false, std::string();
    std::string s(p_, n);
    p_ += n;
    return s;
  }
  TSymbolPos P() {
    TSymbolPos p;
    p.Line = I();
    p.Column = I();
    return p;
  }
  std::vector<std::string> Names() {
    std::vector<std::string> v(Count());
    for (auto& s : v) s = S();
    return v;
  }
  // A count no larger than the bytes left, so damaged input cannot ask for huge vectors.
  std::size_t Count() {
    const std::uint64_t n = U();
    if (!ok || n > static_cast<std::uint64_t>(end_ - p_)) return ok = false, 0;
    return n;
  }
  bool AtEnd() const { return p_ == end_; }

 private:
  const char* p_;
  const char* end_;
};

void Put(TWriter& w, const std::vector<TEntrySymbol>& v) {
  w.U(v.size());
  for (const auto& e : v) w.S(e.Name), w.I(e.Unit), w.Names(e.Args), w.P(e.Pos);
}
void Get(TReader& r, std::vector<TEntrySymbol>& v) {
  v.resize(r.Count());
  for (auto& e : v) e.Name = r.S(), e.Unit = r.I(), e.Args = r.Names(), e.Pos = r.P();
}
void Put(TWriter& w, const std::vector<TNameUse>& v) {
  w.U(v.size());
  for (const auto& e : v) w.S(e.Name), w.I(e.Unit), w.P(e.Pos);
}
void Get(TReader& r, std::vector<TNameUse>& v) {
  v.resize(r.Count());
  for (auto& e : v) e.Name = r.S(), e.Unit = r.I(), e.Pos = r.P();
}

}  // namespace

std::string TSymbolCache::Encode(const TFileSymbols& s) {
  TWriter w;
  w.out.append(kMagic, 4);
  w.U(s.Units.size());
  for (const auto& u : s.Units) {
    w.U(static_cast<unsigned>(u.Kind));
    w.S(u.Name), w.S(u.Type), w.Names(u.Args), w.P(u.Pos);
    w.I(u.HeaderLastLine), w.I(u.CommentFirstLine), w.I(u.EndLine);
  }
  Put(w, s.Entries);
  Put(w, s.StatementFunctions);
  Put(w, s.Externals);
  Put(w, s.Intrinsics);
  w.U(s.Declarations.size());
  for (const auto& d : s.Declarations)
    w.S(d.Name), w.S(d.Type), w.I(d.Unit), w.U(d.Array), w.P(d.Pos);
  w.U(s.Commons.size());
  for (const auto& c : s.Commons) w.S(c.Name), w.I(c.Unit), w.Names(c.Members), w.P(c.Pos);
  w.U(s.Parameters.size());
  for (const auto& p : s.Parameters) w.S(p.Name), w.S(p.Value), w.I(p.Unit), w.P(p.Pos);
  w.U(s.Labels.size());
  for (const auto& l : s.Labels) w.I(l.Label), w.I(l.Unit), w.U(l.Format), w.P(l.Pos);
  w.U(s.LabelUses.size());
  for (const auto& l : s.LabelUses)
    w.I(l.Label), w.I(l.Unit), w.U(static_cast<unsigned>(l.Kind)), w.P(l.Pos);
  w.U(s.Includes.size());
  for (const auto& i : s.Includes) w.S(i.File), w.I(i.Unit), w.P(i.Pos);
  Put(w, s.Calls);
  Put(w, s.FunctionRefs);
  const std::uint32_t sum = Checksum(w.out.data(), w.out.size());
  for (int i = 0; i < 4; ++i) w.out.push_back(static_cast<char>(sum >> (8 * i)));
  return std::move(w.out);
}

bool TSymbolCache::Decode(const std::string& bytes, TFileSymbols& s) {
  if (!ChecksumOk(bytes) || bytes.compare(0, 4, kMagic, 4) != 0) return false;
  TReader r(bytes.data() + 4, bytes.size() - 8);
  s = TFileSymbols{};
  s.Units.resize(r.Count());
  for (auto& u : s.Units) {
    const auto kind = r.U();
    if (kind > static_cast<unsigned>(TUnitKind::BlockData)) return false;
    u.Kind = static_cast<TUnitKind>(kind);
    u.Name = r.S(), u.Type = r.S(), u.Args = r.Names(), u.Pos = r.P();
    u.HeaderLastLine = r.I(), u.CommentFirstLine = r.I(), u.EndLine = r.I();
  }
  Get(r, s.Entries);
  Get(r, s.StatementFunctions);
  Get(r, s.Externals);
  Get(r, s.Intrinsics);
  s.Declarations.resize(r.Count());
  for (auto& d : s.Declarations)
    d.Name = r.S(), d.Type = r.S(), d.Unit = r.I(), d.Array = r.U() != 0, d.Pos = r.P();
  s.Commons.resize(r.Count());
  for (auto& c : s.Commons) c.Name = r.S(), c.Unit = r.I(), c.Members = r.Names(), c.Pos = r.P();
  s.Parameters.resize(r.Count());
  for (auto& p : s.Parameters) p.Name = r.S(), p.Value = r.S(), p.Unit = r.I(), p.Pos = r.P();
  s.Labels.resize(r.Count());
  for (auto& l : s.Labels) l.Label = r.I(), l.Unit = r.I(), l.Format = r.U() != 0, l.Pos = r.P();
  s.LabelUses.resize(r.Count());
  for (auto& l : s.LabelUses) {
    l.Label = r.I(), l.Unit = r.I();
    const auto kind = r.U();
    if (kind > static_cast<unsigned>(TLabelUseKind::Assign)) return false;
    l.Kind = static_cast<TLabelUseKind>(kind);
    l.Pos = r.P();
  }
  s.Includes.resize(r.Count());
  for (auto& i : s.Includes) i.File = r.S(), i.Unit = r.I(), i.Pos = r.P();
  Get(r, s.Calls);
  Get(r, s.FunctionRefs);
  return r.ok && r.AtEnd();
}

TSymbolCache::~TSymbolCache() { Close(); }

void TSymbolCache::Close() {
  if (db_) sqlite3_close(db_);
  db_ = nullptr;
}

bool TSymbolCache::OpenFile(const std::string& file, std::string& why) {
  if (sqlite3_open_v2(file.c_str(), &db_, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, nullptr) !=
      SQLITE_OK) {
    why = db_ ? sqlite3_errmsg(db_) : "cannot open";
    Close();
    return false;
  }
  sqlite3_busy_timeout(db_, 2000);
  return true;
}

bool TSymbolCache::ReadAll(std::string& why) {
  rows_.clear();
  sqlite3_stmt* st = nullptr;
  int version = -1;
  if (sqlite3_prepare_v2(db_, "PRAGMA user_version", -1, &st, nullptr) == SQLITE_OK &&
      sqlite3_step(st) == SQLITE_ROW)
    version = sqlite3_column_int(st, 0);
  sqlite3_finalize(st);
  if (version == -1) return why = sqlite3_errmsg(db_), false;
  if (version == 0) {
    // A new file: give it the schema.
    const std::string sql =
        "CREATE TABLE IF NOT EXISTS files(path TEXT PRIMARY KEY, size INTEGER, mtime INTEGER, "
        "data BLOB); PRAGMA user_version=" +
        std::to_string(kSchemaVersion) + ";";
    if (sqlite3_exec(db_, sql.c_str(), nullptr, nullptr, nullptr) != SQLITE_OK)
      return why = sqlite3_errmsg(db_), false;
    return true;
  }
  if (version != kSchemaVersion)
    return why = "schema " + std::to_string(version) + ", not " + std::to_string(kSchemaVersion),
           false;
  if (sqlite3_prepare_v2(db_, "SELECT path, size, mtime, data FROM files", -1, &st, nullptr) !=
      SQLITE_OK)
    return why = sqlite3_errmsg(db_), false;
  int rc;
  while ((rc = sqlite3_step(st)) == SQLITE_ROW) {
    const auto* path = reinterpret_cast<const char*>(sqlite3_column_text(st, 0));
    const void* blob = sqlite3_column_blob(st, 3);
    const int n = sqlite3_column_bytes(st, 3);
    TStored& row = rows_[path ? path : ""];
    row.Stamp = {sqlite3_column_int64(st, 1), sqlite3_column_int64(st, 2)};
    row.Bytes.assign(static_cast<const char*>(blob ? blob : ""), static_cast<std::size_t>(n));
    // A row whose checksum fails means the file was damaged: none of it is trusted.
    if (!ChecksumOk(row.Bytes)) {
      sqlite3_finalize(st);
      return why = "a damaged row", false;
    }
  }
  sqlite3_finalize(st);
  if (rc != SQLITE_DONE) return why = sqlite3_errstr(rc), false;
  return true;
}

bool TSymbolCache::Open(const std::string& folder) {
  Close();
  rows_.clear();
  discarded_.clear();
  std::error_code ec;
  fs::create_directories(folder, ec);
  const std::string file = (fs::path(folder) / kFileName).string();
  std::string why;
  if (OpenFile(file, why) && ReadAll(why)) return true;
  // Damaged, foreign or old: start again from nothing.
  discarded_ = why.empty() ? "unreadable" : why;
  Close();
  rows_.clear();
  for (const char* suffix : {"", "-journal", "-wal", "-shm"}) fs::remove(file + suffix, ec);
  std::string again;
  if (OpenFile(file, again) && ReadAll(again)) return true;
  Close();
  return false;
}

bool TSymbolCache::Find(const std::string& path, const TFileStamp& stamp, TFileSymbols& out) const {
  const auto f = rows_.find(path);
  return f != rows_.end() && f->second.Stamp == stamp && Decode(f->second.Bytes, out);
}

bool TSymbolCache::Store(const std::vector<TRow>& rows) {
  if (!db_ || rows.empty()) return db_ != nullptr;
  sqlite3_exec(db_, "BEGIN", nullptr, nullptr, nullptr);
  sqlite3_stmt* st = nullptr;
  bool ok = sqlite3_prepare_v2(db_, "INSERT OR REPLACE INTO files VALUES(?,?,?,?)", -1, &st,
                               nullptr) == SQLITE_OK;
  for (const TRow& row : rows) {
    if (!ok) break;
    TStored& kept = rows_[row.Path];
    kept.Stamp = row.Stamp;
    kept.Bytes = Encode(*row.Symbols);
    sqlite3_bind_text(st, 1, row.Path.data(), static_cast<int>(row.Path.size()), SQLITE_STATIC);
    sqlite3_bind_int64(st, 2, row.Stamp.Size);
    sqlite3_bind_int64(st, 3, row.Stamp.ModifiedNs);
    sqlite3_bind_blob(st, 4, kept.Bytes.data(), static_cast<int>(kept.Bytes.size()), SQLITE_STATIC);
    ok = sqlite3_step(st) == SQLITE_DONE;
    sqlite3_reset(st);
  }
  sqlite3_finalize(st);
  sqlite3_exec(db_, ok ? "COMMIT" : "ROLLBACK", nullptr, nullptr, nullptr);
  return ok;
}

}  // namespace vortan
