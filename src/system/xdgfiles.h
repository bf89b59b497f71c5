#pragma once
// Helpers for the freedesktop.org files the desktop reads: base directories, desktop-entry
// values and Exec lines, the shared MIME database, and the refresh tools.

#include <string>
#include <string_view>
#include <vector>

namespace vortan::xdg {

/// $XDG_DATA_HOME or ~/.local/share, with a trailing separator; empty without a home.
std::string DataHome();
/// $XDG_CONFIG_HOME or ~/.config, with a trailing separator; empty without a home.
std::string ConfigHome();
/// $XDG_DATA_DIRS or /usr/local/share and /usr/share, each with a trailing separator.
std::vector<std::string> DataDirs();

/// A value of a desktop entry, escaped so that a reader gets back exactly `value`.
std::string EscapeValue(std::string_view value);
/// One argument of an Exec line, before value escaping: quoted only when it holds a reserved
/// character, '%' always doubled.
std::string ExecArgument(std::string_view argument);
/// The Exec value (already escaped) running `program` with `arguments`, then `fieldCodes`
/// (for example "%F") unchanged.
std::string ExecLine(const std::string& program, const std::vector<std::string>& arguments,
                     std::string_view fieldCodes = {});

/// The MIME type the shared MIME database gives files ending in `extension` (".f"), searched
/// in the user's data directory first and then in the system's; empty when none names it.
std::string LookupMimeType(std::string extension);

/// Runs a program found in PATH with the arguments, without a shell, and waits for it.
/// False when it cannot be started or does not end with status 0.
bool RunTool(const std::string& program, const std::vector<std::string>& arguments);

}  // namespace vortan::xdg
