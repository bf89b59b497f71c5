#pragma once
// Saving a document's bytes under its name: the checks and questions around the safe
// replace of the file (a file the user may not write, the backup copy, bytes the save
// cannot give back).

#include <string>
#include <string_view>

namespace vortan {

struct TDocumentSave {
  std::string FileName;
  /// Copy the file's present content to its backup name first ("Create backup file").
  bool CreateBackup = false;
  /// The document came from a file holding NUL bytes, which it shows as line breaks.
  bool HadNul = false;
};

/// Writes `bytes` as `save.FileName`. Every failure and question goes to the user through
/// the prompt service; true only when the file now holds the bytes. When false, nothing on
/// disk has changed (the file, and the backup unless a new one was written).
bool SaveDocumentFile(const TDocumentSave& save, std::string_view bytes);

}  // namespace vortan
