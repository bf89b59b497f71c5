#pragma once
// Keeps the symbol index of what the user works on: the open files, the other Fortran sources
// in their folders and the files they INCLUDE. The index is built by a background job and
// swapped in when done; an editor's text replaces its file's symbols a moment after typing
// stops; a change in a watched folder starts a new job, which takes unchanged files from the
// cache. Queries run on the interface thread against the index in place.

#include <QFileSystemWatcher>
#include <QObject>
#include <QPointer>
#include <QString>
#include <QThread>
#include <QTimer>
#include <atomic>
#include <cstdint>
#include <map>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "symbols/symbolindex.h"

namespace vortan {

class TDocuments;
class TfrmEditor;

class TSymbolIndexer : public QObject {
  Q_OBJECT
 public:
  /// `cacheFolder`: where the index keeps its cache between sessions; empty for none.
  TSymbolIndexer(TDocuments& documents, std::string cacheFolder, QObject* parent = nullptr);
  /// Waits for a running job: its files are read by threads that use this object's options.
  ~TSymbolIndexer() override;

  /// The index with every edit typed so far applied.
  const TSymbolIndex& Index();
  /// A job is reading files.
  bool Busy() const { return job_ != nullptr; }
  /// At least one job has finished since the start.
  bool Ready() const { return ready_; }
  /// The status bar's text: the progress of a job, or the count of indexed files.
  QString StatusText() const;

  /// Reads the sources again in the background (soon, once for many calls).
  void Refresh();
  /// Applies the editors' pending texts now (a command is about to ask the index).
  void Flush();

  /// The wait after the last key before an editor's text is read into the index.
  static constexpr int kEditDelayMs = 400;

 signals:
  /// The index was replaced or a file of it updated.
  void Changed();
  /// A job's index replaced the one before (sent before Changed).
  void Replaced();
  void StatusChanged(const QString& text);
  /// Files the index skipped and INCLUDEs it could not follow ("file: why"), each said once
  /// for the session.
  void Problems(const QStringList& said);

 private:
  struct TJob;
  struct TEdit;
  /// Reads the pending editors' texts in a thread, so that a pause in typing in a long file
  /// never holds the next key up.
  void ReadEditsInBackground();
  void EditsRead();
  void Watch(TfrmEditor* editor);
  void StartJob();
  void JobDone();
  void ApplyEditor(TfrmEditor* editor);
  std::vector<TfrmEditor*> OpenEditors() const;

  TDocuments& documents_;
  std::string cacheFolder_;
  std::unique_ptr<TSymbolIndex> index_;
  std::shared_ptr<TJob> job_;
  QThread* thread_ = nullptr;
  std::shared_ptr<std::vector<TEdit>> edits_;  // being read by editThread_
  QThread* editThread_ = nullptr;
  bool again_ = false;  // a refresh was asked while the job ran
  bool ready_ = false;
  QTimer refreshTimer_, editTimer_, progressTimer_;
  std::vector<QPointer<TfrmEditor>> dirty_;
  // Edits typed per editor: a text read in the background is applied only when it is still
  // the editor's latest.
  std::map<const TfrmEditor*, std::uint64_t> versions_;
  QFileSystemWatcher watcher_;
  std::set<std::string> said_;
};

}  // namespace vortan
