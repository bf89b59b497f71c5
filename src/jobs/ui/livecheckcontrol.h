#pragma once
// Checks the active document in the background after a pause in typing and on save, and shows
// the findings as marks in its text and as the "Live" group of the Messages tree.

#include <QObject>
#include <QTimer>
#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <string>

#include "jobs/livechecker.h"

namespace vortan {

class TDocuments;
class TfrmEditor;
class TMessagesView;

class TLiveCheckControl : public QObject {
 public:
  TLiveCheckControl(TDocuments& documents, TMessagesView& messages, QObject* parent = nullptr);
  ~TLiveCheckControl() override;

  /// Checks the active document now (after a save, or when asked).
  void CheckNow();
  /// A build command has begun: checks under way and waiting are dropped, so that no older
  /// "Live" group lands beside the command's own findings; the next edit or save checks again.
  void Drop();
  /// True from the request of the active document's check until its result is shown or
  /// dropped.
  bool Checking() const;
  /// Called after each result was shown (tests and benchmarks wait for it).
  std::function<void(TfrmEditor*)> Shown;
  /// The tools the settings name; tests put stand-ins in their place.
  std::function<TLiveTools()> ToolsFromSettings;

 private:
  void Watch(TfrmEditor* editor);
  void Edited(TfrmEditor* editor);
  void Show(TfrmEditor* editor, std::uint64_t ticket, TLiveResult result);
  void Tell(TLiveToolState state, const std::string& tool);
  bool IsOpen(const TfrmEditor* editor) const;
  // Every key asks whether checks are on; the store is read again only after it changed.
  void ReadSettings();

  TDocuments& documents_;
  TMessagesView& messages_;
  QTimer pause_;
  std::uint64_t revision_ = ~0ull;
  bool enabled_ = false;
  int delay_ = 800;
  std::map<const TfrmEditor*, std::uint64_t> newest_;
  std::unique_ptr<TLiveChecker> checker_;
};

/// The tools, options and limits of the live check as the settings give them; a tool that is
/// switched off is left empty, one switched on but not found keeps its bare name, so its
/// start fails and is said once.
TLiveTools LiveToolsFromSettings();

}  // namespace vortan
