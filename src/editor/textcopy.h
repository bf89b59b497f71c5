#pragma once
// A document's text as the control holds it (UTF-8, lines separated by LF), copied at once, so
// that a worker can make the file's bytes of it later without holding up typing.

#include <cstddef>
#include <string>

#include "editor/sourcefile.h"
#include "platform/codepage.h"

namespace vortan {

struct TTextCopy {
  std::string Utf8;
  platform::TCodePage CodePage = platform::TCodePage::Oem;
  std::size_t LineCount = 0;
  TLineBreak LineBreak = TLineBreak::CRLF;

  /// The bytes the document would be saved as: the code page's bytes, every line followed by
  /// the break.
  std::string FileBytes() const;
};

}  // namespace vortan
