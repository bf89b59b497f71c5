#pragma once
// The desktop programs the Tools menu starts.

#include <string>
#include <vector>

namespace vortan {

/// Full name of the first program of the list found: a name with a separator must exist as
/// given, a bare name is looked up in PATH. Empty when none is found.
std::string FirstProgramFound(const std::vector<std::string>& candidates);
std::vector<std::string> CalculatorCandidates();

}  // namespace vortan
