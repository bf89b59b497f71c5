#pragma once
// Whole files as bytes: reading them, and replacing them so that a reader sees the old bytes
// or the new ones and never a half-written file. Every file the program writes for the user
// (sources, backups, exports, build stamps, desktop entries) goes through here.

#include <string>
#include <string_view>

namespace vortan::platform {

/// The whole file; false with the system's reason in `error` when it cannot be read.
bool ReadFileBytes(const std::string& fileName, std::string& bytes, std::string& error);

/// Writes the bytes to a new file beside the target and renames it over the target, keeping
/// the old file's permissions (and owner where allowed); a symbolic link is followed, so the
/// link stays and its target is replaced. An existing target that the user may not write
/// (read-only, or another user's) is refused, although the folder would allow the rename.
/// When anything fails the target is untouched, the new file is removed and `error` holds
/// the system's reason. Leftovers of saves that died on the way are removed first. A file
/// that does not exist yet gets `newFileMode` less the umask.
bool WriteFileReplacing(const std::string& fileName, std::string_view bytes, std::string& error,
                        unsigned newFileMode = 0666);

/// Copies the file's bytes to `backupName` the same safe way, with the file's permission
/// bits (a private file keeps a private backup). On failure the old backup stays as it was.
bool WriteBackupCopy(const std::string& fileName, const std::string& backupName,
                     std::string& error);

/// Removes the new files that saves of `fileName` left behind when the program died before
/// renaming them; a file that a running save still holds is left alone.
void RemoveStaleSaveFiles(const std::string& fileName);

}  // namespace vortan::platform
