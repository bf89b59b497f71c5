#pragma once
// Re-indenting fixed-form source through findent. The tool's output is taken only when the
// compiler would read the same program from it: every statement the same (blanks outside
// character constants aside), every label the same, no text moved past column 72, and the
// comments the same apart from leading blanks.

#include <string>
#include <string_view>
#include <vector>

namespace vortan {

struct TReindentResult {
  enum TStatus { Ok, ToolMissing, ToolFailed, ProgramChanged };
  TStatus Status = ToolFailed;
  std::vector<std::string> Lines;  ///< the re-indented lines (Ok only)
  std::string Detail;              ///< what went wrong, for the message
};

class TReindenter {
 public:
  /// `tool` is findent's path; `options` are added to "-ifixed -ofixed" (split at blanks).
  TReindenter(std::string tool, std::string options)
      : tool_(std::move(tool)), options_(std::move(options)) {}

  /// findent in the tools' folder, else on PATH; empty when there is none.
  static std::string FindTool(const std::string& binDir);

  /// Re-indents `lines`. With `fromFirstLine` the indentation starts from the first line's
  /// (a selection inside a unit).
  TReindentResult Run(const std::vector<std::string>& lines, bool fromFirstLine) const;

  /// What the compiler reads of the lines: one entry per statement (its label and its text
  /// with blanks outside constants removed) and one per comment (trimmed).
  static std::vector<std::string> CompiledView(const std::vector<std::string>& lines);

 private:
  std::string tool_;
  std::string options_;
};

}  // namespace vortan
