#include "editor/ui/searchoptiongroups.h"

#include <algorithm>

#include <QAbstractButton>
#include <QCheckBox>
#include <QGroupBox>
#include <QRadioButton>

#include "config/settingsstore.h"
#include "i18n/ui/translator.h"
#include "widgets/dialoglayout.h"

namespace vortan {

namespace {

QGroupBox* Group(QWidget* parent, const char* name, const char* caption) {
  auto* g = new QGroupBox(QString::fromLatin1(caption), parent);
  g->setObjectName(QString::fromLatin1(name));
  return g;
}

template <class T>
T* Button(QGroupBox* group, const char* name, const QString& caption) {
  auto* b = new T(caption, group);
  b->setObjectName(QString::fromLatin1(name));
  return b;
}

}  // namespace

TSearchOptionGroups::TSearchOptionGroups(QWidget* parent, bool withPrompt,
                                         const QString& forwardCaption,
                                         const QString& fromCursorCaption, bool entireScopeFirst) {
  grpOptions = Group(parent, "grpOptions", "Options");
  chkCase = Button<QCheckBox>(grpOptions, "chkCase", QStringLiteral("&Case sensitive"));
  chkWords = Button<QCheckBox>(grpOptions, "chkWords", QStringLiteral("&Whole words only"));
  if (withPrompt)
    chkPrompt = Button<QCheckBox>(grpOptions, "chkPrompt", QStringLiteral("&Prompt on replace"));
  grpDirection = Group(parent, "grpDirection", "Direction");
  rdbForward = Button<QRadioButton>(grpDirection, "rdbForward", forwardCaption);
  rdbBackward = Button<QRadioButton>(grpDirection, "rdbBackward", QStringLiteral("&Backward"));
  grpScope = Group(parent, "grpScope", "Scope");
  rdbGlobal = Button<QRadioButton>(grpScope, "rdbGlobal", QStringLiteral("&Global"));
  rdbSelectedText =
      Button<QRadioButton>(grpScope, "rdbSelectedText", QStringLiteral("&Selected text"));
  grpOrigin = Group(parent, "grpOrigin", "Origin");
  if (entireScopeFirst)
    rdbEntireScope =
        Button<QRadioButton>(grpOrigin, "rdbEntireScope", QStringLiteral("&Entire scope"));
  rdbFromCursor = Button<QRadioButton>(grpOrigin, "rdbFromCursor", fromCursorCaption);
  if (!entireScopeFirst)
    rdbEntireScope =
        Button<QRadioButton>(grpOrigin, "rdbEntireScope", QStringLiteral("&Entire scope"));
  rdbForward->setChecked(true);
  rdbGlobal->setChecked(true);
  rdbFromCursor->setChecked(true);
}

void TSearchOptionGroups::Read(const TSearchOptionIds& ids) {
  chkCase->setChecked(ReadBool(ids.CaseSensitive));
  chkWords->setChecked(ReadBool(ids.WholeWords));
  if (chkPrompt && ids.Prompt >= 0) chkPrompt->setChecked(ReadBool(ids.Prompt));
  (ReadInteger(ids.Direction) == 1 ? rdbBackward : rdbForward)->setChecked(true);
  (ReadInteger(ids.Scope) == 1 ? rdbSelectedText : rdbGlobal)->setChecked(true);
  (ReadInteger(ids.Origin) == 1 ? rdbEntireScope : rdbFromCursor)->setChecked(true);
}

void TSearchOptionGroups::Write(const TSearchOptionIds& ids) const {
  WriteBool(ids.CaseSensitive, chkCase->isChecked());
  WriteBool(ids.WholeWords, chkWords->isChecked());
  if (chkPrompt && ids.Prompt >= 0) WriteBool(ids.Prompt, chkPrompt->isChecked());
  WriteInteger(ids.Direction, rdbBackward->isChecked() ? 1 : 0);
  WriteInteger(ids.Scope, rdbSelectedText->isChecked() ? 1 : 0);
  WriteInteger(ids.Origin, rdbEntireScope->isChecked() ? 1 : 0);
}

TSearchOptions TSearchOptionGroups::Options() const {
  TSearchOptions o;
  o.MatchCase = chkCase->isChecked();
  o.WholeWord = chkWords->isChecked();
  o.Backwards = rdbBackward->isChecked();
  o.SelectedOnly = rdbSelectedText->isChecked();
  o.EntireScope = rdbEntireScope->isChecked();
  o.Prompt = chkPrompt && chkPrompt->isChecked();
  return o;
}

void TSearchOptionGroups::SetSelectedScope(bool selectedText) {
  (selectedText ? rdbSelectedText : rdbGlobal)->setChecked(true);
}

void TSearchOptionGroups::ApplyLanguage(const TParlaxItem& block) {
  const TParlaxItem& options = Block(block, "GroupBox:Options");
  ApplyProperties(options, {"Caption", "Hint"}, grpOptions);
  ApplyTo(options, "CheckBox:CaseSensitive", chkCase);
  ApplyTo(options, "CheckBox:WholeWordsOnly", chkWords);
  if (chkPrompt) ApplyTo(options, "CheckBox:Prompt", chkPrompt);
  const TParlaxItem& direction = Block(block, "GroupBox:Direction");
  ApplyProperties(direction, {"Caption", "Hint"}, grpDirection);
  ApplyTo(direction, "RadioButton:Forward", rdbForward);
  ApplyTo(direction, "RadioButton:Backward", rdbBackward);
  const TParlaxItem& scope = Block(block, "GroupBox:Scope");
  ApplyProperties(scope, {"Caption", "Hint"}, grpScope);
  ApplyTo(scope, "RadioButton:Global", rdbGlobal);
  ApplyTo(scope, "RadioButton:SelectedText", rdbSelectedText);
  const TParlaxItem& origin = Block(block, "GroupBox:Origin");
  ApplyProperties(origin, {"Caption", "Hint"}, grpOrigin);
  ApplyTo(origin, "RadioButton:FromCursor", rdbFromCursor);
  ApplyTo(origin, "RadioButton:EntireScope", rdbEntireScope);
}

void TSearchOptionGroups::Arrange(int left, int top, int width, int height, int gap) {
  // Each column is as wide as its longest caption needs, the rest shared evenly; translated
  // captions are longer than the English ones.
  auto need = [](QGroupBox* a, QGroupBox* b) {
    int widest = 0;
    for (QGroupBox* g : {a, b})
      for (QObject* child : g->children())
        if (auto* button = qobject_cast<QAbstractButton*>(child))
          widest = std::max(widest, button->sizeHint().width());
    return widest + 20;
  };
  const int inner = width - gap, leftNeed = need(grpOptions, grpScope),
            rightNeed = need(grpDirection, grpOrigin);
  int w = inner / 2;
  if (leftNeed + rightNeed > inner)
    w = inner * leftNeed / (leftNeed + rightNeed);
  else if (leftNeed > w)
    w = leftNeed;
  else if (rightNeed > inner - w)
    w = inner - rightNeed;
  const int h = (height - gap) / 2;
  grpOptions->setGeometry(left, top, w, h);
  grpDirection->setGeometry(left + w + gap, top, width - w - gap, h);
  grpScope->setGeometry(left, top + h + gap, w, height - h - gap);
  grpOrigin->setGeometry(left + w + gap, top + h + gap, width - w - gap, height - h - gap);
  for (QGroupBox* g : {grpOptions, grpDirection, grpScope, grpOrigin}) SpreadOverGroup(g);
}

}  // namespace vortan
