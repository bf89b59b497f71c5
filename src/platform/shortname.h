#pragma once
// Short (8.3) file names, which older consumers of program files need.

#include <string>

namespace vortan::platform {

/// The short form of an existing file's name. Where the system has no short names, the
/// name is returned unchanged.
std::string ShortPathName(const std::string& path);

}  // namespace vortan::platform
