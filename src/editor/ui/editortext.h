#pragma once
// The text control's document as bytes in an 8-bit code page. Scintilla holds them as UTF-8
// of the page's characters: every byte decodes to a distinct character, so the bytes come
// back unchanged, and switching the page only changes what the same bytes show as. Lines are
// separated by LF inside the control; the window adds the file's own breaks when saving.

#include <QString>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "editor/textsearch.h"
#include "platform/codepage.h"

class QsciScintillaBase;

namespace vortan {

class TEditorText {
 public:
  explicit TEditorText(QsciScintillaBase& control) : control_(control) {}
  TEditorText(const TEditorText&) = delete;
  TEditorText& operator=(const TEditorText&) = delete;

  platform::TCodePage CodePage() const { return codePage_; }
  /// Shows every line with characters beyond ASCII through `page` instead: the bytes stay,
  /// and so does every line with its marks. The caller keeps this out of the undo history.
  void ShowThrough(platform::TCodePage page);

  /// The control's UTF-8 for bytes of the page.
  std::string Utf8(std::string_view bytes) const;
  /// Lines separated by LF.
  std::string Bytes() const;
  /// The control's own UTF-8 text, copied as it stands (no conversion: fast for any size).
  std::string ControlText() const;
  /// 1-based; without the break.
  std::string LineBytes(int line) const;
  /// The selected text; each line of a column block is followed by LF.
  std::string SelectedBytes() const;

  /// Document position of a byte offset in a 0-based line whose bytes are `lineBytes`.
  long BytePosition(int line, std::string_view lineBytes, int byte) const;
  /// Line number and byte offset of a document position.
  TTextPoint PointOf(long position) const;
  TTextPoint CaretPoint() const;
  /// A selection that is no column block is whole lines when `lineMode`.
  TSelectionInfo SelectionInfo(bool lineMode) const;

  /// The smallest replacement that makes the 0-based lines [first, first + size) read
  /// `lines`: only the span from the first to the last byte that differs, cut at whole
  /// characters. None when nothing differs or the lines are not all there.
  struct TReplacement {
    long Start = 0, End = 0;  // document positions
    std::string Utf8;
  };
  std::optional<TReplacement> LinesReplacement(int first,
                                               const std::vector<std::string>& lines) const;

  /// Whether the page has a byte for every character.
  bool Accepts(const QString& text) const;
  /// What a save and a reload would give: characters the page lacks become '?', and a NUL is
  /// a line break like in a loaded file.
  QString ThroughPage(const QString& text) const;

 private:
  QsciScintillaBase& control_;
  platform::TCodePage codePage_ = platform::TCodePage::Oem;
};

}  // namespace vortan
