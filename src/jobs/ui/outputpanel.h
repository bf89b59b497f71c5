#pragma once
// The Output panel's text view: the compiler's console text and the panel's commands.

#include <QObject>
#include <functional>
#include <string>

class QPlainTextEdit;

namespace vortan {

struct TFontSpec;

class TOutputPanel : public QObject {
 public:
  explicit TOutputPanel(QPlainTextEdit* memo);

  /// Given the line under a double click; true when it named a place and opened it (the
  /// click then selects nothing).
  std::function<bool(const std::string& line)> OpenPlace;

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
  bool eventFilter(QObject* watched, QEvent* e) override;

  QPlainTextEdit* memo_;
};

}  // namespace vortan
