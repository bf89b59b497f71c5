#include "platform/shortname.h"

namespace vortan::platform {

std::string ShortPathName(const std::string& path) { return path; }

}  // namespace vortan::platform
