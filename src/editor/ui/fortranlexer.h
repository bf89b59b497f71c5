#pragma once
// Lets QScintilla colour a document with the shared Fortran highlighter. Styling starts at the
// first line Scintilla reports as changed, with the scanner state stored at the end of the
// line before it, and runs over the lines Scintilla asks for. The states are kept here, not in
// Scintilla's per-line state: Scintilla repaints the whole view for every line state that
// changes outside painting, which colouring off-screen lines would otherwise cost. The rest of the
// document is coloured in idle time, a small slice per turn of the event loop, so that a jump far
// down finds its lines ready; after an edit that waits until the typing pauses.

#include <Qsci/qscilexercustom.h>

#include <QColor>
#include <QFont>
#include <QTimer>
#include <string>
#include <vector>

#include "config/storedformats.h"
#include "editor/fortranscanner.h"
#include "platform/codepage.h"

namespace vortan {

class TSynFortranSyn;

class TFortranLexer : public QsciLexerCustom {
  Q_OBJECT
 public:
  /// Style 0 paints plain text; a token of attribute A (TFortranAttribute) gets style A + 1.
  static constexpr int StyleDefault = 0;
  /// Text past column 72 of a statement line.
  static constexpr int StyleIgnored = 8;
  static int StyleOf(TTokenKind kind);

  TFortranLexer(TSynFortranSyn* highlighter, QObject* parent = nullptr);
  ~TFortranLexer() override;

  const char* language() const override { return "Fortran"; }
  QString description(int style) const override;
  const char* wordCharacters() const override;
  QColor defaultColor(int style) const override;
  QColor defaultPaper(int style) const override;
  QFont defaultFont(int style) const override;
  void styleText(int start, int end) override;

  /// The page the document's characters are stored in (the scanner works on bytes).
  void SetCodePage(platform::TCodePage page) { codePage_ = page; }
  /// The text font and the colours of text without colours of its own.
  void SetBase(const QFont& font, const QColor& fore, const QColor& back);
  /// Takes the highlighter's attributes again (after they changed).
  void Refresh();

  /// Lines scanned so far (shows how much a change restyles).
  long long ScannedLines() const { return scannedLines_; }

  /// Starts colouring the rest of the document in idle time now (a document was loaded, or
  /// all of it must be coloured again).
  void ColourInBackground();
  /// Every character of the document has its style.
  bool FullyStyled() const;

  void setEditor(QsciScintilla* editor) override;

 private:
  void ColourSlice();
  const THighlightAttribute* AttributeOf(int style) const;
  QColor ForeOf(int style) const;
  QColor BackOf(int style) const;
  QFont FontOf(int style) const;

  TSynFortranSyn* highlighter_;
  int handlerId_ = 0;
  platform::TCodePage codePage_ = platform::TCodePage::Oem;
  QFont baseFont_;
  QColor baseFore_{Qt::black}, baseBack_{Qt::white};
  long long scannedLines_ = 0;
  std::vector<char> styles_;
  std::vector<unsigned char> lineStates_;  // scanner state at the end of each styled line
  std::string lineBytes_;
  std::vector<int> offsets_;
  QTimer idle_;    // one slice per timeout while colouring in the background
  QTimer resume_;  // goes on colouring once the edits pause
  QMetaObject::Connection modified_;
};

}  // namespace vortan
