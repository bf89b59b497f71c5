#include "symbols/ui/symbolindexer.h"

#include <QMdiSubWindow>
#include <algorithm>
#include <filesystem>

#include "editor/ui/documents.h"
#include "editor/ui/editorwindow.h"
#include "editor/ui/streaksynedit.h"
#include "i18n/stringtable.h"
#include "platform/platform.h"
#include "platform/text.h"
#include "symbols/symbolextractor.h"
#include "widgets/qtconvert.h"

namespace vortan {
namespace {

namespace fs = std::filesystem;

bool IsFortranSource(const fs::path& p) {
  const std::string ext = LowerAscii(p.extension().string());
  return ext == ".f" || ext == ".for" || ext == ".f77" || ext == ".ftn" || ext == ".inc";
}

// The Fortran sources directly in a folder (not below it: a file opened from the home folder
// must not index the whole home).
void ListSources(const std::string& folder, std::vector<std::string>& out) {
  std::error_code ec;
  for (fs::directory_iterator it(folder, fs::directory_options::skip_permission_denied, ec), end;
       !ec && it != end; it.increment(ec))
    if (it->is_regular_file(ec) && IsFortranSource(it->path())) out.push_back(it->path().string());
}

// Folders watched for changes at most: beyond, a refresh comes from the editors only.
constexpr int kMaxWatchedFolders = 64;

}  // namespace

struct TSymbolIndexer::TEdit {
  const TfrmEditor* Editor = nullptr;
  std::uint64_t Version = 0;
  std::string Path;
  // Taken in the interface thread at a pause in typing (a memory copy); the file's bytes are
  // made of it in the thread that reads the symbols.
  TTextCopy Copy;
  std::string Text;
  TFileSymbols Symbols;
};

struct TSymbolIndexer::TJob {
  std::vector<std::string> Files, Folders;
  std::atomic<std::size_t> Done{0}, Total{0};
  std::unique_ptr<TSymbolIndex> Result;
};

TSymbolIndexer::TSymbolIndexer(TDocuments& documents, std::string cacheFolder, QObject* parent)
    : QObject(parent),
      documents_(documents),
      cacheFolder_(std::move(cacheFolder)),
      index_(std::make_unique<TSymbolIndex>()) {
  refreshTimer_.setSingleShot(true);
  refreshTimer_.setInterval(300);
  connect(&refreshTimer_, &QTimer::timeout, this, &TSymbolIndexer::StartJob);
  editTimer_.setSingleShot(true);
  editTimer_.setInterval(kEditDelayMs);
  connect(&editTimer_, &QTimer::timeout, this, &TSymbolIndexer::ReadEditsInBackground);
  progressTimer_.setInterval(150);
  connect(&progressTimer_, &QTimer::timeout, this, [this] { emit StatusChanged(StatusText()); });
  connect(&watcher_, &QFileSystemWatcher::directoryChanged, this, [this] { Refresh(); });
  connect(&documents_, &TDocuments::Opened, this, &TSymbolIndexer::Watch);
  connect(&documents_, &TDocuments::Renamed, this, [this] { Refresh(); });
  for (TfrmEditor* e : documents_.Editors()) Watch(e);
}

TSymbolIndexer::~TSymbolIndexer() {
  for (QThread* t : {thread_, editThread_})
    if (t) {
      t->disconnect(this);
      t->wait();
      delete t;
    }
}

void TSymbolIndexer::ReadEditsInBackground() {
  if (editThread_) {
    editTimer_.start();  // once the texts in hand are read
    return;
  }
  auto edits = std::make_shared<std::vector<TEdit>>();
  for (const QPointer<TfrmEditor>& e : dirty_)
    if (e && !e->FileName().empty())
      edits->push_back({e.data(), versions_[e.data()], e->FileName(), e->TextCopy(), {}, {}});
  dirty_.clear();
  if (edits->empty()) return;
  edits_ = edits;
  editThread_ = QThread::create([edits] {
    for (TEdit& e : *edits) {
      e.Text = e.Copy.FileBytes();
      e.Copy = {};
      e.Symbols = ExtractSymbols(e.Text);
    }
  });
  connect(editThread_, &QThread::finished, this, &TSymbolIndexer::EditsRead);
  editThread_->start(QThread::LowPriority);
}

void TSymbolIndexer::EditsRead() {
  editThread_->wait();
  delete editThread_;
  editThread_ = nullptr;
  std::shared_ptr<std::vector<TEdit>> edits = std::move(edits_);
  // A file typed in again meanwhile waits for its newer text (or already has it, by Flush).
  bool changed = false;
  for (TEdit& e : *edits) {
    if (versions_[e.Editor] != e.Version) continue;
    index_->UpdateFile(e.Path, std::move(e.Text), std::move(e.Symbols));
    changed = true;
  }
  if (changed) emit Changed();
}

std::vector<TfrmEditor*> TSymbolIndexer::OpenEditors() const { return documents_.Editors(); }

void TSymbolIndexer::Watch(TfrmEditor* editor) {
  versions_[editor] = 0;
  connect(editor->SynEdit(), &QsciScintilla::textChanged, this, [this, e = QPointer(editor)] {
    ++versions_[e.data()];
    if (std::find(dirty_.begin(), dirty_.end(), e) == dirty_.end()) dirty_.push_back(e);
    editTimer_.start();
  });
  Refresh();
}

void TSymbolIndexer::Refresh() { refreshTimer_.start(); }

void TSymbolIndexer::ApplyEditor(TfrmEditor* editor) {
  if (editor && !editor->FileName().empty()) index_->UpdateFile(editor->FileName(), editor->Text());
}

void TSymbolIndexer::Flush() {
  editTimer_.stop();
  if (dirty_.empty()) return;
  for (const QPointer<TfrmEditor>& e : dirty_) ApplyEditor(e);
  dirty_.clear();
  emit Changed();
}

const TSymbolIndex& TSymbolIndexer::Index() {
  Flush();
  return *index_;
}

QString TSymbolIndexer::StatusText() const {
  if (job_)
    return QString::fromStdString(
        FormatText(TStr::strIndexingSymbols,
                   {std::to_string(job_->Done.load()), std::to_string(job_->Total.load())}));
  if (!ready_) return {};
  return QString::fromStdString(
      FormatText(TStr::strSymbolsIndexed, {std::to_string(index_->FileCount())}));
}

void TSymbolIndexer::StartJob() {
  if (job_) {
    again_ = true;
    return;
  }
  auto job = std::make_shared<TJob>();
  std::set<std::string> folders;
  for (TfrmEditor* e : OpenEditors()) {
    if (e->FileName().empty()) continue;
    job->Files.push_back(e->FileName());
    folders.insert(fs::path(e->FileName()).parent_path().string());
  }
  job->Folders.assign(folders.begin(), folders.end());
  if (job->Files.empty()) {
    // Nothing open: no thread, and no cache opened for nothing.
    index_ = std::make_unique<TSymbolIndex>();
    ready_ = true;
    emit StatusChanged(StatusText());
    emit Replaced();
    emit Changed();
    return;
  }
  job_ = job;
  TIndexOptions options;
  options.CacheFolder = cacheFolder_;
  options.Done = &job->Done;
  options.Total = &job->Total;
  thread_ = QThread::create([job, options] {
    std::vector<std::string> files = job->Files;
    for (const std::string& folder : job->Folders) ListSources(folder, files);
    job->Result = std::make_unique<TSymbolIndex>(options);
    job->Result->IndexFiles(files);
  });
  connect(thread_, &QThread::finished, this, &TSymbolIndexer::JobDone);
  thread_->start(QThread::LowPriority);
  progressTimer_.start();
  emit StatusChanged(StatusText());
}

void TSymbolIndexer::JobDone() {
  progressTimer_.stop();
  thread_->wait();
  delete thread_;
  thread_ = nullptr;
  std::shared_ptr<TJob> job = std::move(job_);
  index_ = std::move(job->Result);
  ready_ = true;
  // The disk's text gave way to what the editors hold where the two differ.
  for (TfrmEditor* e : OpenEditors())
    if (e->Modified()) ApplyEditor(e);
  // The folders of every indexed file: a file changed there (saved, replaced by a checkout)
  // is read again.
  std::set<QString> folders;
  for (const std::string& f : index_->Files()) {
    folders.insert(Local(fs::path(f).parent_path().string()));
    if (folders.size() >= kMaxWatchedFolders) break;
  }
  const QStringList old = watcher_.directories();
  if (!old.isEmpty()) watcher_.removePaths(old);
  if (!folders.empty()) watcher_.addPaths(QStringList(folders.begin(), folders.end()));
  emit StatusChanged(StatusText());
  QStringList news;
  for (const TIndexProblem& p : index_->Problems())
    if (said_.insert(p.File + '\n' + p.Text).second)
      news << QString::fromStdString(
          FormatText(TStr::strSymbolsSkipped, {platform::FileNameText(p.File) + ": " + p.Text}));
  if (!news.isEmpty()) emit Problems(news);
  emit Replaced();
  emit Changed();
  if (again_) {
    again_ = false;
    StartJob();
  }
}

}  // namespace vortan
