#pragma once
// The input histories of combo boxes (find texts, replacements, line numbers, option
// values): most recent first, each text once.

#include <cstddef>
#include <string>
#include <vector>

namespace vortan {

/// An empty text is not added; a text already listed (case ignored, as the combo box
/// compares) moves to the top in its new spelling; any other goes on top. No length limit.
void AddToHistory(std::vector<std::string>& history, const std::string& text);

/// The longest front part of the history whose stored form (every item followed by CR LF)
/// fits in `maxBytes`: the oldest entries give way, so a long history is still saved
/// instead of not at all.
std::vector<std::string> HistoryThatFits(const std::vector<std::string>& history,
                                         std::size_t maxBytes);

}  // namespace vortan
