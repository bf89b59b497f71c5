#pragma once
// The findings of the check as you type, drawn in one text control: a wavy underline from the
// column to the end of the token, a gutter marker by kind, the message as a hover tip. The
// marks move with the lines around them and go when their line is changed.

#include <QObject>
#include <QString>
#include <string>
#include <vector>

#include "jobs/messagedata.h"

class QPainter;
class QRect;
class QsciScintilla;

namespace vortan {

/// One finding to be marked.
struct TLiveMark {
  /// 1-based, as the tools count.
  int Line = 0;
  /// 1-based; 0 when none was named.
  int Column = 0;
  TMessageKind Kind = mkError;
  std::string Text;
};

class TLiveMarks : public QObject {
 public:
  explicit TLiveMarks(QsciScintilla* edit);

  /// Replaces the marks. Findings outside the text are left out.
  void Show(const std::vector<TLiveMark>& marks);
  void Clear();

  /// The messages of the marks on the line of a position, one per line, decoded as the tools
  /// wrote them (the system's encoding); empty when none.
  QString TipAt(long position) const;
  /// Moves the caret to the first mark of the next (or previous) marked line, going round
  /// the end of the text; false when the text holds no mark.
  bool Step(bool forward);
  /// The lines (0-based, ascending) that carry a mark now.
  std::vector<long> MarkedLines() const;

  /// Paints the gutter marker of the strongest kind in `markers` (a line's marker bits).
  static void PaintGutterMark(QPainter& p, const QRect& box, long markers);

 private:
  struct TEntry {
    int Handle = -1;
    TMessageKind Kind = mkError;
    std::string Text;
  };
  void Define();
  void Modified(long position, int type);
  long LineOf(const TEntry& e) const;

  QsciScintilla* edit_;
  std::vector<TEntry> entries_;
};

}  // namespace vortan
