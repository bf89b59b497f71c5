#include "jobs/analyzerkeywords.h"

#include "config/settingids.h"
#include "config/settingsstore.h"

namespace vortan {

namespace {

char Upper(char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c; }

bool BeginsWith(std::string_view text, std::string_view keyword) {
  if (keyword.size() > text.size()) return false;
  for (std::size_t i = 0; i < keyword.size(); ++i)
    if (Upper(text[i]) != Upper(keyword[i])) return false;
  return true;
}

bool AnyBeginning(std::string_view text, const std::vector<std::string>& list) {
  for (const std::string& keyword : list)
    if (BeginsWith(text, keyword)) return true;
  return false;
}

}  // namespace

TAnalyzerKeywords ReadAnalyzerKeywords(TSettingsStore& store) {
  TAnalyzerKeywords k;
  k.Error = store.ReadList(sidErrorList);
  k.Warning = store.ReadList(sidWarningList);
  k.Maybe = store.ReadList(sidMaybeList);
  return k;
}

bool Classify(std::string_view text, const TAnalyzerKeywords& keywords, TMessageKind& kind) {
  if (AnyBeginning(text, keywords.Warning)) {
    kind = mkWarning;
  } else if (AnyBeginning(text, keywords.Error)) {
    kind = mkError;
  } else if (AnyBeginning(text, keywords.Maybe)) {
    kind = mkMaybe;
  } else {
    return false;
  }
  return true;
}

}  // namespace vortan
