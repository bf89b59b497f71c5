#pragma once
// The texts of Edit > Insert: a comment header, a comment with the date and time, and four
// statement skeletons laid out for fixed form (statements from column 7).

#include <ctime>
#include <string>
#include <string_view>

namespace vortan {

/// The Insert entries by their action number.
enum class TCodeTemplate {
  Header = 0,
  DateTime = 1,
  IfThen = 2,
  DoWhile = 3,
  DoContinue = 4,
  StopEnd = 5
};

/// "dd/mm/yy hh:nn" (hours 00-23).
std::string FormatTemplateDateTime(const std::tm& local);

/// The text of an entry with CR LF breaks. `headerText` is the language's header (used by
/// Header only); `local` the time for Date and Time. An unknown number gives nothing.
std::string TemplateText(int tag, std::string_view headerText, const std::tm& local);

/// CR LF and a lone CR become LF, the text control's break; so a saved document never gets
/// CR CR LF from a template.
std::string ToControlBreaks(std::string_view text);

}  // namespace vortan
