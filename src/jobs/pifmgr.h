#pragma once
// Program information files: how a console window for a program is set up (title, memory,
// font, size) where the system reads such files.

#include <string>

namespace vortan {

/// Size of a program information file.
inline constexpr std::size_t PifFileSize = 995;

/// The program information file for `program`: a basic section and the "WINDOWS 286 3.0",
/// "WINDOWS 386 3.0" and "WINDOWS VMM 4.0" sections, little-endian, PifFileSize bytes.
/// The title holds the program's file name and the program field ".\" and its short name,
/// both in the console code page and cut at their fields' sizes.
std::string PifFileBytes(const std::string& program);

/// Writes PifFileBytes next to the program, named after it with the extension ".pif", over
/// any file of that name. Returns that name, or empty when the program file does not exist or
/// the file cannot be written.
std::string MakePifFile(const std::string& program);

}  // namespace vortan
