#include "symbols/ui/symbolcommands.h"

#include <Qsci/qsciscintilla.h>
#include <QApplication>
#include <QMenu>
#include <QMouseEvent>
#include <QToolTip>
#include <cctype>
#include <filesystem>

#include "editor/ui/documents.h"
#include "editor/ui/editorwindow.h"
#include "editor/ui/streaksynedit.h"
#include "i18n/stringtable.h"
#include "symbols/completion.h"
#include "symbols/symboltip.h"
#include "symbols/ui/symbolindexer.h"
#include "symbols/ui/symbolspanel.h"
#include "widgets/qtconvert.h"

namespace vortan {
namespace {

// The wait of the mouse over a name before its tip shows, in ms.
constexpr int kDwellMs = 600;

// An editor's line as the index reads it (the names are ASCII whatever the code page).
std::string LineOf(const TfrmEditor* e, int line) { return e->SynEdit()->LineBytes(line); }

}  // namespace

TSymbolCommands::TSymbolCommands(TDocuments& documents, TSymbolIndexer& indexer,
                                 TSymbolsPanel& panel, std::function<void()> showPanel,
                                 QObject* parent)
    : QObject(parent),
      documents_(documents),
      indexer_(indexer),
      panel_(panel),
      showPanel_(std::move(showPanel)) {
  connect(&documents_, &TDocuments::Opened, this, &TSymbolCommands::Watch);
  for (TfrmEditor* e : documents_.Editors()) Watch(e);
  connect(&panel_, &TSymbolsPanel::OpenPlace, this, &TSymbolCommands::Jump);
}

void TSymbolCommands::Watch(TfrmEditor* editor) {
  TStreakSynEdit* s = editor->SynEdit();
  s->viewport()->installEventFilter(this);
  s->SendScintilla(QsciScintillaBase::SCI_SETMOUSEDWELLTIME, kDwellMs);
  connect(s, &QsciScintillaBase::SCN_DWELLSTART, this, [this, editor, s](int pos, int x, int y) {
    if (pos < 0 || QApplication::activePopupWidget()) return;
    int line = 0, index = 0;
    s->lineIndexFromPosition(pos, &line, &index);
    QString tip = TipAt(editor, line + 1, index);
    if (tip.isEmpty()) return;
    // The editor shows a finding's message at the same pause; one tip keeps both.
    const QString finding = s->LiveMarks().TipAt(pos);
    if (!finding.isEmpty()) tip = finding + "\n\n" + tip;
    QToolTip::showText(s->viewport()->mapToGlobal(QPoint(x, y)), tip, s);
  });
  connect(s, &QsciScintillaBase::SCN_DWELLEND, this, [] { QToolTip::hideText(); });
  connect(s, &QsciScintillaBase::SCN_CHARADDED, this,
          [this, editor](int ch) { CharAdded(editor, ch); });
}

TfrmEditor* TSymbolCommands::Active() const { return documents_.Active(); }

bool TSymbolCommands::CanQuery() const {
  const TfrmEditor* e = Active();
  return e && !e->FileName().empty() && indexer_.Ready();
}

TSymbolWord TSymbolCommands::WordAtCaret(TfrmEditor* editor, int* line) const {
  int l = 0, index = 0;
  editor->SynEdit()->getCursorPosition(&l, &index);
  if (line) *line = l + 1;
  return SymbolWordAt(LineOf(editor, l + 1), index + 1);
}

TJumpPlace TSymbolCommands::Here(TfrmEditor* editor) const {
  int l = 0, index = 0;
  editor->SynEdit()->getCursorPosition(&l, &index);
  return {editor->FileName(), l + 1, index + 1};
}

bool TSymbolCommands::OpenAt(const std::string& file, int line, int column) {
  TfrmEditor* e = documents_.Open(file);
  if (!e) return false;
  documents_.Activate(e);
  e->SynEdit()->setCursorPosition(std::max(line - 1, 0), std::max(column - 1, 0));
  e->EnsureCaretVisible();
  e->SynEdit()->setFocus();
  return true;
}

void TSymbolCommands::Jump(const TSymbolLocation& to) {
  TfrmEditor* from = Active();
  const std::optional<TJumpPlace> here =
      from && !from->FileName().empty() ? std::optional(Here(from)) : std::nullopt;
  if (OpenAt(to.File, to.Line, to.Column) && here) history_.Jumped(*here);
}

void TSymbolCommands::GoToDefinition() {
  TfrmEditor* e = Active();
  if (!e || e->FileName().empty()) return;
  const TSymbolIndex& index = indexer_.Index();
  int line = 0;
  const TSymbolWord word = WordAtCaret(e, &line);
  // An INCLUDE line opens its file wherever the caret is on it.
  if (const std::string inc = index.IncludeAt(e->FileName(), line); !inc.empty()) {
    Jump({inc, 1, 1, ""});
    return;
  }
  if (word.Text.empty()) return;
  const std::vector<TSymbolLocation> places = index.Definitions(e->FileName(), line, word.Text);
  if (places.empty()) {
    emit Message(QString::fromStdString(FormatText(TStr::strNoDefinition, {word.Text})));
    return;
  }
  if (places.size() == 1) {
    Jump(places.front());
    return;
  }
  // Several: a short list at the caret, which does not hold the program up.
  if (choices_) choices_->deleteLater();
  choices_ = new QMenu(e);
  choices_->setObjectName(QStringLiteral("popDefinitions"));
  choices_->setAttribute(Qt::WA_DeleteOnClose);
  for (const TSymbolLocation& p : places) {
    const QString text = QStringLiteral("%1  %2:%3")
                             .arg(QString::fromStdString(p.Name),
                                  Local(std::filesystem::path(p.File).filename().string()))
                             .arg(p.Line);
    QAction* a = choices_->addAction(text);
    a->setToolTip(Local(p.File));
    connect(a, &QAction::triggered, this, [this, p] { Jump(p); });
  }
  TStreakSynEdit* s = e->SynEdit();
  const long pos = s->SendScintilla(QsciScintillaBase::SCI_GETCURRENTPOS);
  const int x =
      static_cast<int>(s->SendScintilla(QsciScintillaBase::SCI_POINTXFROMPOSITION, 0, pos));
  const int y =
      static_cast<int>(s->SendScintilla(QsciScintillaBase::SCI_POINTYFROMPOSITION, 0, pos));
  choices_->popup(s->viewport()->mapToGlobal(QPoint(x, y + s->textHeight(0))));
}

void TSymbolCommands::GoBack() {
  TfrmEditor* e = Active();
  if (const auto to = history_.Back(e ? Here(e) : TJumpPlace{}))
    OpenAt(to->File, to->Line, to->Column);
}

void TSymbolCommands::GoForward() {
  TfrmEditor* e = Active();
  if (const auto to = history_.Forward(e ? Here(e) : TJumpPlace{}))
    OpenAt(to->File, to->Line, to->Column);
}

void TSymbolCommands::FindReferences() {
  TfrmEditor* e = Active();
  if (!e || e->FileName().empty()) return;
  const TSymbolIndex& index = indexer_.Index();
  int line = 0;
  const TSymbolWord word = WordAtCaret(e, &line);
  if (word.Text.empty()) return;
  std::vector<TSymbolLocation> places;
  if (word.Label) {
    places = index.LabelReferences(e->FileName(), line, std::stoi(word.Text));
  } else {
    places = index.UnitReferences(word.Text);
    // A COMMON block is used where a COMMON statement names it.
    if (places.empty()) places = index.CommonBlocks(word.Text);
  }
  panel_.ShowReferences(word.Text, places);
  showPanel_();
}

void TSymbolCommands::ShowCallTree(bool callers) {
  TfrmEditor* e = Active();
  if (!e || e->FileName().empty()) return;
  const TSymbolIndex& index = indexer_.Index();
  int line = 0;
  const TSymbolWord word = WordAtCaret(e, &line);
  std::string unit;
  if (!word.Label && !index.UnitDefinitions(word.Text).empty()) {
    unit = word.Text;
  } else if (const TFileSymbols* s = index.Symbols(e->FileName())) {
    if (const int u = s->UnitAt(line); u >= 0) unit = s->Units[std::size_t(u)].Name;
  }
  if (unit.empty()) return;
  panel_.ShowCallTree(unit, callers);
  showPanel_();
}

QString TSymbolCommands::TipAt(TfrmEditor* editor, int line, int index) {
  const TSymbolWord word = SymbolWordAt(LineOf(editor, line), index + 1);
  if (word.Text.empty() || word.Label) return {};
  const std::string tip = UnitHoverTip(indexer_.Index(), word.Text);
  if (tip.empty()) return {};
  // Plain text in a fixed font: the header and the comment keep their columns.
  return QStringLiteral("<pre>%1</pre>").arg(LanguageText(tip).toHtmlEscaped());
}

void TSymbolCommands::ShowArgumentTip(TfrmEditor* editor) {
  TStreakSynEdit* s = editor->SynEdit();
  int l = 0, index = 0;
  s->getCursorPosition(&l, &index);
  int argument = 0;
  const std::string tip =
      ArgumentTip(indexer_.Index(), LineOf(editor, l + 1), index + 1, &argument);
  if (tip.empty()) {
    s->SendScintilla(QsciScintillaBase::SCI_CALLTIPCANCEL);
    return;
  }
  const long pos = s->SendScintilla(QsciScintillaBase::SCI_GETCURRENTPOS);
  const QByteArray text = LanguageText(tip).toUtf8();
  s->SendScintilla(QsciScintillaBase::SCI_CALLTIPSHOW, pos, text.constData());
  // The argument the caret is in is highlighted.
  const std::size_t open = tip.find('(');
  if (open == std::string::npos) return;
  std::size_t from = open + 1;
  for (int i = 0; i < argument && from < tip.size(); ++i) {
    const std::size_t comma = tip.find(',', from);
    if (comma == std::string::npos) return;
    from = comma + 1;
  }
  while (from < tip.size() && tip[from] == ' ') ++from;
  std::size_t to = tip.find_first_of(",)", from);
  if (to == std::string::npos) to = tip.size();
  s->SendScintilla(QsciScintillaBase::SCI_CALLTIPSETHLT, from, to);
}

void TSymbolCommands::Complete() {
  TfrmEditor* e = Active();
  if (!e) return;
  TStreakSynEdit* s = e->SynEdit();
  int l = 0, index = 0;
  s->getCursorPosition(&l, &index);
  const std::string text = LineOf(e, l + 1);
  std::size_t begin = std::min<std::size_t>(static_cast<std::size_t>(index), text.size());
  auto nameChar = [](char c) {
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '_';
  };
  while (begin > 6 && nameChar(text[begin - 1])) --begin;
  const std::string prefix =
      text.substr(begin, std::size_t(index) - std::min<std::size_t>(begin, index));
  if (prefix.empty()) {
    ShowArgumentTip(e);
    return;
  }
  const auto found = CompletionsFor(indexer_.Index(), e->FileName(), l + 1, prefix);
  if (found.empty()) return;
  QByteArray list;
  for (const TCompletion& c : found) {
    if (!list.isEmpty()) list += '\n';
    list += QByteArray::fromStdString(c.Name);
  }
  // Names such as "DOUBLE PRECISION" hold blanks: the entries are separated by new lines.
  s->SendScintilla(QsciScintillaBase::SCI_AUTOCSETSEPARATOR, '\n');
  s->SendScintilla(QsciScintillaBase::SCI_AUTOCSETIGNORECASE, 1);
  s->SendScintilla(QsciScintillaBase::SCI_AUTOCSETORDER, 1);
  s->SendScintilla(QsciScintillaBase::SCI_AUTOCSHOW, static_cast<unsigned long>(prefix.size()),
                   list.constData());
}

void TSymbolCommands::CharAdded(TfrmEditor* editor, int ch) {
  if (editor != Active()) return;
  if (ch == '(' || ch == ',') {
    ShowArgumentTip(editor);
    return;
  }
  if (ch == ')') {
    ShowArgumentTip(editor);
    return;
  }
  if (!autoComplete_ || editor->SynEdit()->SendScintilla(QsciScintillaBase::SCI_AUTOCACTIVE))
    return;
  int l = 0, index = 0;
  editor->SynEdit()->getCursorPosition(&l, &index);
  const std::string text = LineOf(editor, l + 1);
  int letters = 0;
  for (int i = std::min<int>(index, static_cast<int>(text.size())) - 1;
       i >= 6 && std::isalnum(static_cast<unsigned char>(text[std::size_t(i)])); --i)
    ++letters;
  if (letters == kAutoCompleteLetters) Complete();
}

bool TSymbolCommands::eventFilter(QObject* watched, QEvent* e) {
  // Ctrl+click: Go to Definition of the name clicked.
  if (e->type() == QEvent::MouseButtonRelease) {
    auto* m = static_cast<QMouseEvent*>(e);
    if (m->button() == Qt::LeftButton && (m->modifiers() & Qt::ControlModifier))
      if (auto* s = qobject_cast<TStreakSynEdit*>(watched->parent())) {
        const QPoint p = m->position().toPoint();
        const long pos =
            s->SendScintilla(QsciScintillaBase::SCI_POSITIONFROMPOINTCLOSE, p.x(), p.y());
        if (pos >= 0) {
          int line = 0, index = 0;
          s->lineIndexFromPosition(static_cast<int>(pos), &line, &index);
          s->setCursorPosition(line, index);
          GoToDefinition();
          return true;
        }
      }
  }
  return QObject::eventFilter(watched, e);
}

}  // namespace vortan
