#include "symbols/symbolindex.h"

#include <algorithm>
#include <atomic>
#include <chrono>
#include <filesystem>
#include <map>
#include <thread>

#include "platform/filebytes.h"
#include "platform/text.h"
#include "platform/textlines.h"
#include "symbols/symbolextractor.h"

namespace vortan {
namespace {

namespace fs = std::filesystem;

bool IsFortranSource(const fs::path& p) {
  const std::string ext = LowerAscii(p.extension().string());
  return ext == ".f" || ext == ".for" || ext == ".f77" || ext == ".ftn" || ext == ".inc";
}

bool Stamp(const std::string& path, TFileStamp& stamp) {
  std::error_code ec;
  const auto size = fs::file_size(path, ec);
  if (ec) return false;
  const auto time = fs::last_write_time(path, ec);
  if (ec) return false;
  stamp.Size = static_cast<std::int64_t>(size);
  stamp.ModifiedNs =
      std::chrono::duration_cast<std::chrono::nanoseconds>(time.time_since_epoch()).count();
  return true;
}

// One file read and its symbols extracted; `problem` says why it was skipped.
struct TRead {
  TFileStamp Stamp;
  TFileSymbols Symbols;
  std::string Problem;
  bool FromCache = false;
};

void ReadOne(const std::string& path, std::int64_t maxBytes, TRead& r) {
  if (!Stamp(path, r.Stamp)) {
    r.Problem = "cannot be read";
    return;
  }
  if (r.Stamp.Size > maxBytes) {
    r.Problem = "skipped: larger than " + std::to_string(maxBytes >> 20) + " MB";
    return;
  }
  std::string bytes, error;
  if (!platform::ReadFileBytes(path, bytes, error)) {
    r.Problem = "cannot be read: " + error;
    return;
  }
  // Source text never holds NUL; a file that does (UTF-16, an object file) is not Fortran
  // the index can read.
  if (bytes.find('\0') != std::string::npos) {
    r.Problem = "skipped: binary data, not source text";
    return;
  }
  r.Symbols = ExtractSymbols(bytes);
}

bool AllDigits(std::string_view s) {
  return !s.empty() && std::all_of(s.begin(), s.end(), [](char c) { return c >= '0' && c <= '9'; });
}

}  // namespace

TSymbolIndex::TSymbolIndex(TIndexOptions options)
    : options_(std::move(options)), resolver_(options_.IncludeFolders) {
  if (!options_.CacheFolder.empty() && !cache_.Open(options_.CacheFolder))
    Problem(options_.CacheFolder, "the symbol cache cannot be kept here");
}

void TSymbolIndex::Problem(const std::string& file, const std::string& text) {
  if (said_.insert(file + '\n' + text).second) problems_.push_back({file, text});
}

TSymbolIndex::TFile& TSymbolIndex::Slot(const std::string& path) {
  const auto f = byPath_.find(path);
  if (f != byPath_.end()) return files_[f->second];
  byPath_[path] = files_.size();
  files_.push_back({});
  files_.back().Path = path;
  return files_.back();
}

void TSymbolIndex::IndexFolders(const std::vector<std::string>& folders) {
  std::vector<std::string> files;
  for (const std::string& folder : folders) {
    std::error_code ec;
    fs::recursive_directory_iterator it(folder, fs::directory_options::skip_permission_denied, ec);
    if (ec) {
      Problem(folder, "cannot be read");
      continue;
    }
    for (; it != fs::recursive_directory_iterator(); it.increment(ec)) {
      if (ec) break;
      if (it->is_regular_file(ec) && IsFortranSource(it->path()))
        files.push_back(it->path().string());
    }
  }
  IndexFiles(files);
}

void TSymbolIndex::IndexFiles(const std::vector<std::string>& input) {
  std::vector<std::string> paths(input);
  std::sort(paths.begin(), paths.end());
  paths.erase(std::unique(paths.begin(), paths.end()), paths.end());
  std::vector<TRead> reads(paths.size());

  // The cache first, in this thread; then the rest read by the workers, each into its own slot
  // so that the result does not depend on which thread read what.
  std::vector<std::size_t> todo;
  cached_ = 0;
  for (std::size_t i = 0; i < paths.size(); ++i) {
    if (cache_.IsOpen() && Stamp(paths[i], reads[i].Stamp) &&
        cache_.Find(paths[i], reads[i].Stamp, reads[i].Symbols)) {
      reads[i].FromCache = true;
      ++cached_;
    } else {
      todo.push_back(i);
    }
  }
  if (options_.Total) *options_.Total += todo.size();
  std::atomic<std::size_t> next{0};
  auto work = [&] {
    for (std::size_t k; (k = next++) < todo.size();) {
      ReadOne(paths[todo[k]], options_.MaxFileBytes, reads[todo[k]]);
      if (options_.Done) ++*options_.Done;
    }
  };
  const unsigned cores = std::max(1u, std::thread::hardware_concurrency());
  const std::size_t count =
      std::min<std::size_t>(options_.Workers ? options_.Workers : cores, todo.size());
  std::vector<std::thread> threads;
  for (std::size_t t = 1; t < count; ++t) threads.emplace_back(work);
  work();
  for (auto& t : threads) t.join();

  std::vector<TSymbolCache::TRow> rows;
  for (std::size_t i = 0; i < paths.size(); ++i) {
    TRead& r = reads[i];
    if (!r.Problem.empty()) {
      Problem(paths[i], r.Problem);
      RemoveFile(paths[i]);
      continue;
    }
    TFile& f = Slot(paths[i]);
    f.Stamp = r.Stamp;
    f.Symbols = std::move(r.Symbols);
    f.FromEditor = false;
    f.Text.clear();
    if (!r.FromCache) rows.push_back({paths[i], f.Stamp, &f.Symbols});
  }
  // Slot() may move the files while rows are gathered, so the pointers are taken again here.
  for (auto& row : rows) row.Symbols = &files_[byPath_[row.Path]].Symbols;
  if (cache_.IsOpen()) cache_.Store(rows);
  FollowIncludes(paths);
}

void TSymbolIndex::FollowIncludes(const std::vector<std::string>& files) {
  std::vector<std::string> missing;
  for (const std::string& path : files) {
    const TFileSymbols* s = Symbols(path);
    if (!s) continue;
    for (const TIncludeLine& inc : s->Includes) {
      const std::string to = resolver_.Resolve(path, inc.File);
      if (to.empty())
        Problem(path, "INCLUDE '" + inc.File + "' not found");
      else if (!byPath_.count(to) && !said_.count(to + "\nread"))
        missing.push_back(to);
    }
    std::vector<std::string> loops;
    resolver_.Closure(
        path,
        [&](const std::string& f) {
          std::vector<std::string> names;
          if (const TFileSymbols* fs = Symbols(f))
            for (const auto& inc : fs->Includes) names.push_back(inc.File);
          return names;
        },
        &loops);
    for (const std::string& loop : loops) Problem(path, "INCLUDE loop: " + loop);
  }
  if (missing.empty()) return;
  for (const std::string& m : missing) said_.insert(m + "\nread");  // each file is tried once
  IndexFiles(missing);
}

void TSymbolIndex::UpdateFile(const std::string& path, std::string_view text) {
  TFile& f = Slot(path);
  f.Symbols = ExtractSymbols(text);
  f.FromEditor = true;
  f.Text.assign(text);
  f.Stamp = {};
}

void TSymbolIndex::UpdateFile(const std::string& path, std::string text, TFileSymbols symbols) {
  TFile& f = Slot(path);
  f.Symbols = std::move(symbols);
  f.FromEditor = true;
  f.Text = std::move(text);
  f.Stamp = {};
}

void TSymbolIndex::RemoveFile(const std::string& path) {
  const auto f = byPath_.find(path);
  if (f == byPath_.end()) return;
  files_.erase(files_.begin() + static_cast<std::ptrdiff_t>(f->second));
  byPath_.clear();
  for (std::size_t i = 0; i < files_.size(); ++i) byPath_[files_[i].Path] = i;
}

const TFileSymbols* TSymbolIndex::Symbols(const std::string& path) const {
  const auto f = byPath_.find(path);
  return f == byPath_.end() ? nullptr : &files_[f->second].Symbols;
}

std::vector<std::string> TSymbolIndex::Files() const {
  std::vector<std::string> out;
  out.reserve(files_.size());
  for (const TFile& f : files_) out.push_back(f.Path);
  std::sort(out.begin(), out.end());
  return out;
}

void TSymbolIndex::ForEachUnit(
    const std::function<void(const std::string&, const TUnitSymbol&)>& visit) const {
  for (const TFile& f : files_)
    for (const TUnitSymbol& u : f.Symbols.Units) visit(f.Path, u);
}

std::string TSymbolIndex::IncludeAt(const std::string& file, int line) const {
  if (const TFileSymbols* s = Symbols(file))
    for (const TIncludeLine& inc : s->Includes)
      if (inc.Pos.Line == line) return resolver_.Resolve(file, inc.File);
  return {};
}

std::vector<std::string> TSymbolIndex::IncludedFiles(const std::string& file) const {
  return resolver_.Closure(file, [&](const std::string& f) {
    std::vector<std::string> names;
    if (const TFileSymbols* s = Symbols(f))
      for (const auto& inc : s->Includes) names.push_back(inc.File);
    return names;
  });
}

std::vector<TSymbolLocation> TSymbolIndex::UnitDefinitions(std::string_view word) const {
  const std::string name = UpperAscii(word);
  std::vector<TSymbolLocation> out;
  for (const TFile& f : files_) {
    for (const TUnitSymbol& u : f.Symbols.Units)
      if (u.Name == name) out.push_back({f.Path, u.Pos.Line, u.Pos.Column, u.Name});
    for (const TEntrySymbol& e : f.Symbols.Entries)
      if (e.Name == name) out.push_back({f.Path, e.Pos.Line, e.Pos.Column, e.Name});
  }
  return out;
}

std::vector<TSymbolLocation> TSymbolIndex::CommonBlocks(std::string_view word) const {
  const std::string name = UpperAscii(word);
  std::vector<TSymbolLocation> out;
  for (const TFile& f : files_)
    for (const TCommonBlock& c : f.Symbols.Commons)
      if (c.Name == name) out.push_back({f.Path, c.Pos.Line, c.Pos.Column, c.Name});
  return out;
}

std::vector<TSymbolLocation> TSymbolIndex::Definitions(const std::string& file, int line,
                                                       std::string_view word) const {
  const std::string name = UpperAscii(Trim(word));
  const TFileSymbols* s = Symbols(file);
  const int unit = s ? s->UnitAt(line) : -1;
  auto at = [&](const std::string& path, const TSymbolPos& p) {
    return std::vector<TSymbolLocation>{{path, p.Line, p.Column, name}};
  };
  if (AllDigits(name)) {
    // A label has one to five digits; a longer number (a constant under the caret) is none,
    // and would not even fit an int.
    if (name.size() > 5) return {};
    if (s)
      for (const TLabelDef& l : s->Labels)
        if (l.Unit == unit && std::to_string(l.Label) == std::to_string(std::stoi(name)))
          return at(file, l.Pos);
    return {};
  }
  std::vector<TSymbolLocation> units = UnitDefinitions(name);
  // A name of the unit itself, then of the files it includes.
  std::vector<std::string> scope{file};
  for (const std::string& inc : IncludedFiles(file)) scope.push_back(inc);
  for (const std::string& path : scope) {
    const TFileSymbols* f = Symbols(path);
    if (!f) continue;
    const bool own = path == file;
    auto inScope = [&](int u) { return !own || u == unit; };
    for (const TEntrySymbol& e : f->StatementFunctions)
      if (e.Name == name && inScope(e.Unit)) return at(path, e.Pos);
    for (const TParameter& p : f->Parameters)
      if (p.Name == name && inScope(p.Unit)) return at(path, p.Pos);
    bool argument = false;
    if (own && unit >= 0) {
      const auto& args = f->Units[static_cast<std::size_t>(unit)].Args;
      argument = std::find(args.begin(), args.end(), name) != args.end();
    }
    for (const TDeclaration& d : f->Declarations) {
      if (d.Name != name || !inScope(d.Unit)) continue;
      // "DOUBLE PRECISION DLAMCH" types a function: its definition is the function.
      if (!d.Array && !argument && !units.empty()) return units;
      return at(path, d.Pos);
    }
    for (const TCommonBlock& c : f->Commons)
      if (inScope(c.Unit) && std::find(c.Members.begin(), c.Members.end(), name) != c.Members.end())
        return at(path, c.Pos);
    if (argument) return at(path, f->Units[static_cast<std::size_t>(unit)].Pos);
  }
  if (!units.empty()) return units;
  return CommonBlocks(name);
}

std::vector<TSymbolLocation> TSymbolIndex::UnitReferences(std::string_view word) const {
  const std::string name = UpperAscii(word);
  std::vector<TSymbolLocation> out;
  for (const TFile& f : files_) {
    const std::size_t first = out.size();
    for (const auto* uses : {&f.Symbols.Calls, &f.Symbols.FunctionRefs})
      for (const TNameUse& u : *uses)
        if (u.Name == name) out.push_back({f.Path, u.Pos.Line, u.Pos.Column, u.Name});
    std::sort(out.begin() + static_cast<std::ptrdiff_t>(first), out.end(),
              [](const TSymbolLocation& a, const TSymbolLocation& b) {
                return std::tie(a.Line, a.Column) < std::tie(b.Line, b.Column);
              });
  }
  return out;
}

std::vector<TSymbolLocation> TSymbolIndex::LabelReferences(const std::string& file, int line,
                                                           int label) const {
  std::vector<TSymbolLocation> out;
  const TFileSymbols* s = Symbols(file);
  if (!s) return out;
  const int unit = s->UnitAt(line);
  for (const TLabelUse& u : s->LabelUses)
    if (u.Unit == unit && u.Label == label)
      out.push_back({file, u.Pos.Line, u.Pos.Column, std::to_string(label)});
  return out;
}

std::vector<TSymbolLocation> TSymbolIndex::Callers(std::string_view word) const {
  const std::string name = UpperAscii(word);
  std::map<std::pair<std::string, std::string>, TSymbolLocation> found;  // by name, then file
  for (const TFile& f : files_)
    for (const auto* uses : {&f.Symbols.Calls, &f.Symbols.FunctionRefs})
      for (const TNameUse& u : *uses) {
        if (u.Name != name || u.Unit < 0) continue;
        const TUnitSymbol& caller = f.Symbols.Units[static_cast<std::size_t>(u.Unit)];
        found.emplace(std::make_pair(caller.Name, f.Path),
                      TSymbolLocation{f.Path, caller.Pos.Line, caller.Pos.Column, caller.Name});
      }
  std::vector<TSymbolLocation> out;
  for (auto& [key, loc] : found) out.push_back(loc);
  return out;
}

std::vector<std::string> TSymbolIndex::CalledNames(std::string_view word) const {
  const std::string name = UpperAscii(word);
  std::set<std::string> called;
  for (const TFile& f : files_)
    for (std::size_t u = 0; u < f.Symbols.Units.size(); ++u) {
      if (f.Symbols.Units[u].Name != name) continue;
      for (const auto* uses : {&f.Symbols.Calls, &f.Symbols.FunctionRefs})
        for (const TNameUse& use : *uses)
          if (use.Unit == static_cast<int>(u)) called.insert(use.Name);
    }
  return {called.begin(), called.end()};
}

std::vector<TSymbolLocation> TSymbolIndex::Callees(std::string_view word) const {
  std::vector<TSymbolLocation> out;
  for (const std::string& c : CalledNames(word)) {
    const auto defs = UnitDefinitions(c);
    if (!defs.empty()) out.push_back(defs.front());
  }
  return out;
}

std::string TSymbolIndex::TextOf(const TFile& f) const {
  if (f.FromEditor) return f.Text;
  std::string bytes, error;
  platform::ReadFileBytes(f.Path, bytes, error);
  return bytes;
}

std::string TSymbolIndex::FileText(const std::string& path) const {
  const auto f = byPath_.find(path);
  if (f != byPath_.end()) return TextOf(files_[f->second]);
  std::string bytes, error;
  platform::ReadFileBytes(path, bytes, error);
  return bytes;
}

std::string TSymbolIndex::UnitTip(std::string_view word) const {
  const std::string name = UpperAscii(word);
  for (const TFile& f : files_)
    for (const TUnitSymbol& u : f.Symbols.Units) {
      if (u.Name != name) continue;
      const int first = u.CommentFirstLine ? u.CommentFirstLine : u.Pos.Line;
      const std::string text = TextOf(f);
      TTextLines lines(text);
      std::string tip;
      int n = 0;
      for (std::string_view l; lines.Next(l) && ++n <= u.HeaderLastLine;) {
        if (n < first) continue;
        if (!l.empty() && l.back() == '\r') l.remove_suffix(1);
        tip.append(l);
        tip += '\n';
      }
      return tip;
    }
  return {};
}

}  // namespace vortan
