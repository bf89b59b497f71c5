#pragma once
// The keyword lists that classify the analyzer's messages.

#include <string>
#include <string_view>
#include <vector>

#include "jobs/messagedata.h"

namespace vortan {

class TSettingsStore;

/// The lists of settings "Error", "Warning" and "Maybe"; the defaults are the settings' own.
struct TAnalyzerKeywords {
  std::vector<std::string> Error{"ERROR"};
  std::vector<std::string> Warning{"WARNING", "NONPORTABLE"};
  std::vector<std::string> Maybe{"POSSIBLY"};
};

/// Reads the three lists from the store.
TAnalyzerKeywords ReadAnalyzerKeywords(TSettingsStore& store);

/// True when `text` begins with a keyword, ignoring letter case; `kind` then becomes the kind of
/// the first list that matches, tried in the order Warning, Error, Maybe. Without a match
/// `kind` is left as it was. An empty keyword matches every text.
bool Classify(std::string_view text, const TAnalyzerKeywords& keywords, TMessageKind& kind);

}  // namespace vortan
