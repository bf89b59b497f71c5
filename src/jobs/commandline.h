#pragma once
// Command-line text as the tool formats build it, and the argument vector a child is given.

#include <string>
#include <string_view>
#include <vector>

namespace vortan {

/// Splits a command line into arguments. Blanks and tabs separate arguments outside double
/// quotes; quotes group and are removed; a backslash is literal except before a quote:
/// 2n backslashes and a quote give n backslashes and toggle quoting, 2n+1 give n backslashes
/// and a literal quote. `""` stands for an empty argument.
std::vector<std::string> SplitCommandLine(std::string_view text);

/// The argument in double quotes, escaped so that SplitCommandLine gives it back unchanged.
/// A name without quotes or trailing backslashes is simply enclosed in quotes.
std::string QuoteArgument(std::string_view argument);

/// Substitutes the arguments in order for the "%s" placeholders of a format; "%%" gives "%".
/// Placeholders without an argument become empty, arguments without a placeholder are dropped,
/// and any other "%" stays as it is.
std::string FormatArguments(std::string_view format, const std::vector<std::string>& arguments);

}  // namespace vortan
