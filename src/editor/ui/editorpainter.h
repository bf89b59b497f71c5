#pragma once
// What the text control paints over Scintilla's own painting: the column guide lines, the
// gutter (line numbers that may start at zero or carry leading zeros, bookmark digits), its
// four caret shapes with their blinking, and the lines painted in one pair of colours.

#include <QColor>
#include <QRect>
#include <QString>
#include <QTimer>
#include <vector>

#include "editor/streaks.h"

class QPainter;

namespace vortan {

class TStreakSynEdit;

class TEditorPainter {
 public:
  explicit TEditorPainter(TStreakSynEdit& edit);
  TEditorPainter(const TEditorPainter&) = delete;
  TEditorPainter& operator=(const TEditorPainter&) = delete;

  // Column guide lines
  TStreaks& Streaks() { return streaks_; }
  const TStreaks& Streaks() const { return streaks_; }
  QColor StreaksColor() const { return streaksColor_; }
  /// A different colour repaints the guides' strips only.
  void SetStreaksColor(const QColor& color);
  /// Viewport x of the guide drawn after `column` in the current view.
  int StreakX(int column) const;
  /// First viewport x of the text area: the gutter plus the text margin.
  int TextAreaLeft() const;
  /// Width of one character column of the text font, rounded to pixels.
  int CharWidth() const;
  int LineHeight() const;

  // Gutter
  /// Pixel width of the gutter as it is now (0 when hidden).
  int GutterWidth() const;
  /// The text of the line number shown for a (1-based) line.
  QString GutterText(int line) const;
  /// Sizes the gutter for the options and the number of lines, and repaints it.
  void ApplyGutter();
  /// After lines were added or removed: the gutter is sized again when the last line number
  /// has another number of digits.
  void LineCountChanged();
  /// Repaints the gutter (a bookmark came or went).
  void RepaintGutter();
  /// A marker came or went on a (0-based) line: the gutter widens, soon after, when the line
  /// carries more kinds of marks (bookmark, breakpoint or current line, finding) than it has
  /// room for beside the line numbers. It never narrows again, so the text does not jump
  /// while findings come and go as the user types.
  void MarkersChanged(long line);

  // Lines (1-based) painted in one pair of colours that replaces the syntax colours
  void SetSpecialLines(const std::vector<int>& lines, const QColor& fore, const QColor& back);
  bool HasSpecialLines() const { return !specialLines_.empty(); }
  /// Marks the special lines again after the text was replaced.
  void ApplyErrorColors();

  // Caret
  /// Shows the caret at once, blinking from now on when `blink`.
  void RestartCaret(bool blink);
  /// Stops the blinking (the control lost the focus).
  void StopCaret();
  /// The caret's place is measured anew at its next repaint (the view was resized).
  void ForgetCaretRect() { caretRect_ = QRect(); }

  /// Paints the gutter, the guides and the caret over the painted region `area`.
  void Paint(QPainter& p, const QRect& area);

 private:
  double ColumnWidth() const;
  void RepaintStreakStrip(int column);
  void PaintGutter(QPainter& p, const QRect& area);
  /// The breakpoint dot and the current line's arrow of one line, in the box.
  static void PaintDebugMarks(QPainter& p, long marks, const QRect& box);
  /// Asks for room for this many kinds of marks beside the numbers.
  void NeedMarkLanes(int lanes);
  void PaintStreaks(QPainter& p, const QRect& area);
  void PaintCaret(QPainter& p);
  QRect CaretRect() const;
  void RepaintCaret();

  TStreakSynEdit& edit_;
  TStreaks streaks_;
  QColor streaksColor_{192, 192, 192};
  int gutterDigits_ = 0;
  /// Kinds of marks the gutter keeps room for beside the numbers (see MarkersChanged).
  int markLanes_ = 0;
  int neededLanes_ = 0;
  QTimer markersTimer_;
  std::vector<int> specialLines_;
  QColor specialFore_, specialBack_;
  QTimer caretTimer_;
  bool caretVisible_ = true;
  QRect caretRect_;
};

}  // namespace vortan
