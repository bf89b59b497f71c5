#pragma once
// The Output panel's text view: the compiler's console text and the panel's commands.

#include <string>

class QPlainTextEdit;

namespace vortan {

struct TFontSpec;

class TOutputPanel {
 public:
  explicit TOutputPanel(QPlainTextEdit* memo) : memo_(memo) {}

  QPlainTextEdit* Memo() const { return memo_; }
  /// Replaces the text with a tool's output, split into lines at CR LF, CR or LF. The bytes
  /// are console text, read in the system's own encoding.
  void SetOutput(const std::string& output);
  /// The text as shown, lines separated by LF.
  std::string Text() const;
  bool HasText() const;
  /// Clear Output.
  void Clear();
  /// Copy to Clipboard: the selected text; the clipboard stays unchanged without a selection.
  void CopyToClipboard();
  /// Select Font: the font dialog preset with `font`; on OK the panel and `font` take the
  /// chosen one. False when the dialog was cancelled.
  bool SelectFont(TFontSpec& font);

 private:
  QPlainTextEdit* memo_;
};

}  // namespace vortan
