#pragma once
// One line of gdb's machine interface (gdb/MI): result, async and stream records, their
// values (c-strings, tuples, lists), and the quoting of a command's arguments.

#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace vortan {

/// A value of a record: a c-string, a tuple {a=...} or a list [...] (of values or of
/// name=value results; a list's items keep their names, empty for bare values).
struct TMiValue {
  enum TKind { String, Tuple, List };
  TKind Kind = String;
  std::string Text;
  std::vector<std::pair<std::string, TMiValue>> Items;

  /// The first item named `name`; an empty value when there is none.
  const TMiValue& operator[](std::string_view name) const;
  bool Has(std::string_view name) const;
  /// The text of the item named `name` ("" when missing or not a string).
  const std::string& Str(std::string_view name) const;
  /// The item named `name` read as a decimal number; `fallback` when missing or not a number.
  long Num(std::string_view name, long fallback = -1) const;
};

struct TMiRecord {
  enum TType {
    Invalid,
    Result,       ///< ^done, ^running, ^connected, ^error, ^exit
    ExecAsync,    ///< *running, *stopped
    StatusAsync,  ///< +...
    NotifyAsync,  ///< =...
    Console,      ///< ~"..."
    Target,       ///< @"..."
    Log,          ///< &"..."
    Prompt,       ///< (gdb)
  };
  TType Type = Invalid;
  /// The command's token the record answers; -1 when it carries none.
  long Token = -1;
  /// "done", "error", "stopped" ...; empty for stream records.
  std::string Class;
  /// The results (a tuple), or for a stream record its text in Results.Text.
  TMiValue Results;
};

/// Reads one line of gdb/MI output (without its line end). A line that is no record, or
/// one cut off, gives an Invalid record.
TMiRecord ParseMiRecord(std::string_view line);

/// A command argument as an MI c-string: quoted, with backslash, quote and line ends escaped.
std::string MiQuote(std::string_view text);

}  // namespace vortan
