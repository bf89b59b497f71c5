#include "editor/ui/editorpainter.h"

#include <QApplication>
#include <QFontMetrics>
#include <QImage>
#include <QPainter>
#include <algorithm>
#include <cmath>
#include <string>

#include "editor/ui/editormarks.h"
#include "editor/ui/livemarks.h"
#include "editor/ui/scicall.h"
#include "editor/ui/streaksynedit.h"

namespace vortan {

namespace {

using B = QsciScintillaBase;
using namespace marks;

// Width of the bookmark digits' column at the left of the gutter.
constexpr int kBookmarkArea = 14;
// The marks of one line stand side by side from the gutter's left, each kind in a lane of its
// own: bookmark, breakpoint (with the current line's arrow over it), finding.
constexpr int kMarksLeft = 2;
constexpr int kMarkLane = 13;
constexpr int kMarkGap = 1;
// Room kept between the last mark and the line number.
constexpr int kMarksToNumber = 2;
constexpr int kBookmarkWidth = 11;
constexpr int kFindingSize = 12;
constexpr long kDebugMarks = (1L << kBreakpointMarker) | (1L << kDebugLineMarker);
constexpr long kShownMarks = kBookmarkMask | kLiveMarks | kDebugMarks;

// The lanes a line needs beside the numbers. A bookmark alone keeps the gutter at its set
// width, drawn at its left over the numbers' room as it always was; room is made only for
// the marks of the debugger and the check as you type.
int Lanes(long marks) {
  if (!(marks & (kDebugMarks | kLiveMarks))) return 0;
  return ((marks & kBookmarkMask) != 0) + ((marks & kDebugMarks) != 0) +
         ((marks & kLiveMarks) != 0);
}

QImage BookmarkImage(int n) {
  QImage img(11, 14, QImage::Format_ARGB32_Premultiplied);
  img.fill(Qt::transparent);
  QPainter p(&img);
  p.setRenderHint(QPainter::Antialiasing, false);
  p.setPen(QColor(96, 64, 0));
  p.setBrush(QColor(255, 220, 96));
  p.drawRect(0, 0, 10, 13);
  QFont f;
  f.setPixelSize(11);
  f.setBold(true);
  p.setFont(f);
  p.setPen(Qt::black);
  p.drawText(QRect(0, 0, 11, 14), Qt::AlignCenter, QString::number(n));
  return img;
}

int Digits(long n) {
  int d = 1;
  while (n >= 10) {
    n /= 10;
    ++d;
  }
  return d;
}

}  // namespace

TEditorPainter::TEditorPainter(TStreakSynEdit& edit)
    : edit_(edit), streaks_([this](int column) { RepaintStreakStrip(column); }) {
  const int flash = QApplication::cursorFlashTime();
  caretTimer_.setInterval(flash > 0 ? flash / 2 : 500);
  QObject::connect(&caretTimer_, &QTimer::timeout, &edit_, [this] {
    caretVisible_ = !caretVisible_;
    RepaintCaret();
  });
  // Markers come in bursts (every line of a check's findings), and inside Scintilla's own
  // notifications: the gutter is sized once, afterwards.
  markersTimer_.setSingleShot(true);
  markersTimer_.setInterval(0);
  QObject::connect(&markersTimer_, &QTimer::timeout, &edit_, [this] {
    if (neededLanes_ <= markLanes_) return;
    markLanes_ = neededLanes_;
    ApplyGutter();
  });
}

// ---- guide lines ----

void TEditorPainter::SetStreaksColor(const QColor& color) {
  if (color == streaksColor_) return;
  streaksColor_ = color;
  for (int i = 0; i < streaks_.Count(); ++i) RepaintStreakStrip(streaks_.Item(i)->Column());
}

double TEditorPainter::ColumnWidth() const {
  // Characters may advance by a fraction of a pixel; a long run gives the exact advance.
  static const std::string run(100, 'X');
  const long w = SciPtr(&edit_, B::SCI_TEXTWIDTH, 0, run.c_str());
  return w > 0 ? static_cast<double>(w) / 100.0 : 1.0;
}

int TEditorPainter::CharWidth() const {
  return std::max(1, static_cast<int>(std::lround(ColumnWidth())));
}

int TEditorPainter::TextAreaLeft() const {
  int left = 0;
  for (int m = 0; m < 5; ++m) left += static_cast<int>(Sci(&edit_, B::SCI_GETMARGINWIDTHN, m));
  return left + static_cast<int>(Sci(&edit_, B::SCI_GETMARGINLEFT));
}

int TEditorPainter::StreakX(int column) const {
  return TextAreaLeft() - static_cast<int>(Sci(&edit_, B::SCI_GETXOFFSET)) +
         static_cast<int>(std::lround(column * ColumnWidth()));
}

int TEditorPainter::LineHeight() const {
  const int h = static_cast<int>(Sci(&edit_, B::SCI_TEXTHEIGHT, 0));
  return h > 0 ? h : 1;
}

void TEditorPainter::RepaintStreakStrip(int column) {
  if (column <= 0 || !edit_.testAttribute(Qt::WA_WState_Created)) return;
  const int x = StreakX(column);
  edit_.viewport()->update(QRect(x - 1, 0, 2, edit_.viewport()->height()));
}

void TEditorPainter::PaintStreaks(QPainter& p, const QRect& area) {
  const int left = TextAreaLeft();
  p.setPen(QPen(streaksColor_, 1));
  for (int i = 0; i < streaks_.Count(); ++i) {
    const int column = streaks_.Item(i)->Column();
    if (column <= 0) continue;
    const int x = StreakX(column);
    if (x < left || x < area.left() || x > area.right()) continue;
    p.drawLine(x, area.top(), x, area.bottom());
  }
}

// ---- gutter ----

int TEditorPainter::GutterWidth() const {
  return static_cast<int>(Sci(&edit_, B::SCI_GETMARGINWIDTHN, 0));
}

QString TEditorPainter::GutterText(int line) const {
  const TEditorSettings& s = edit_.Options().Settings;
  const long number = s.GutterStartAtZero ? line - 1 : line;
  QString text = QString::number(number);
  if (s.GutterShowLeadingZeros) {
    const long lines = Sci(&edit_, B::SCI_GETLINECOUNT);
    const int digits = std::max(4, Digits(s.GutterStartAtZero ? lines - 1 : lines));
    text = text.rightJustified(digits, QLatin1Char('0'));
  }
  return text;
}

void TEditorPainter::ApplyGutter() {
  const TSynOptions& o = edit_.Options();
  const TEditorSettings& s = o.Settings;
  const long lines = Sci(&edit_, B::SCI_GETLINECOUNT);
  gutterDigits_ = Digits(s.GutterStartAtZero ? lines - 1 : lines);
  int width = 0;
  if (s.GutterVisible) {
    // The numbers are drawn right-aligned, 3 pixels from the gutter's edge; the number of
    // the last line always fits, also beside a fixed width too narrow for it.
    int numbers = 0;
    if (s.GutterShowLineNumbers) {
      const QFont font = s.UseGutterFont ? o.GutterFont : o.Font;
      const int digits = s.GutterShowLeadingZeros ? std::max(4, gutterDigits_) : gutterDigits_;
      numbers = QFontMetrics(font).horizontalAdvance(QString(digits, QLatin1Char('0')));
    }
    // Marks stand left of the numbers, never over them.
    const int marks = markLanes_ > 0 ? kMarksLeft + markLanes_ * kMarkLane + kMarksToNumber : 0;
    if (s.GutterAutosize)
      width = std::max(kBookmarkArea + 4, marks + 3) + numbers;
    else
      width = std::max({0, s.GutterWidth, numbers > 0 ? numbers + 5 : 0, marks + numbers + 3});
  }
  if (width != GutterWidth()) Sci(&edit_, B::SCI_SETMARGINWIDTHN, 0, width);
  edit_.viewport()->update(QRect(0, 0, std::max(width, 1), edit_.viewport()->height()));
}

void TEditorPainter::LineCountChanged() {
  const long lines = Sci(&edit_, B::SCI_GETLINECOUNT);
  if (Digits(edit_.Options().Settings.GutterStartAtZero ? lines - 1 : lines) != gutterDigits_)
    ApplyGutter();
}

void TEditorPainter::RepaintGutter() {
  edit_.viewport()->update(QRect(0, 0, GutterWidth(), edit_.viewport()->height()));
}

void TEditorPainter::MarkersChanged(long line) {
  if (line >= 0) NeedMarkLanes(Lanes(Sci(&edit_, B::SCI_MARKERGET, line)));
}

void TEditorPainter::NeedMarkLanes(int lanes) {
  if (lanes <= std::max(markLanes_, neededLanes_)) return;
  neededLanes_ = lanes;
  if (!markersTimer_.isActive()) markersTimer_.start();
}

void TEditorPainter::PaintGutter(QPainter& p, const QRect& area) {
  const TSynOptions& o = edit_.Options();
  const int width = GutterWidth();
  const QRect gutter = QRect(0, 0, width, edit_.viewport()->height()) & area;
  if (width <= 0 || gutter.isEmpty()) return;
  p.save();
  p.setClipRect(gutter, Qt::IntersectClip);
  const QFont font = o.Settings.UseGutterFont ? o.GutterFont : o.Font;
  p.setFont(font);
  p.setPen(o.Settings.UseGutterFont && o.GutterFontColor.isValid()
               ? o.GutterFontColor
               : edit_.palette().color(QPalette::Text));
  const long first = Sci(&edit_, B::SCI_GETFIRSTVISIBLELINE);
  const long lines = Sci(&edit_, B::SCI_GETLINECOUNT);
  const int height = LineHeight();
  static const QImage* images = [] {
    static QImage all[kBookmarkCount];
    for (int n = 0; n < kBookmarkCount; ++n) all[n] = BookmarkImage(n);
    return all;
  }();
  for (long line = first; line < lines; ++line) {
    const int y = static_cast<int>(
        Sci(&edit_, B::SCI_POINTYFROMPOSITION, 0, Sci(&edit_, B::SCI_POSITIONFROMLINE, line)));
    if (y > gutter.bottom()) break;
    if (y + height < gutter.top()) continue;
    if (o.Settings.GutterShowLineNumbers)
      p.drawText(QRect(0, y, width - 3, height), Qt::AlignRight | Qt::AlignVCenter,
                 GutterText(static_cast<int>(line) + 1));
    const long allMarks = Sci(&edit_, B::SCI_MARKERGET, line);
    if (!(allMarks & kShownMarks)) continue;
    // Room for a line whose marks came together without a marker's notice.
    NeedMarkLanes(Lanes(allMarks));
    int x = kMarksLeft;
    const long bookmarks = allMarks & kBookmarkMask;
    if (bookmarks) {
      int n = 0;
      while (!(bookmarks & (1L << n))) ++n;
      const QImage& img = images[n];
      p.drawImage(QPoint(x, y + (height - img.height()) / 2), img);
      x += kBookmarkWidth + kMarkGap;
    }
    if (allMarks & kDebugMarks) {
      const int size = std::min(height, kBookmarkArea) - 4;
      if (size > 0) {
        PaintDebugMarks(p, allMarks, QRect(x, y + (height - size) / 2, size, size));
        x += size + kMarkGap;
      }
    }
    TLiveMarks::PaintGutterMark(
        p, QRect(x, y + (height - kFindingSize) / 2, kFindingSize, kFindingSize), allMarks);
  }
  p.restore();
}

void TEditorPainter::PaintDebugMarks(QPainter& p, long marks, const QRect& area) {
  p.save();
  p.setRenderHint(QPainter::Antialiasing);
  const bool breakpoint = marks & (1L << kBreakpointMarker);
  if (breakpoint) {
    p.setPen(QColor(128, 0, 0));
    p.setBrush(QColor(220, 30, 30));
    p.drawEllipse(area);
  }
  if (marks & (1L << kDebugLineMarker)) {
    // Over a breakpoint the arrow shrinks a little so that the dot's rim still shows.
    const int inset = breakpoint ? 1 : 0;
    const QRect box = area.adjusted(inset, inset, -inset, -inset);
    const int size = box.width();
    const QPolygon arrow({QPoint(box.left(), box.top() + size / 4),
                          QPoint(box.left() + size / 2, box.top() + size / 4),
                          QPoint(box.left() + size / 2, box.top()),
                          QPoint(box.right(), box.center().y()),
                          QPoint(box.left() + size / 2, box.bottom()),
                          QPoint(box.left() + size / 2, box.bottom() - size / 4),
                          QPoint(box.left(), box.bottom() - size / 4)});
    p.setPen(QColor(120, 90, 0));
    p.setBrush(QColor(255, 210, 0));
    p.drawPolygon(arrow);
  }
  p.restore();
}

// ---- special lines ----

void TEditorPainter::SetSpecialLines(const std::vector<int>& lines, const QColor& fore,
                                     const QColor& back) {
  if (lines.empty() && specialLines_.empty()) return;
  specialLines_ = lines;
  specialFore_ = fore;
  specialBack_ = back;
  ApplyErrorColors();
}

void TEditorPainter::ApplyErrorColors() {
  Sci(&edit_, B::SCI_MARKERDELETEALL, kErrorMarker);
  Sci(&edit_, B::SCI_SETINDICATORCURRENT, kErrorIndicator);
  Sci(&edit_, B::SCI_INDICATORCLEARRANGE, 0, Sci(&edit_, B::SCI_GETLENGTH));
  if (specialLines_.empty()) return;
  edit_.SendScintilla(B::SCI_MARKERSETBACK, static_cast<unsigned long>(kErrorMarker), specialBack_);
  edit_.SendScintilla(B::SCI_INDICSETFORE, static_cast<unsigned long>(kErrorIndicator),
                      specialFore_);
  const long lines = Sci(&edit_, B::SCI_GETLINECOUNT);
  for (int line : specialLines_) {
    if (line < 1 || line > lines) continue;
    Sci(&edit_, B::SCI_MARKERADD, line - 1, kErrorMarker);
    const long start = Sci(&edit_, B::SCI_POSITIONFROMLINE, line - 1);
    const long end =
        line < lines ? Sci(&edit_, B::SCI_POSITIONFROMLINE, line) : Sci(&edit_, B::SCI_GETLENGTH);
    if (end > start) Sci(&edit_, B::SCI_INDICATORFILLRANGE, start, end - start);
  }
}

// ---- caret ----

void TEditorPainter::RestartCaret(bool blink) {
  caretVisible_ = true;
  if (blink && caretTimer_.interval() > 0) caretTimer_.start();
  RepaintCaret();
}

void TEditorPainter::StopCaret() {
  caretTimer_.stop();
  RepaintCaret();
}

QRect TEditorPainter::CaretRect() const {
  const long pos = Sci(&edit_, B::SCI_GETCURRENTPOS);
  const long main = Sci(&edit_, B::SCI_GETMAINSELECTION);
  const int vs = static_cast<int>(Sci(&edit_, B::SCI_GETSELECTIONNCARETVIRTUALSPACE, main));
  const int cw = CharWidth();
  const int x = static_cast<int>(Sci(&edit_, B::SCI_POINTXFROMPOSITION, 0, pos)) + vs * cw;
  const int y = static_cast<int>(Sci(&edit_, B::SCI_POINTYFROMPOSITION, 0, pos));
  const int h = LineHeight();
  int w = cw;
  if (vs == 0 &&
      pos < Sci(&edit_, B::SCI_GETLINEENDPOSITION, Sci(&edit_, B::SCI_LINEFROMPOSITION, pos))) {
    const long next = Sci(&edit_, B::SCI_POSITIONAFTER, pos);
    w = std::max(1, static_cast<int>(Sci(&edit_, B::SCI_POINTXFROMPOSITION, 0, next)) - x);
  }
  const TSynOptions& o = edit_.Options();
  switch (edit_.InsertMode() ? o.InsertCaret() : o.OverwriteCaret()) {
    case TCaretShape::VerticalLine:
      return QRect(x - 1, y, 2, h);
    case TCaretShape::HorizontalLine:
      return QRect(x, y + h - 2, w, 2);
    case TCaretShape::HalfBlock:
      return QRect(x, y + h / 2, w, h - h / 2);
    case TCaretShape::Block:
      break;
  }
  return QRect(x, y, w, h);
}

void TEditorPainter::RepaintCaret() {
  if (!edit_.testAttribute(Qt::WA_WState_Created)) return;
  const QRect now = CaretRect();
  if (!caretRect_.isNull()) edit_.viewport()->update(caretRect_);
  edit_.viewport()->update(now);
  caretRect_ = now;
}

void TEditorPainter::PaintCaret(QPainter& p) {
  if (edit_.Options().Settings.NoCaret || !edit_.hasFocus() || !caretVisible_) return;
  QRect r = CaretRect();
  r.setLeft(std::max(r.left(), TextAreaLeft()));
  if (r.isEmpty()) return;
  p.setCompositionMode(QPainter::CompositionMode_Difference);
  p.fillRect(r, Qt::white);
  p.setCompositionMode(QPainter::CompositionMode_SourceOver);
}

void TEditorPainter::Paint(QPainter& p, const QRect& area) {
  PaintGutter(p, area);
  PaintStreaks(p, area);
  PaintCaret(p);
}

}  // namespace vortan
