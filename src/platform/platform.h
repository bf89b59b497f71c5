#pragma once
// The operating-system services the rest of the program uses. This is the only place that
// knows it runs on Linux; a port replaces this file's implementation, not its callers.

#include <string>
#include <string_view>
#include <vector>

#include "platform/platformprofile.h"

namespace vortan::platform {

/// Full name of the running executable (symbolic links resolved).
std::string ExecutablePath();
/// Directory of the running executable, with a trailing separator.
std::string ExecutableDir();

bool DirectoryExists(const std::string& path);
/// True for a regular file or a symbolic link to one.
bool FileExists(const std::string& path);
/// A file name (bytes in the file system's encoding) as UTF-8 for the screen: names that are
/// UTF-8 stay as they are; others are read byte for byte as Latin-1, so no byte is lost.
std::string FileNameText(std::string_view name);

/// Value of the environment variable, empty when unset.
std::string GetEnv(const char* name);
/// The user's home directory: $HOME, else the password database's entry; empty when neither
/// gives one.
std::string HomeDir();

/// Appends the path separator when missing. An empty name stays empty, so that a missing
/// directory never turns into the root directory.
std::string IncludeTrailingSeparator(std::string path);
/// The name made absolute against the current directory, with "." and ".." removed.
/// An empty name stays empty.
std::string AbsolutePath(const std::string& path);

/// The user's folder for caches the program may rebuild at any time: "vortan/" in
/// $XDG_CACHE_HOME, else in ~/.cache; with a trailing separator, whether or not it exists yet.
/// Empty when neither gives a folder.
std::string UserCacheDir();

/// Shell folder numbers understood by SpecialFolder.
inline constexpr int FolderDesktop = 0;
inline constexpr int FolderPrograms = 2;
inline constexpr int FolderStartMenu = 11;

/// The user's folder for a shell folder number, with a trailing separator, whether or not it
/// exists yet. Empty for an unknown number or when the home directory cannot be found.
std::string SpecialFolder(int csidl);

/// Windows language id for a POSIX locale name ("pt_BR.UTF-8" -> 1046). A language without
/// a known country gives its main country's id; "C", "POSIX" and unknown languages give 0.
int LanguageIdFromLocale(std::string_view locale);
/// Language id of the user's locale (LC_ALL, LC_MESSAGES, LANG: the first that is set).
int UserLanguageId();
/// Brazilian Portuguese: the language of the program's own texts besides English (credits,
/// splash notice, donations).
inline constexpr int PortugueseBrazil = 1046;
inline bool IsBrazilianPortuguese(int languageId) { return languageId == PortugueseBrazil; }

/// The program a source file compiles to: the file name's extension removed ("prog.f" ->
/// "prog"), or ".out" appended when it has none, so the program never overwrites its source.
std::string ProgramFileOf(const std::string& source);

/// True for equal names, or when both exist and are the same file (device and inode).
/// Letter case matters.
bool IsSameFile(const std::string& a, const std::string& b);

/// Who asks for access to a file: a user id and every group the user is in.
struct TFileUser {
  unsigned Uid = 0;
  std::vector<unsigned> Groups;
};
/// The running process's user and groups.
TFileUser CurrentFileUser();
/// Whether the write bits of a file (owner, group, others, as `mode` holds them) let `user`
/// write it. The bits are read for uid 0 as for anyone else: a file its owner made read-only,
/// or another user's file, is not for a save to replace, whatever the system would permit.
bool ModeLetsWrite(unsigned mode, unsigned owner, unsigned group, const TFileUser& user);
/// 0 when the current user may write the existing file `path` in place (its write bits and
/// the system's own check, which also covers read-only mounts), else the errno that tells why.
int FileWriteDenied(const std::string& path);

/// A folder only `uid` can enter, for files no other user may plant or read: `runtimeDir`
/// ($XDG_RUNTIME_DIR) when it is a real folder of that user closed to everyone else, else
/// "vortan-<uid>" in `fallbackBase`, created with mode 0700 (one of ours found open is closed
/// again). Empty when neither is possible, or the fallback exists with another owner or is
/// no real folder: there is then no private place.
std::string PrivateRuntimeDirectory(const std::string& runtimeDir, const std::string& fallbackBase,
                                    unsigned uid);

}  // namespace vortan::platform
