#pragma once
// The breakpoints of every file, kept between runs as one stored text: a line per breakpoint
// with its file, line, ignore count and condition.

#include <map>
#include <string>
#include <vector>

namespace vortan {

struct TBreakpoint {
  int Line = 0;  ///< 1-based
  std::string Condition;
  int IgnoreCount = 0;
};

class TBreakpointList {
 public:
  /// Sets a breakpoint on the line, or clears the one there; true when one is set now.
  bool Toggle(const std::string& file, int line);
  /// The breakpoint of the line, or null.
  TBreakpoint* Find(const std::string& file, int line);
  const std::vector<TBreakpoint>& Of(const std::string& file) const;
  /// Moves the file's breakpoints to the lines given, in order (the editor moved them with
  /// the text); conditions and counts follow their breakpoint.
  void MoveTo(const std::string& file, const std::vector<int>& lines);
  /// Every file that has breakpoints.
  std::vector<std::string> Files() const;

  /// Tab-separated lines "file, line, ignore count, condition"; a file name or condition with
  /// a tab or line end cannot be stored and is left out.
  std::string ToText() const;
  /// Reads ToText's form; lines that do not read are dropped.
  static TBreakpointList FromText(const std::string& text);

 private:
  std::map<std::string, std::vector<TBreakpoint>> files_;
};

}  // namespace vortan
