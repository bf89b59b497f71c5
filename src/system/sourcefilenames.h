#pragma once
// Parts of a file name, and the names derived from a source file's name when it is saved.

#include <string>

namespace vortan {

/// The part after the last separator.
std::string FileNamePart(const std::string& fileName);
/// The caption of an editor window holding the file: its full path when `fullPath` (the
/// "full path in window title" setting), else its file-name part.
std::string EditorCaption(const std::string& fileName, bool fullPath);
/// The part up to and including the last separator; empty when there is none.
std::string DirectoryPart(const std::string& fileName);
/// The extension with its dot (".f"), or empty when the file-name part has no dot.
std::string FileExtension(const std::string& fileName);
/// The extensions of fixed-form Fortran source files, lower case with the dot: ".f", ".for",
/// ".f77", ".ftn". New files get the first.
extern const char* const FortranSourceExtensions[4];
/// True when the name ends in one of those extensions, in any letter case ("PROG.FOR").
bool IsFortranSourceName(const std::string& fileName);
/// The name with ".f" appended when it has no extension.
std::string WithSourceExtension(const std::string& fileName);
/// The name with `extension` (with its dot) appended when it has no extension.
std::string WithExtension(const std::string& fileName, const std::string& extension);
/// The name with its extension replaced by `extension` (appended when it has none).
std::string ChangeFileExtension(const std::string& fileName, const std::string& extension);
/// The backup name: "~" inserted after the extension's dot (prog.f -> prog.~f). A name
/// without extension gets ".~" appended.
std::string BackupFileName(const std::string& fileName);

}  // namespace vortan
