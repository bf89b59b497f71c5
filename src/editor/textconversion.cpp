#include "editor/textconversion.h"

namespace vortan {

std::string ConvertBytes(int tag, platform::TCodePage documentPage, std::string_view bytes) {
  switch (static_cast<TConversion>(tag)) {
    case TConversion::ToUpperCase:
      return platform::ToUpper(documentPage, bytes);
    case TConversion::ToLowerCase:
      return platform::ToLower(documentPage, bytes);
    case TConversion::ToAnsi:
      return platform::OemToAnsi(bytes);
    case TConversion::ToOem:
      return platform::AnsiToOem(bytes);
  }
  return std::string(bytes);
}

}  // namespace vortan
