#pragma once
// Handing files and addresses to the desktop, and the one message for a companion file or
// program that is not installed.

#include <string>

namespace vortan {

/// Opens a local file (an optional "#fragment" kept) with the desktop's opener; false when
/// no opener took it.
bool OpenLocalFile(const std::string& fileName, const std::string& fragment = std::string());
/// Opens an address in the browser; false when nothing took it.
bool OpenAddress(const std::string& url);
/// "Sorry, extension not found": offers the project's website, opens it on Yes.
void ExtensionNotFound();

}  // namespace vortan
