#include "editor/ui/livemarks.h"

#include <Qsci/qsciscintilla.h>

#include <QPainter>
#include <QPolygon>
#include <algorithm>

#include "editor/markspan.h"
#include "editor/ui/editormarks.h"
#include "editor/ui/scicall.h"
#include "widgets/qtconvert.h"

namespace vortan {

namespace {

using B = QsciScintillaBase;
using namespace marks;

int MarkerOf(TMessageKind kind) {
  return kind == mkError     ? kLiveErrorMarker
         : kind == mkWarning ? kLiveWarningMarker
                             : kLiveMaybeMarker;
}
int IndicatorOf(TMessageKind kind) {
  return kind == mkError     ? kLiveErrorIndicator
         : kind == mkWarning ? kLiveWarningIndicator
                             : kLiveMaybeIndicator;
}

// Red for errors, orange for warnings, blue for may-be findings, as Scintilla's BGR.
constexpr long kErrorColour = 0x0000D0;
constexpr long kWarningColour = 0x0080E0;
constexpr long kMaybeColour = 0xD07000;

}  // namespace

TLiveMarks::TLiveMarks(QsciScintilla* edit) : QObject(edit), edit_(edit) {
  Define();
  connect(edit_,
          qOverload<int, int, const char*, int, int, int, int, int, int, int>(
              &QsciScintillaBase::SCN_MODIFIED),
          this, [this](int position, int type, const char*, int, int, int, int, int, int, int) {
            Modified(position, type);
          });
}

void TLiveMarks::Define() {
  const std::pair<int, long> kinds[] = {{kLiveErrorIndicator, kErrorColour},
                                        {kLiveWarningIndicator, kWarningColour},
                                        {kLiveMaybeIndicator, kMaybeColour}};
  for (auto [indicator, colour] : kinds) {
    Sci(edit_, B::SCI_INDICSETSTYLE, indicator, B::INDIC_SQUIGGLE);
    Sci(edit_, B::SCI_INDICSETFORE, indicator, colour);
    Sci(edit_, B::SCI_INDICSETUNDER, indicator, 1);
  }
  // Drawn by the gutter painting; Scintilla only keeps them with their lines.
  for (int m : {kLiveErrorMarker, kLiveWarningMarker, kLiveMaybeMarker})
    Sci(edit_, B::SCI_MARKERDEFINE, m, B::SC_MARK_EMPTY);
}

void TLiveMarks::Clear() {
  for (int m : {kLiveErrorMarker, kLiveWarningMarker, kLiveMaybeMarker})
    Sci(edit_, B::SCI_MARKERDELETEALL, m);
  const long length = Sci(edit_, B::SCI_GETLENGTH);
  for (int i : {kLiveErrorIndicator, kLiveWarningIndicator, kLiveMaybeIndicator}) {
    Sci(edit_, B::SCI_SETINDICATORCURRENT, i);
    Sci(edit_, B::SCI_INDICATORCLEARRANGE, 0, length);
  }
  entries_.clear();
  edit_->viewport()->update();
}

void TLiveMarks::Show(const std::vector<TLiveMark>& marks) {
  Clear();
  const long lines = Sci(edit_, B::SCI_GETLINECOUNT);
  for (const TLiveMark& mark : marks) {
    const long line = mark.Line - 1;
    if (line < 0 || line >= lines) continue;
    const long start = Sci(edit_, B::SCI_POSITIONFROMLINE, line);
    const long end = Sci(edit_, B::SCI_GETLINEENDPOSITION, line);
    QByteArray text(static_cast<int>(end - start), '\0');
    if (end > start) {
      Sci(edit_, B::SCI_SETTARGETRANGE, start, end);
      SciPtr(edit_, B::SCI_GETTARGETTEXT, 0, text.data());
    }
    const TMarkSpan span = MarkSpan(std::string_view(text.constData(), text.size()), mark.Column);
    if (span.End > span.Start) {
      Sci(edit_, B::SCI_SETINDICATORCURRENT, IndicatorOf(mark.Kind));
      Sci(edit_, B::SCI_INDICATORFILLRANGE, start + span.Start, span.End - span.Start);
    }
    const int handle = static_cast<int>(Sci(edit_, B::SCI_MARKERADD, line, MarkerOf(mark.Kind)));
    // A tool may echo control characters from the text; a tip shows them as blanks.
    std::string tip = mark.Text;
    for (char& c : tip)
      if (static_cast<unsigned char>(c) < 0x20) c = ' ';
    entries_.push_back({handle, mark.Kind, std::move(tip)});
  }
  edit_->viewport()->update();
}

void TLiveMarks::Modified(long position, int type) {
  if (entries_.empty() || !(type & (B::SC_MOD_INSERTTEXT | B::SC_MOD_DELETETEXT))) return;
  const long line = Sci(edit_, B::SCI_LINEFROMPOSITION, position);
  if (!(Sci(edit_, B::SCI_MARKERGET, line) & kLiveMarks)) return;
  // The findings were about the line as it was; after a change they would point wrongly.
  for (int m : {kLiveErrorMarker, kLiveWarningMarker, kLiveMaybeMarker})
    while (Sci(edit_, B::SCI_MARKERGET, line) & (1L << m)) Sci(edit_, B::SCI_MARKERDELETE, line, m);
  const long start = Sci(edit_, B::SCI_POSITIONFROMLINE, line);
  const long end = Sci(edit_, B::SCI_GETLINEENDPOSITION, line);
  for (int i : {kLiveErrorIndicator, kLiveWarningIndicator, kLiveMaybeIndicator}) {
    Sci(edit_, B::SCI_SETINDICATORCURRENT, i);
    Sci(edit_, B::SCI_INDICATORCLEARRANGE, start, end - start);
  }
  std::erase_if(entries_, [this](const TEntry& e) { return LineOf(e) < 0; });
}

long TLiveMarks::LineOf(const TEntry& e) const {
  return Sci(edit_, B::SCI_MARKERLINEFROMHANDLE, e.Handle);
}

QString TLiveMarks::TipAt(long position) const {
  if (entries_.empty() || position < 0) return {};
  const long line = Sci(edit_, B::SCI_LINEFROMPOSITION, position);
  std::string tip;
  for (const TEntry& e : entries_)
    if (LineOf(e) == line) {
      if (!tip.empty()) tip += '\n';
      tip += e.Text;
    }
  return Local(tip);
}

std::vector<long> TLiveMarks::MarkedLines() const {
  std::vector<long> lines;
  for (const TEntry& e : entries_)
    if (const long line = LineOf(e); line >= 0) lines.push_back(line);
  std::sort(lines.begin(), lines.end());
  lines.erase(std::unique(lines.begin(), lines.end()), lines.end());
  return lines;
}

bool TLiveMarks::Step(bool forward) {
  const std::vector<long> lines = MarkedLines();
  if (lines.empty()) return false;
  const long caret = Sci(edit_, B::SCI_LINEFROMPOSITION, Sci(edit_, B::SCI_GETCURRENTPOS));
  long target;
  if (forward) {
    const auto next = std::upper_bound(lines.begin(), lines.end(), caret);
    target = next == lines.end() ? lines.front() : *next;
  } else {
    const auto prev = std::lower_bound(lines.begin(), lines.end(), caret);
    target = prev == lines.begin() ? lines.back() : *(prev - 1);
  }
  // The caret goes to the underline's start when the line has one, else to the line's start.
  long position = Sci(edit_, B::SCI_POSITIONFROMLINE, target);
  const long end = Sci(edit_, B::SCI_GETLINEENDPOSITION, target);
  for (long p = position; p < end; ++p) {
    bool marked = false;
    for (int i : {kLiveErrorIndicator, kLiveWarningIndicator, kLiveMaybeIndicator})
      marked = marked || Sci(edit_, B::SCI_INDICATORVALUEAT, i, p) != 0;
    if (marked) {
      position = p;
      break;
    }
  }
  Sci(edit_, B::SCI_GOTOPOS, position);
  return true;
}

void TLiveMarks::PaintGutterMark(QPainter& p, const QRect& box, long markers) {
  if (!(markers & kLiveMarks)) return;
  p.save();
  p.setRenderHint(QPainter::Antialiasing);
  const QRect r = box.adjusted(1, 1, -1, -1);
  if (markers & (1L << kLiveErrorMarker)) {
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0xD0, 0x00, 0x00));
    p.drawEllipse(r);
    p.setPen(QPen(Qt::white, 1.6));
    const QRect x =
        r.adjusted(r.width() / 4 + 1, r.height() / 4 + 1, -r.width() / 4 - 1, -r.height() / 4 - 1);
    p.drawLine(x.topLeft(), x.bottomRight());
    p.drawLine(x.topRight(), x.bottomLeft());
  } else if (markers & (1L << kLiveWarningMarker)) {
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0xE0, 0x80, 0x00));
    p.drawPolygon(QPolygon({QPoint(r.center().x(), r.top()), r.bottomRight(), r.bottomLeft()}));
  } else {
    p.setPen(QPen(QColor(0x00, 0x70, 0xD0), 2));
    p.setBrush(Qt::NoBrush);
    p.drawEllipse(r.adjusted(1, 1, -1, -1));
  }
  p.restore();
}

}  // namespace vortan
