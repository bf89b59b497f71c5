#pragma once
// What Compile All does with a set of source files: which of them to compile, where their
// object files go, which one holds the main program, and how the program is linked.

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace vortan {

class TfrmEditor;

/// One document of the set, as the editor windows show it.
struct TDocumentFacts {
  /// Full name of its file; empty while untitled.
  std::string FileName;
  /// The window caption's file-name part ("Source1.f" for an untitled one).
  std::string Caption;
  bool Modified = false;
  bool Empty = false;
  TfrmEditor* Editor = nullptr;
};

/// How a document reaches the tools.
enum class TSourceRoute {
  File,      ///< its file, as saved
  TempCopy,  ///< a temporary copy of the editor's text ("~" + its name)
  Skipped,   ///< not a Fortran source file by its name, or an empty untitled document
};

/// One file of the set and the names the build uses for it.
struct TBuildSource {
  TSourceRoute Route = TSourceRoute::File;
  /// The document's full name: its file, or the temporary directory + caption while untitled.
  std::string Document;
  /// The file the tools read: Document, or its temporary copy beside it.
  std::string Source;
  /// The file is named but no longer on disk: the editor's text is used instead.
  bool MissingOnDisk = false;
  TfrmEditor* Editor = nullptr;
};

/// Where a document's text comes from. A modified or untitled document, and one whose file
/// has gone from disk, is read from a temporary copy; a document whose name is not a Fortran
/// source name, or an untitled one without text, is left out.
TBuildSource RouteDocument(const TDocumentFacts& facts, const std::string& tempDir);

/// The compiler and the words the settings give it.
struct TBuildTools {
  std::string Compiler;
  /// Setting "Compiler Format": options, source, program, libraries ("%s %s -o %s %s").
  std::string Format = "%s %s -o %s %s";
  std::string Options;
  std::string Libraries;
  /// Where object files and their stamps go, with a trailing separator.
  std::string ObjectDir;
};

/// One file's compile.
struct TBuildUnit {
  TBuildSource File;
  /// ObjectFileName of the document.
  std::string Object;
  /// Beside the object: the fingerprint it was made from.
  std::string Stamp;
  /// Of the text, the files it includes and the compile command (the source's name aside).
  std::string Fingerprint;
  bool Main = false;
  /// The object exists and was made from this fingerprint: no compile needed.
  bool UpToDate = false;
  /// The source could not be read.
  bool Unreadable = false;
  std::string ProgramPath;
  std::string Parameters;
  std::string WorkingDirectory;
};

struct TBuildPlan {
  std::vector<TBuildUnit> Units;
  /// Indexes of the units that hold a main program.
  std::vector<std::size_t> MainUnits;
  /// With exactly one main program: its document's program file and the link command.
  std::string Program;
  std::string LinkProgramPath;
  std::string LinkParameters;
  std::string LinkDirectory;
  /// Beside the objects: what the program was last linked from.
  std::string LinkStamp;
  std::string LinkFingerprint;

  bool CanLink() const { return MainUnits.size() == 1; }
  std::size_t CompileCount() const;
};

/// The object file of a document: its name without extension, a hash of its full name (so
/// files of one name in different folders never share an object) and ".o".
std::string ObjectFileName(const std::string& objectDir, const std::string& document);

/// The words that tell the compiler a file is fixed-form Fortran 77 when its extension does
/// not (".f77", or no extension): the quoted source alone otherwise.
std::string CompilerSourceArgument(const std::string& source);

/// A 64-bit FNV-1a hash in sixteen hexadecimal digits.
std::string HashText(std::string_view text, std::uint64_t seed = 0xcbf29ce484222325ull);

/// Reads the sources (skipped ones are left out) and the stamps beside their objects.
TBuildPlan MakeBuildPlan(const std::vector<TBuildSource>& sources, const TBuildTools& tools);

/// The fingerprint stored in a stamp file; empty when there is none.
std::string ReadStamp(const std::string& stamp);
/// Writes a stamp; false when it cannot be written (the file is then compiled next time).
bool WriteStamp(const std::string& stamp, const std::string& fingerprint);

}  // namespace vortan
