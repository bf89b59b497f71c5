#include "editor/ui/blockmarks.h"

#include <QCoreApplication>
#include <QThreadPool>
#include <string>
#include <string_view>

#include "editor/fixedformblocks.h"
#include "editor/fixedformline.h"
#include "editor/ui/editormarks.h"
#include "editor/ui/fortranlexer.h"
#include "editor/ui/scicall.h"
#include "editor/ui/streaksynedit.h"

namespace vortan {

namespace {

using B = QsciScintillaBase;

// The fold margin: the one after the gutter.
constexpr int kFoldMargin = 1;
constexpr int kFoldMarginWidth = 14;

std::vector<std::string_view> SplitLines(std::string_view all) {
  std::vector<std::string_view> lines;
  std::size_t start = 0;
  while (true) {
    const auto nl = all.find('\n', start);
    lines.push_back(all.substr(start, nl == std::string_view::npos ? nl : nl - start));
    if (nl == std::string_view::npos) break;
    start = nl + 1;
  }
  return lines;
}

std::string_view ControlText(TStreakSynEdit& edit) {
  const long length = Sci(&edit, B::SCI_GETLENGTH);
  const char* text = reinterpret_cast<const char*>(Sci(&edit, B::SCI_GETCHARACTERPOINTER));
  return {text ? text : "", text ? static_cast<std::size_t>(length) : 0};
}

}  // namespace

TBlockMarks::TBlockMarks(TStreakSynEdit& edit) : edit_(edit) {
  timer_.setSingleShot(true);
  timer_.setInterval(kRefreshDelayMs);
  QObject::connect(&timer_, &QTimer::timeout, [this] {
    // While the colouring goes on in idle time, new fold levels would repaint the view in the
    // middle of it: the blocks wait for it to end.
    const TFortranLexer* lexer = edit_.FortranLexer();
    if (lexer && !lexer->FullyStyled())
      timer_.start();
    else
      RefreshInBackground();
  });
}

void TBlockMarks::Install() {
  Sci(&edit_, B::SCI_INDICSETSTYLE, marks::kMatchIndicator, B::INDIC_STRAIGHTBOX);
  Sci(&edit_, B::SCI_INDICSETFORE, marks::kMatchIndicator, 0xC08040);  // BGR: a light blue
  Sci(&edit_, B::SCI_INDICSETALPHA, marks::kMatchIndicator, 70);
  Sci(&edit_, B::SCI_INDICSETOUTLINEALPHA, marks::kMatchIndicator, 160);
  Sci(&edit_, B::SCI_INDICSETUNDER, marks::kMatchIndicator, 1);

  Sci(&edit_, B::SCI_SETMARGINTYPEN, kFoldMargin, B::SC_MARGIN_SYMBOL);
  Sci(&edit_, B::SCI_SETMARGINMASKN, kFoldMargin, B::SC_MASK_FOLDERS);
  Sci(&edit_, B::SCI_SETMARGINSENSITIVEN, kFoldMargin, 1);
  const std::pair<int, int> markers[] = {
      {B::SC_MARKNUM_FOLDEROPEN, B::SC_MARK_BOXMINUS},
      {B::SC_MARKNUM_FOLDER, B::SC_MARK_BOXPLUS},
      {B::SC_MARKNUM_FOLDERSUB, B::SC_MARK_VLINE},
      {B::SC_MARKNUM_FOLDERTAIL, B::SC_MARK_LCORNER},
      {B::SC_MARKNUM_FOLDEREND, B::SC_MARK_BOXPLUSCONNECTED},
      {B::SC_MARKNUM_FOLDEROPENMID, B::SC_MARK_BOXMINUSCONNECTED},
      {B::SC_MARKNUM_FOLDERMIDTAIL, B::SC_MARK_TCORNER}};
  for (const auto& [number, symbol] : markers) {
    Sci(&edit_, B::SCI_MARKERDEFINE, number, symbol);
    Sci(&edit_, B::SCI_MARKERSETFORE, number, 0xFFFFFF);
    Sci(&edit_, B::SCI_MARKERSETBACK, number, 0x808080);
  }
  // Clicks on the margin fold and unfold; an edit that changes a fold point shows its lines.
  Sci(&edit_, B::SCI_SETAUTOMATICFOLD,
      B::SC_AUTOMATICFOLD_SHOW | B::SC_AUTOMATICFOLD_CLICK | B::SC_AUTOMATICFOLD_CHANGE);
}

TBlockMarks::~TBlockMarks() { *alive_ = false; }

void TBlockMarks::SetEnabled(bool matching, bool folding) {
  const bool changed = matching != matching_ || folding != folding_;
  matching_ = matching;
  folding_ = folding;
  Sci(&edit_, B::SCI_SETMARGINWIDTHN, kFoldMargin, folding_ ? kFoldMarginWidth : 0);
  if (!folding_) {
    Sci(&edit_, B::SCI_FOLDALL, B::SC_FOLDACTION_EXPAND);
    const long lines = Sci(&edit_, B::SCI_GETLINECOUNT);
    for (long l = 0; l < lines; ++l)
      if (Sci(&edit_, B::SCI_GETFOLDLEVEL, l) != B::SC_FOLDLEVELBASE)
        Sci(&edit_, B::SCI_SETFOLDLEVEL, l, B::SC_FOLDLEVELBASE);
  }
  if (!matching_) ClearMatching();
  if (changed) TextChanged();
}

void TBlockMarks::TextChanged() {
  stale_ = true;
  ++generation_;
  ClearMatching();
  if (matching_ || folding_) timer_.start();
}

void TBlockMarks::CaretMoved() {
  const int line = edit_.CaretLine() - 1;
  if (line == caretLine_) return;
  caretLine_ = line;
  if (stale_) return;  // the refresh on its way marks the caret's line
  UpdateMatching();
}

void TBlockMarks::Refresh() {
  timer_.stop();
  if (!matching_ && !folding_) return;
  ++generation_;  // a result still in the worker is older than this one
  Apply(std::make_unique<TFixedFormBlocks>(SplitLines(ControlText(edit_))));
}

void TBlockMarks::RefreshInBackground() {
  timer_.stop();
  if (!matching_ && !folding_) return;
  auto text = std::make_shared<const std::string>(ControlText(edit_));
  const std::uint64_t generation = generation_;
  ++reading_;
  QThreadPool::globalInstance()->start([this, text, generation, alive = alive_] {
    auto blocks = std::make_shared<std::unique_ptr<TFixedFormBlocks>>(
        std::make_unique<TFixedFormBlocks>(SplitLines(*text)));
    // The application waits for the pool's workers before it ends, so it is there to take the
    // result to the interface thread; the result is looked at there, and only while this
    // object still exists (the flag is read in that thread, never here).
    QMetaObject::invokeMethod(
        QCoreApplication::instance(),
        [this, blocks, generation, alive] {
          if (!*alive) return;
          --reading_;
          if (generation == generation_) Apply(std::move(*blocks));
        },
        Qt::QueuedConnection);
  });
}

void TBlockMarks::Apply(std::unique_ptr<TFixedFormBlocks> blocks) {
  blocks_ = std::move(blocks);
  stale_ = false;
  if (folding_) UpdateFolds();
  caretLine_ = edit_.CaretLine() - 1;
  UpdateMatching();
}

void TBlockMarks::UpdateFolds() {
  const std::vector<int>& levels = blocks_->FoldLevels();
  // Every changed level would be reported to the window; none of them is an edit.
  const long mask = Sci(&edit_, B::SCI_GETMODEVENTMASK);
  Sci(&edit_, B::SCI_SETMODEVENTMASK, mask & ~static_cast<long>(B::SC_MOD_CHANGEFOLD));
  for (std::size_t l = 0; l < levels.size(); ++l) {
    const int v = levels[l];
    const long level = (B::SC_FOLDLEVELBASE + (v & TFixedFormBlocks::kFoldLevelMask)) |
                       ((v & TFixedFormBlocks::kFoldHeader) ? B::SC_FOLDLEVELHEADERFLAG : 0);
    if (Sci(&edit_, B::SCI_GETFOLDLEVEL, static_cast<long>(l)) != level)
      Sci(&edit_, B::SCI_SETFOLDLEVEL, static_cast<long>(l), level);
  }
  Sci(&edit_, B::SCI_SETMODEVENTMASK, mask);
}

void TBlockMarks::ClearMatching() {
  if (marked_.empty()) return;
  Sci(&edit_, B::SCI_SETINDICATORCURRENT, marks::kMatchIndicator);
  for (const auto& [position, length] : marked_)
    Sci(&edit_, B::SCI_INDICATORCLEARRANGE, position, length);
  marked_.clear();
  markedLines_.clear();
}

void TBlockMarks::UpdateMatching() {
  ClearMatching();
  if (!matching_ || !blocks_) return;
  markedLines_ = blocks_->MatchingLines(caretLine_);
  Sci(&edit_, B::SCI_SETINDICATORCURRENT, marks::kMatchIndicator);
  for (int line : markedLines_) {
    const long start = Sci(&edit_, B::SCI_POSITIONFROMLINE, line);
    const long end = Sci(&edit_, B::SCI_GETLINEENDPOSITION, line);
    const std::string bytes = edit_.LineBytes(line + 1);
    const TFixedFormLine info = TFixedFormLine::Of(bytes);
    int last = info.TextEnd;
    while (last > info.TextStart && bytes[static_cast<std::size_t>(last) - 1] == ' ') --last;
    const long from = std::min(end, start + info.TextStart + info.Indent);
    const long to = std::min(end, start + last);
    if (to <= from) continue;
    Sci(&edit_, B::SCI_INDICATORFILLRANGE, from, to - from);
    marked_.emplace_back(from, to - from);
  }
}

void TBlockMarks::FoldAll(bool fold) {
  if (!folding_) return;
  if (stale_ || timer_.isActive()) Refresh();
  Sci(&edit_, B::SCI_FOLDALL, fold ? B::SC_FOLDACTION_CONTRACT : B::SC_FOLDACTION_EXPAND);
}

}  // namespace vortan
