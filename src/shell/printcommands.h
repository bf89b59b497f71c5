#pragma once
// Print, Print Preview, Page Setup and the two Export commands of the main window: the active
// editor's document handed to the print engine or an exporter.

#include <QObject>
#include <QPointer>
#include <memory>
#include <string>

#include "config/printsettings.h"
#include "print/ui/printpreview.h"

namespace vortan {

class TfrmEditor;
class TfrmMain;
class TPrintEngine;
struct TPrintDocument;

class TPrintCommands : public QObject {
  Q_OBJECT
 public:
  /// Works on the main window's print settings (loaded and saved with its state, edited by
  /// the Options dialog).
  TPrintCommands(TfrmMain* main, TPrintSettings& settings);
  ~TPrintCommands() override;

  TPrintSettings& Settings() { return settings_; }
  TPrintEngine& Engine() { return *engine_; }
  /// The preview window while it is open.
  TfrmPrintPreview* Preview() const { return preview_; }

  void Print();
  void PrintPreview();
  void PageSetup();
  /// `tag` 0 HTML, 1 RTF. False when nothing was written (cancelled or failed).
  bool Export(int tag);
  /// After the print options changed: the open preview lays its pages out again.
  void SettingsChanged();

 private:
  TPrintDocument DocumentOf(TfrmEditor* editor) const;

  TfrmMain* main_;
  TPrintSettings& settings_;
  std::unique_ptr<TPrintEngine> engine_;
  QPointer<TfrmPrintPreview> preview_;
};

}  // namespace vortan
