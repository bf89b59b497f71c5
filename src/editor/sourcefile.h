#pragma once
// The bytes of a source file: splitting them into lines and joining them again with the
// file's line-break convention, and reading and writing whole files without ever leaving a
// half-written file behind.

#include <cstddef>
#include <string>
#include <string_view>

namespace vortan {

/// Line-break convention of a document, remembered from loading.
enum class TLineBreak { CRLF, CR, LF };

/// The bytes of a break.
std::string_view LineBreakBytes(TLineBreak lineBreak);

/// File bytes split into lines. `Text` holds the lines separated by one LF each, with no
/// break after the last line; `LineCount` tells an empty document (0) from one empty line (1).
struct TSplitSource {
  std::string Text;
  std::size_t LineCount = 0;
  TLineBreak LineBreak = TLineBreak::CRLF;
  /// The bytes held a NUL, which became a line break: saving the lines cannot give the file
  /// back as it was.
  bool HadNul = false;
};

/// Lines end at CR LF, a single CR, a single LF or a NUL byte; a final break adds no line.
/// The convention is CR when only CR breaks were seen, LF when only LF breaks were seen and
/// CR LF otherwise. NUL breaks end lines but do not take part in that choice, so a stray NUL
/// does not turn every break of a Unix file into CR LF.
TSplitSource SplitSource(std::string_view bytes);

/// Every one of `lineCount` lines of `text` (separated by LF) followed by the break.
std::string JoinSource(std::string_view text, std::size_t lineCount, TLineBreak lineBreak);

/// The whole file; false with the system's reason in `error` when it cannot be read.
bool ReadFileBytes(const std::string& fileName, std::string& bytes, std::string& error);

/// Writes the bytes to a new file beside the target and renames it over the target, keeping
/// the old file's permissions (and owner where allowed); a symbolic link is followed, so the
/// link stays and its target is replaced. An existing target that the user may not write
/// (read-only, or another user's) is refused, although the folder would allow the rename.
/// When anything fails the target is untouched, the new file is removed and `error` holds
/// the system's reason. Leftovers of saves that died on the way are removed first.
bool WriteFileReplacing(const std::string& fileName, std::string_view bytes, std::string& error);

/// Copies the file's bytes to `backupName` the same safe way, with the file's permission
/// bits (a private file keeps a private backup). On failure the old backup stays as it was.
bool WriteBackupCopy(const std::string& fileName, const std::string& backupName,
                     std::string& error);

/// Removes the new files that saves of `fileName` left behind when the program died before
/// renaming them; a file that a running save still holds is left alone.
void RemoveStaleSaveFiles(const std::string& fileName);

}  // namespace vortan
