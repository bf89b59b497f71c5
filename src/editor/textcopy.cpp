#include "editor/textcopy.h"

namespace vortan {

std::string TTextCopy::FileBytes() const {
  return JoinSource(platform::Utf8ToBytes(CodePage, Utf8), LineCount, LineBreak);
}

}  // namespace vortan
