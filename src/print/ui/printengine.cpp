#include "print/ui/printengine.h"

#include <QFontMetricsF>
#include <QLocale>
#include <QPainter>
#include <algorithm>
#include <cmath>

#include "print/headerfooterlayout.h"
#include "widgets/qtconvert.h"

namespace vortan {

namespace {

enum : uint8_t { FrameLine = 1, FrameBox = 2, FrameShaded = 4 };

QColor PrintColor(TColor c) { return (c & 0xFF000000u) ? QColor(Qt::black) : ToQColor(c); }

// A font sized in device units, so the page looks the same on the printer and scaled on screen.
void SizeForDevice(QFont& font, double pointSize, double resolution) {
  font.setPixelSize(std::max(1, static_cast<int>(std::lround(pointSize * resolution / 72.0))));
}

}  // namespace

TPrintEngine::TPrintEngine(const TPrintSettings& settings)
    : settings_(settings), printer_(std::make_unique<QPrinter>(QPrinter::HighResolution)) {
  printer_->setFullPage(true);  // margins are ours, measured from the sheet's edge
}

TPrintEngine::~TPrintEngine() = default;

void TPrintEngine::SetDocument(TPrintDocument document) {
  document_ = std::move(document);
  pages_ = TPagination();
}

QFont TPrintEngine::DeviceFont(const TFontSpec& spec) const {
  QFont f(QString::fromStdString(spec.Name));
  f.setStyleHint(spec.Pitch == 2 ? QFont::TypeWriter : QFont::SansSerif);
  if (spec.Height < 0)
    SizeForDevice(f, -spec.Height * 72.0 / 96.0, resolution_);
  else
    SizeForDevice(f, spec.Size > 0 ? spec.Size : 10, resolution_);
  f.setBold(spec.Bold);
  f.setItalic(spec.Italic);
  f.setUnderline(spec.Underline);
  f.setStrikeOut(spec.StrikeOut);
  return f;
}

bool TPrintEngine::Layout() {
  printer_->setFullPage(true);
  resolution_ = printer_->resolution();
  const QRectF paper = printer_->paperRect(QPrinter::DevicePixel);
  metrics_.PageWidth = paper.width();
  metrics_.PageHeight = paper.height();
  metrics_.UnitsPerMm = resolution_ / 25.4;

  textFont_ = document_.Font;
  const double points = document_.Font.pointSizeF() > 0  ? document_.Font.pointSizeF()
                        : document_.Font.pixelSize() > 0 ? document_.Font.pixelSize() * 72.0 / 96.0
                                                         : 10.0;
  SizeForDevice(textFont_, points, resolution_);
  const QFontMetricsF fm(textFont_);
  metrics_.CharWidth = fm.horizontalAdvance(QLatin1Char('M'));
  metrics_.LineHeight = fm.lineSpacing();
  ascent_ = fm.ascent();

  // The string state at the start of each line, so a page can be coloured on its own.
  ranges_.clear();
  if (document_.Attributes) {
    ranges_.reserve(document_.Lines.size());
    TFortranScanner scanner;
    for (const std::string& line : document_.Lines) {
      ranges_.push_back(static_cast<unsigned char>(scanner.GetRange()));
      scanner.SetLine(line);
      while (!scanner.GetEol()) scanner.Next();
    }
  }
  tokenLine_ = -1;
  pages_ = Paginate(document_.Lines, settings_, metrics_, document_.TabWidth);
  return pages_.Error == TLayoutError::None;
}

void TPrintEngine::PaintHeaderFooter(QPainter& painter, int page, bool footer, const QString& date,
                                     const QString& time) const {
  // Item texts are stored in the Windows page; the macro values are UTF-8 already.
  THeaderFooter hf = footer ? settings_.PageFooter : settings_.PageHeader;
  for (THeaderFooterItem& item : hf.Items)
    item.Text = platform::BytesToUtf8(platform::TCodePage::Ansi, item.Text);
  TMacroValues values;
  values.Page = page;
  values.PageCount = PageCount();
  values.Title = document_.Title;
  values.Date = date.toStdString();
  values.Time = time.toStdString();
  const THFPlacement placed = PlaceHeaderFooter(
      hf, footer, pages_.Frame(page), settings_, metrics_.UnitsPerMm, values,
      [this](const TFontSpec& f) { return QFontMetricsF(DeviceFont(f)).lineSpacing(); });
  if (placed.Items.empty()) return;

  const QRectF frame(QPointF(placed.FrameLeft, placed.FrameTop),
                     QPointF(placed.FrameRight, placed.FrameBottom));
  const double pen = std::max(1.0, resolution_ / 150.0);
  if (hf.FrameKinds & FrameShaded) painter.fillRect(frame, PrintColor(hf.ShadedColor));
  painter.setPen(QPen(PrintColor(hf.LineColor), pen));
  if (hf.FrameKinds & FrameBox) painter.drawRect(frame);
  if (hf.FrameKinds & FrameLine)
    painter.drawLine(QPointF(placed.FrameLeft, placed.LineY),
                     QPointF(placed.FrameRight, placed.LineY));

  for (const TPlacedHFItem& item : placed.Items) {
    const QFont font = DeviceFont(*item.Font);
    painter.setFont(font);
    painter.setPen(PrintColor(item.Font->Color));
    const QString text = QString::fromStdString(item.Text);
    const double width = QFontMetricsF(font).horizontalAdvance(text);
    double x = item.X;
    if (item.Alignment == THFAlignment::Right)
      x -= width;
    else if (item.Alignment == THFAlignment::Center)
      x -= width / 2;
    const double baseline = item.Top + item.Height - QFontMetricsF(font).descent();
    painter.drawText(QPointF(x, baseline), text);
  }
}

void TPrintEngine::PaintRow(QPainter& painter, std::size_t row, double left, double y) const {
  const TPrintRow& r = pages_.Rows[row];
  const std::string& line = document_.Lines[static_cast<std::size_t>(r.Line)];
  const double baseline = y + ascent_;
  const int tab = std::max(1, document_.TabWidth);
  int col = 0;

  auto draw = [&](std::size_t from, std::size_t to, const THighlightAttribute* attr) {
    QFont font = textFont_;
    QColor color = Qt::black;
    if (attr) {
      if (settings_.SyntaxPrint) {
        font.setBold(attr->Bold);
        font.setItalic(attr->Italic);
        font.setUnderline(attr->Underline);
        font.setStrikeOut(attr->StrikeOut);
      }
      if (settings_.UseColors && attr->Foreground) color = PrintColor(*attr->Foreground);
    }
    painter.setFont(font);
    painter.setPen(color);
    QString run;
    int runCol = col;
    auto flush = [&] {
      if (!run.isEmpty())
        painter.drawText(QPointF(left + runCol * metrics_.CharWidth, baseline), run);
      run.clear();
    };
    for (std::size_t i = from; i < to; ++i) {
      const unsigned char b = static_cast<unsigned char>(line[i]);
      if (b == '\t') {
        flush();
        col = (col / tab + 1) * tab;
        runCol = col;
        continue;
      }
      run += QChar(static_cast<char16_t>(platform::ToUnicode(document_.CodePage, b)));
      ++col;
    }
    flush();
  };

  if (!document_.Attributes || (!settings_.SyntaxPrint && !settings_.UseColors)) {
    draw(r.Start, r.End, nullptr);
    return;
  }
  // Tokens of the whole line (kept while the rows of one long line are painted), cut to this row.
  if (tokenLine_ != r.Line) {
    tokens_.clear();
    TFortranScanner scanner;
    scanner.SetRange(ranges_[static_cast<std::size_t>(r.Line)]);
    for (scanner.SetLine(line); !scanner.GetEol(); scanner.Next())
      tokens_.push_back({static_cast<uint32_t>(scanner.GetTokenPos()),
                         static_cast<uint32_t>(scanner.GetTokenPos() + scanner.GetTokenLen()),
                         TSynFortranSyn::AttributeIndexOf(scanner.GetTokenKind())});
    tokenLine_ = r.Line;
  }
  auto it = std::lower_bound(tokens_.begin(), tokens_.end(), r.Start,
                             [](const TRowToken& t, uint32_t at) { return t.End <= at; });
  for (; it != tokens_.end() && it->Start < r.End; ++it)
    draw(std::max(it->Start, r.Start), std::min(it->End, r.End),
         it->Attribute < 0 ? nullptr
                           : &(*document_.Attributes)[static_cast<std::size_t>(it->Attribute)]);
}

void TPrintEngine::PaintPage(QPainter& painter, int page) const {
  if (page < 1 || page > PageCount()) return;
  painter.save();
  painter.fillRect(QRectF(QPointF(0, 0), PageSize()), Qt::white);
  const QDateTime now = clock_ ? clock_() : QDateTime::currentDateTime();
  const QLocale locale = QLocale::system();
  const QString date = locale.toString(now.date(), QLocale::ShortFormat);
  const QString time = locale.toString(now.time(), QLocale::ShortFormat);
  PaintHeaderFooter(painter, page, false, date, time);
  PaintHeaderFooter(painter, page, true, date, time);

  const TPageFrame& frame = pages_.Frame(page);
  const auto [first, last] = pages_.PageRows(page);
  double y = frame.Top;
  for (std::size_t row = first; row < last; ++row, y += metrics_.LineHeight) {
    if (pages_.NumberDigits > 0 && pages_.StartsLine(row)) {
      painter.setClipping(false);
      painter.setFont(textFont_);
      painter.setPen(Qt::black);
      const QString number = QString::number(pages_.Rows[row].Line + 1);
      const double width = QFontMetricsF(textFont_).horizontalAdvance(number);
      painter.drawText(QPointF(frame.NumbersRight - width, y + ascent_), number);
    }
    // Rows never run past the right margin, wrapped or not.
    painter.setClipRect(
        QRectF(QPointF(frame.TextLeft, frame.Top), QPointF(frame.Right, frame.Bottom)));
    PaintRow(painter, row, frame.TextLeft, y);
  }
  painter.restore();
}

bool TPrintEngine::Print(int from, int to, int copies) {
  if (!Layout()) return false;
  from = std::max(1, from);
  to = std::min(PageCount(), to);
  if (from > to) return false;
  QPainter painter;
  if (!painter.begin(printer_.get())) return false;
  bool first = true;
  for (int c = 0; c < std::max(1, copies); ++c)
    for (int page = from; page <= to; ++page) {
      if (!first) printer_->newPage();
      first = false;
      PaintPage(painter, page);
    }
  painter.end();
  return true;
}

}  // namespace vortan
