#include "editor/ui/fortranlexer.h"

#include <Qsci/qsciscintilla.h>

#include <algorithm>

#include "editor/fixedformline.h"
#include "editor/fortranhighlighter.h"
#include "editor/ui/scicall.h"
#include "widgets/qtconvert.h"

namespace vortan {

namespace {

// Bytes coloured per idle turn (whole lines): about a millisecond of work, so a key pressed
// meanwhile waits no longer than that.
constexpr long kSliceBytes = 32 * 1024;
// Quiet time after an edit before the rest of the document is coloured again.
constexpr int kResumeAfterEditMs = 300;

// Decodes one UTF-8 sequence starting at text[i] (i < n); returns its code point and moves i.
char32_t NextCodePoint(const char* text, int n, int& i) {
  const auto b0 = static_cast<unsigned char>(text[i]);
  int extra = b0 >= 0xF0 ? 3 : b0 >= 0xE0 ? 2 : b0 >= 0xC0 ? 1 : 0;
  char32_t cp = extra == 3   ? (b0 & 0x07u)
                : extra == 2 ? (b0 & 0x0Fu)
                : extra == 1 ? (b0 & 0x1Fu)
                             : b0;
  ++i;
  while (extra-- > 0 && i < n && (static_cast<unsigned char>(text[i]) & 0xC0) == 0x80) {
    cp = (cp << 6) | (static_cast<unsigned char>(text[i]) & 0x3Fu);
    ++i;
  }
  return cp;
}

}  // namespace

int TFortranLexer::StyleOf(TTokenKind kind) {
  const int index = TSynFortranSyn::AttributeIndexOf(kind);
  return index < 0 ? StyleDefault : index + 1;
}

TFortranLexer::TFortranLexer(TSynFortranSyn* highlighter, QObject* parent)
    : QsciLexerCustom(parent), highlighter_(highlighter) {
  setAutoIndentStyle(QsciScintilla::AiMaintain);
  if (highlighter_) handlerId_ = highlighter_->AddChangeHandler([this] { Refresh(); });
  idle_.setInterval(0);
  connect(&idle_, &QTimer::timeout, this, &TFortranLexer::ColourSlice);
  resume_.setSingleShot(true);
  resume_.setInterval(kResumeAfterEditMs);
  connect(&resume_, &QTimer::timeout, this, [this] { idle_.start(); });
}

TFortranLexer::~TFortranLexer() {
  if (highlighter_) highlighter_->RemoveChangeHandler(handlerId_);
}

void TFortranLexer::setEditor(QsciScintilla* ed) {
  QObject::disconnect(modified_);
  idle_.stop();
  resume_.stop();
  lineStates_.clear();
  QsciLexerCustom::setEditor(ed);
  if (!ed) return;
  // An edit makes Scintilla forget the styles from its position on; colour them again
  // once the typing pauses rather than after every key.
  modified_ = connect(
      ed,
      qOverload<int, int, const char*, int, int, int, int, int, int, int>(
          &QsciScintillaBase::SCN_MODIFIED),
      this, [this](int, int type, const char*, int, int, int, int, int, int, int) {
        if (!(type & (QsciScintillaBase::SC_MOD_INSERTTEXT | QsciScintillaBase::SC_MOD_DELETETEXT)))
          return;
        idle_.stop();
        resume_.start();
      });
}

void TFortranLexer::ColourInBackground() {
  resume_.stop();
  if (editor() && !FullyStyled()) idle_.start();
}

bool TFortranLexer::FullyStyled() const {
  QsciScintilla* ed = editor();
  if (!ed) return true;
  using B = QsciScintillaBase;
  return Sci(ed, B::SCI_GETENDSTYLED) >= Sci(ed, B::SCI_GETLENGTH);
}

void TFortranLexer::ColourSlice() {
  QsciScintilla* ed = editor();
  if (!ed || !highlighter_ || FullyStyled()) {
    idle_.stop();
    return;
  }
  using B = QsciScintillaBase;
  const long length = Sci(ed, B::SCI_GETLENGTH);
  const long from = Sci(ed, B::SCI_POSITIONFROMLINE,
                        Sci(ed, B::SCI_LINEFROMPOSITION, Sci(ed, B::SCI_GETENDSTYLED)));
  const long lastLine = Sci(ed, B::SCI_LINEFROMPOSITION, std::min(length, from + kSliceBytes));
  const long lines = Sci(ed, B::SCI_GETLINECOUNT);
  const long to = lastLine + 1 < lines ? Sci(ed, B::SCI_POSITIONFROMLINE, lastLine + 1) : length;
  // Styling lines off screen repaints nothing.
  styleText(static_cast<int>(from), static_cast<int>(to));
  if (Sci(ed, B::SCI_GETENDSTYLED) < to) idle_.stop();  // the text could not be read: no loop
}

QString TFortranLexer::description(int style) const {
  if (style == StyleDefault) return QStringLiteral("Default");
  if (style >= 1 && style <= FortranAttributeCount)
    return QString::fromLatin1(TSynFortranSyn::AttributeName(style - 1));
  if (style == StyleIgnored) return QString::fromLatin1(TSynFortranSyn::IgnoredAttributeName());
  return {};
}

const char* TFortranLexer::wordCharacters() const {
  return "0123456789ABCDEFGHIJKLMNOPQRSTUVWXYZ_abcdefghijklmnopqrstuvwxyz";
}

const THighlightAttribute* TFortranLexer::AttributeOf(int style) const {
  if (!highlighter_) return nullptr;
  if (style >= 1 && style <= FortranAttributeCount) return &highlighter_->Attribute(style - 1);
  if (style == StyleIgnored) return &highlighter_->IgnoredAttribute();
  return nullptr;
}

QColor TFortranLexer::ForeOf(int style) const {
  const THighlightAttribute* a = AttributeOf(style);
  return a && a->Foreground ? ToQColor(*a->Foreground) : baseFore_;
}

QColor TFortranLexer::BackOf(int style) const {
  const THighlightAttribute* a = AttributeOf(style);
  return a && a->Background ? ToQColor(*a->Background) : baseBack_;
}

QFont TFortranLexer::FontOf(int style) const {
  QFont f = baseFont_;
  if (const THighlightAttribute* a = AttributeOf(style)) {
    f.setBold(a->Bold);
    f.setItalic(a->Italic);
    f.setUnderline(a->Underline);
    f.setStrikeOut(a->StrikeOut);
  }
  return f;
}

QColor TFortranLexer::defaultColor(int style) const { return ForeOf(style); }
QColor TFortranLexer::defaultPaper(int style) const { return BackOf(style); }
QFont TFortranLexer::defaultFont(int style) const { return FontOf(style); }

void TFortranLexer::SetBase(const QFont& font, const QColor& fore, const QColor& back) {
  baseFont_ = font;
  baseFore_ = fore;
  baseBack_ = back;
  setDefaultFont(font);
  setDefaultColor(fore);
  setDefaultPaper(back);
  Refresh();
}

void TFortranLexer::Refresh() {
  for (int style = 0; style <= StyleIgnored; ++style) {
    setColor(ForeOf(style), style);
    setPaper(BackOf(style), style);
    setFont(FontOf(style), style);
  }
}

void TFortranLexer::styleText(int start, int end) {
  QsciScintilla* ed = editor();
  if (!ed || !highlighter_ || end <= start) return;
  using B = QsciScintillaBase;
  const long docLength = Sci(ed, B::SCI_GETLENGTH);
  const long lineCount = Sci(ed, B::SCI_GETLINECOUNT);
  const long firstLine = Sci(ed, B::SCI_LINEFROMPOSITION, start);
  long lastLine = Sci(ed, B::SCI_LINEFROMPOSITION, end);
  if (lastLine > firstLine && Sci(ed, B::SCI_POSITIONFROMLINE, lastLine) == end)
    --lastLine;  // `end` is the start of a line that was not asked for
  const long from = Sci(ed, B::SCI_POSITIONFROMLINE, firstLine);
  const long to =
      lastLine + 1 < lineCount ? Sci(ed, B::SCI_POSITIONFROMLINE, lastLine + 1) : docLength;
  if (to <= from) return;
  const char* text =
      reinterpret_cast<const char*>(Sci(ed, B::SCI_GETRANGEPOINTER, from, to - from));
  if (!text) return;
  styles_.assign(static_cast<std::size_t>(to - from),
                 static_cast<char>(StyleOf(TTokenKind::Space)));

  // Every line before the first one asked for was styled after the last change at or before
  // it (a change sends the styling back to its own line), so its stored state is current.
  int state = rsNone;
  if (firstLine > 0 && static_cast<std::size_t>(firstLine - 1) < lineStates_.size())
    state = lineStates_[static_cast<std::size_t>(firstLine - 1)];
  if (lineStates_.size() < static_cast<std::size_t>(lastLine + 1))
    lineStates_.resize(static_cast<std::size_t>(lineCount), static_cast<unsigned char>(rsNone));
  TSynFortranSyn& syn = *highlighter_;
  for (long line = firstLine; line <= lastLine; ++line) {
    const long lineStart = Sci(ed, B::SCI_POSITIONFROMLINE, line);
    const long lineEnd = Sci(ed, B::SCI_GETLINEENDPOSITION, line);
    const char* p = text + (lineStart - from);
    const int n = static_cast<int>(lineEnd - lineStart);
    char* out = styles_.data() + (lineStart - from);
    bool ascii = true;
    for (int i = 0; i < n; ++i)
      if (static_cast<unsigned char>(p[i]) >= 0x80) {
        ascii = false;
        break;
      }
    std::string_view bytes;
    if (ascii) {
      bytes = std::string_view(p, static_cast<std::size_t>(n));
    } else {
      // Back to the page's bytes for the scanner, remembering where each byte's character
      // starts in the UTF-8 text.
      lineBytes_.clear();
      offsets_.clear();
      int i = 0;
      while (i < n) {
        offsets_.push_back(i);
        const char32_t cp = NextCodePoint(p, n, i);
        const auto b = platform::FromUnicode(codePage_, cp);
        lineBytes_.push_back(static_cast<char>(b ? *b : '?'));
      }
      offsets_.push_back(n);
      bytes = lineBytes_;
    }
    syn.SetRange(state);
    syn.SetLine(bytes, static_cast<int>(line) + 1);
    while (!syn.GetEol()) {
      const char style = static_cast<char>(StyleOf(syn.GetTokenKind()));
      int a = syn.GetTokenPos();
      int b = a + syn.GetTokenLen();
      if (!ascii) {
        a = offsets_[static_cast<std::size_t>(a)];
        b = offsets_[static_cast<std::size_t>(b)];
      }
      std::fill(out + a, out + b, style);
      syn.Next();
    }
    // The compiler stops reading a statement line at column 72.
    constexpr int kLast = TFixedFormLine::kLastColumn;
    if (static_cast<int>(bytes.size()) > kLast && TFixedFormLine::Of(bytes).IsCode()) {
      const int a = ascii ? kLast : offsets_[static_cast<std::size_t>(kLast)];
      std::fill(out + a, out + n, static_cast<char>(StyleIgnored));
    }
    state = syn.GetRange();
    lineStates_[static_cast<std::size_t>(line)] = static_cast<unsigned char>(state);
    ++scannedLines_;
  }
  Sci(ed, B::SCI_STARTSTYLING, from, 0x1f);
  SciPtr(ed, B::SCI_SETSTYLINGEX, to - from, styles_.data());
}

}  // namespace vortan
