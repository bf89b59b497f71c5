#pragma once
// The print engine of the main window: one document at a time, laid out by the core's page
// layout for the printer's paper, painted page by page on the printer or on the preview.

#include <QDateTime>
#include <QFont>
#include <QPrinter>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "config/printsettings.h"
#include "editor/fortranhighlighter.h"
#include "platform/codepage.h"
#include "print/printlayout.h"

class QPainter;

namespace vortan {

/// What a print or preview is given about a document.
struct TPrintDocument {
  std::vector<std::string> Lines;  ///< bytes, one line each, without breaks
  QFont Font;                      ///< the editor's font
  int TabWidth = 8;
  platform::TCodePage CodePage = platform::TCodePage::Oem;
  /// The highlighter's attributes; empty when syntax highlighting is off.
  std::optional<TSynFortranSyn::TAttributes> Attributes;
  std::string Title;  ///< UTF-8, for $TITLE$
};

class TPrintEngine {
 public:
  /// `settings` belongs to the main window and may change between two layouts.
  explicit TPrintEngine(const TPrintSettings& settings);
  ~TPrintEngine();

  QPrinter& Printer() { return *printer_; }
  void SetDocument(TPrintDocument document);
  TPrintDocument& Document() { return document_; }
  void SetTitle(const std::string& title) { document_.Title = title; }
  /// The moment the date and time macros show (the current time unless set).
  void SetClock(std::function<QDateTime()> clock) { clock_ = std::move(clock); }

  /// Lays out the document for the printer's paper and the settings. False when the margins
  /// leave no room (Pages().Error tells).
  bool Layout();
  const TPagination& Pages() const { return pages_; }
  int PageCount() const { return pages_.Error == TLayoutError::None ? pages_.PageCount() : 0; }
  /// The sheet in device units and the device's units per inch.
  QSizeF PageSize() const { return {metrics_.PageWidth, metrics_.PageHeight}; }
  double Resolution() const { return resolution_; }

  /// Paints page `page` (from 1) with the painter in device units of the printer.
  void PaintPage(QPainter& painter, int page) const;
  /// Prints pages from..to (clamped to the document) `copies` times on the printer. False when
  /// nothing could be printed.
  bool Print(int from, int to, int copies);

 private:
  QFont DeviceFont(const TFontSpec& spec) const;
  void PaintHeaderFooter(QPainter& painter, int page, bool footer, const QString& date,
                         const QString& time) const;
  void PaintRow(QPainter& painter, std::size_t row, double left, double y) const;

  const TPrintSettings& settings_;
  std::unique_ptr<QPrinter> printer_;
  TPrintDocument document_;
  std::function<QDateTime()> clock_;
  TPrintMetrics metrics_;
  double resolution_ = 1200;
  QFont textFont_;
  double ascent_ = 0;
  TPagination pages_;
  std::vector<unsigned char> ranges_;  // scanner state at the start of each line
  struct TRowToken {
    uint32_t Start, End;
    int Attribute;
  };
  mutable int32_t tokenLine_ = -1;  // the line whose tokens are in tokens_
  mutable std::vector<TRowToken> tokens_;
};

}  // namespace vortan
