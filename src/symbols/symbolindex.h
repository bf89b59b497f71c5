#pragma once
// The symbols of many fixed-form FORTRAN 77 files and the questions asked of them: where a
// name is defined, where it is used, who calls whom, the header of a unit for a tip.

#include <atomic>
#include <cstdint>
#include <functional>
#include <set>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "symbols/filesymbols.h"
#include "symbols/includeresolver.h"
#include "symbols/symbolcache.h"

namespace vortan {

struct TSymbolLocation {
  std::string File;
  int Line = 0;
  int Column = 0;
  std::string Name;  ///< the unit a caller or callee is, where the question asks for one
  bool operator==(const TSymbolLocation&) const = default;
};

/// A file the index could not read, or an INCLUDE it could not follow; each said once.
struct TIndexProblem {
  std::string File;
  std::string Text;
};

struct TIndexOptions {
  /// Where the cache lives; empty for no cache (platform::UserCacheDir() is the usual one).
  std::string CacheFolder;
  std::vector<std::string> IncludeFolders;
  /// A larger file is skipped: reading it would hold the whole of it in memory.
  std::int64_t MaxFileBytes = 64LL << 20;
  /// Threads that read files; 0 for one per core.
  unsigned Workers = 0;
  /// Counts the files of the running IndexFiles as they are done (read by another thread for
  /// a progress display); null for none.
  std::atomic<std::size_t>* Done = nullptr;
  std::atomic<std::size_t>* Total = nullptr;
};

class TSymbolIndex {
 public:
  explicit TSymbolIndex(TIndexOptions options = {});

  /// Indexes the Fortran sources (.f, .for, .f77, .ftn, .inc) below the folders.
  void IndexFolders(const std::vector<std::string>& folders);
  /// Indexes the files, taking each from the cache when its size and time are unchanged, and
  /// the files their INCLUDE lines name.
  void IndexFiles(const std::vector<std::string>& files);
  /// Indexes a file from the text an editor holds instead of what is on disk.
  void UpdateFile(const std::string& path, std::string_view text);
  /// The same with the symbols already extracted from `text` (by another thread).
  void UpdateFile(const std::string& path, std::string text, TFileSymbols symbols);
  void RemoveFile(const std::string& path);

  std::size_t FileCount() const { return files_.size(); }
  /// How many files the last IndexFiles took from the cache.
  std::size_t CachedCount() const { return cached_; }
  const TFileSymbols* Symbols(const std::string& path) const;
  /// The paths of the indexed files, sorted.
  std::vector<std::string> Files() const;
  /// Calls `visit(path, unit)` for every program unit of the index.
  void ForEachUnit(const std::function<void(const std::string&, const TUnitSymbol&)>& visit) const;
  /// The file the INCLUDE line at `line` of `file` names; empty when the line is none or the
  /// file cannot be found.
  std::string IncludeAt(const std::string& file, int line) const;
  const std::vector<TIndexProblem>& Problems() const { return problems_; }
  /// Why the cache was thrown away when it was opened; empty when it was sound or new.
  const std::string& CacheDiscarded() const { return cache_.Discarded(); }

  /// Go to Definition of `word` at a line of a file: a label, a name of the unit there
  /// (statement function, PARAMETER, declaration, COMMON member, dummy argument), a program
  /// unit or ENTRY, or a COMMON block.
  std::vector<TSymbolLocation> Definitions(const std::string& file, int line,
                                           std::string_view word) const;
  /// Program units and ENTRY points of that name.
  std::vector<TSymbolLocation> UnitDefinitions(std::string_view name) const;
  /// Every COMMON statement naming the block ("" for blank COMMON).
  std::vector<TSymbolLocation> CommonBlocks(std::string_view name) const;
  /// CALL sites and function references of a unit.
  std::vector<TSymbolLocation> UnitReferences(std::string_view name) const;
  /// The uses of a label in the unit holding `line`.
  std::vector<TSymbolLocation> LabelReferences(const std::string& file, int line, int label) const;
  /// The units that call or reference `name`, each once, sorted by name.
  std::vector<TSymbolLocation> Callers(std::string_view name) const;
  /// The units of the index that the unit `name` calls or references, each once, sorted.
  std::vector<TSymbolLocation> Callees(std::string_view name) const;
  /// Every name the unit `name` calls or references, each once, sorted, whether the index
  /// holds its definition or not (a library routine whose source is elsewhere).
  std::vector<std::string> CalledNames(std::string_view name) const;
  /// The comment block above a unit's header and the header itself, as in the file.
  std::string UnitTip(std::string_view name) const;
  /// The text the index read a file from: the editor's when an editor gave it, else the file's.
  std::string FileText(const std::string& path) const;
  /// The files a file includes, directly or not, that the index can find.
  std::vector<std::string> IncludedFiles(const std::string& file) const;

 private:
  struct TFile {
    std::string Path;
    TFileStamp Stamp;
    TFileSymbols Symbols;
    bool FromEditor = false;
    std::string Text;  // the editor's text, for tips
  };
  void Problem(const std::string& file, const std::string& text);
  TFile& Slot(const std::string& path);
  void FollowIncludes(const std::vector<std::string>& files);
  std::string TextOf(const TFile& f) const;

  TIndexOptions options_;
  TIncludeResolver resolver_;
  TSymbolCache cache_;
  std::vector<TFile> files_;
  std::unordered_map<std::string, std::size_t> byPath_;
  std::vector<TIndexProblem> problems_;
  std::set<std::string> said_;
  std::size_t cached_ = 0;
};

}  // namespace vortan
