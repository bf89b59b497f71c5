#pragma once
// Opening a local document with the desktop's default program.

#include <string>

namespace vortan {

/// Hands `file`, at the anchor `fragment` when one is given, to the desktop's opener
/// (xdg-open and its kin). False when there is no opener or it could not be started.
bool OpenDocumentAt(const std::string& file, const std::string& fragment = std::string());

}  // namespace vortan
