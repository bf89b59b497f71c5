// The Options dialog over a real main window, offscreen, with scripted answers: when Apply is
// enabled, what each control writes, what reaches the open editors, the histories, bad input.
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QLocale>
#include <QMdiSubWindow>
#include <QPushButton>
#include <QRadioButton>
#include <QSlider>
#include <QTabWidget>
#include <QTest>
#include <QTextBlock>
#include <QTextEdit>
#include <QTimer>
#include <functional>
#include <memory>

#include "config/optionbindings.h"
#include "config/settingids.h"
#include "config/settingsstore.h"
#include "editor/fortranhighlighter.h"
#include "editor/streaks.h"
#include "editor/ui/editorwindow.h"
#include "editor/ui/streaksynedit.h"
#include "i18n/parlax.h"
#include "i18n/stringtable.h"
#include "options/ui/colorgrid.h"
#include "options/ui/colorswatch.h"
#include "options/ui/optionsform.h"
#include "shell/mainoptionshost.h"
#include "shell/mainwindow.h"
#include "support/scriptedprompts.h"
#include "support/tempdir.h"

namespace vortan {
namespace {

/// Scripted answers that also pick a font and a colour when asked.
class TPrompts : public test::TScriptedPrompts {
 public:
  bool FontDialog(TFontSpec& font) override {
    ++fontDialogs;
    if (!font_) return false;
    font = *font_;
    return true;
  }
  bool ColorDialog(uint32_t& color) override {
    if (!color_) return false;
    color = *color_;
    return true;
  }
  std::optional<TFontSpec> font_;
  std::optional<uint32_t> color_;
  int fontDialogs = 0;
};

class OptionsTest : public ::testing::Test {
 public:
  void SetUp() override {
    QLocale::setDefault(QLocale::c());
    ASSERT_TRUE(OpenStore(dir_ / "store.sqlite").Ok);
    main_ = std::make_unique<TfrmMain>();
    host_ = std::make_unique<TMainOptionsHost>(*main_);
  }
  void TearDown() override {
    dialog_.reset();
    prompts_.AnswerAlways(TModalResult::No);
    main_.reset();
    CloseStore();
  }
  TfrmOptions& Open(int page = TfrmOptions::pgGeneral) {
    dialog_ = std::make_unique<TfrmOptions>(*host_, page, main_.get());
    return *dialog_;
  }
  template <class W>
  W* Get(const char* name) {
    W* w = dialog_->findChild<W*>(QString::fromLatin1(name));
    EXPECT_NE(w, nullptr) << name;
    return w;
  }
  std::vector<std::string> AllStored() {
    std::vector<std::string> out;
    for (const TOptionBinding& b : OptionBindings()) out.push_back(ReadBindingText(Store(), b));
    out.push_back(ReadString(sidGutterFont));
    return out;
  }

  test::TTempDir dir_;
  TPrompts prompts_;
  std::unique_ptr<TfrmMain> main_;
  std::unique_ptr<TMainOptionsHost> host_;
  std::unique_ptr<TfrmOptions> dialog_;
};

TEST_F(OptionsTest, ApplyIsEnabledExactlyWhenSomethingChangedSinceCreationOrTheLastApply) {
  struct Case {
    const char* what;
    std::function<void(OptionsTest&)> change;
  } cases[] = {
      {"check box", [](OptionsTest& t) { t.Get<QCheckBox>("chkSmartTabDelete")->click(); }},
      {"number list", [](OptionsTest& t) { t.Get<QComboBox>("cbxUndoLimit")->setEditText("77"); }},
      {"radio button", [](OptionsTest& t) { t.Get<QRadioButton>("rdbConsole")->click(); }},
      {"track bar", [](OptionsTest& t) { t.Get<QSlider>("TrackBar1")->setValue(5); }},
      {"theme", [](OptionsTest& t) { t.Get<QComboBox>("cbxTheme")->setCurrentText("Stripes"); }},
      {"margin",
       [](OptionsTest& t) {
         QTest::keyClick(t.Get<QLineEdit>("edtMarginLeft"), Qt::Key_Backspace);
       }},
      {"header line",
       [](OptionsTest& t) { t.Get<QTextEdit>("rchHeaderCenter")->insertPlainText("x"); }},
      {"colour element", [](OptionsTest& t) { t.Get<QCheckBox>("chkBold")->click(); }},
      {"margin unit",
       [](OptionsTest& t) { t.Get<QComboBox>("cbxMarginUnits")->setCurrentIndex(1); }},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    TfrmOptions& d = Open();
    EXPECT_FALSE(d.ApplyEnabled());
    c.change(*this);
    EXPECT_TRUE(d.ApplyEnabled());
    ASSERT_TRUE(d.Apply());
    EXPECT_FALSE(d.ApplyEnabled());
  }
}

TEST_F(OptionsTest, CancelAndEscapeWriteAndApplyNothing) {
  for (int key : {0, int(Qt::Key_Escape)}) {
    const std::vector<std::string> before = AllStored();
    const TSynFortranSyn::TAttributes colours = main_->Highlighter()->Attributes();
    const TPrintSettings print = main_->PrintSettings();
    const QString theme = main_->Theme();
    TfrmOptions& d = Open();
    Get<QCheckBox>("chkNewWindowMaximized")->click();
    Get<QComboBox>("cbxVLine")->setEditText("9,19");
    Get<QComboBox>("cbxTheme")->setCurrentText("Stripes");
    Get<QLineEdit>("edtMarginTop")->setText("40");
    Get<QCheckBox>("chkItalic")->click();
    d.show();
    if (key)
      QTest::keyClick(&d, Qt::Key(key));
    else
      Get<QPushButton>("btnCancel")->click();
    EXPECT_EQ(d.result(), QDialog::Rejected);
    EXPECT_EQ(AllStored(), before);
    EXPECT_EQ(main_->Highlighter()->Attributes(), colours);
    EXPECT_EQ(main_->PrintSettings(), print);
    EXPECT_EQ(main_->Theme(), theme);
  }
}

TEST_F(OptionsTest, EveryKindOfControlRoundTripsThroughTheStore) {
  struct Case {
    const char* control;
    int setting;
    const char* value;
  } cases[] = {
      {"chkNewWindowMaximized", sidNewWindowMaximized, "0"},
      {"chkANSIText", sidANSIText, "1"},
      {"chkAutoExpandMessages", sidAutoExpandMessages, "0"},
      {"chkSmartTabDelete", sidSmartTabDelete, "1"},
      {"chkScrollPastEOL", sidScrollPastEndOfLine, "0"},
      {"cbxMaxLeftChars", sidMaxLeftChars, "2048"},
      {"cbxUndoLimit", sidUndoLimit, "32767"},
      {"cbxTabStops", sidTabStops, "4"},
      {"chkGutterLeadingZeros", sidGutterShowLeadingZeros, "1"},
      {"btnVerticalLineColor", sidVerticalLineColor, "255"},
      {"cbxGutterWidth", sidGutterWidth, "44"},
      {"cbxVLine", sidVerticalLineColumn, "6,72,80"},
      {"cbxInsertCaret", sidInsertCaret, "2"},
      {"cbxOverwriteCaret", sidOverwriteCaret, "0"},
      {"cbxFont", sidFont, "Some Face Not Installed"},
      {"cbxSize", sidFontSize, "14"},
      {"chkIgnoreAnalyzer", sidIgnoreAnalyzerErrors, "1"},
      {"TrackBar1", sidProcessPriority, "6"},
      {"cbxCompilerOptions", sidAdditionalCompilerOptionsParameters, "-O2 -Wall"},
      {"cbxDebuggerParameters", sidAdditionalDebuggerParameters, "-nx"},
      {"grpRunWith", sidRunWith, "2"},
      {"chkClearHistoryList", sidClearHistory, "0"},
      {"chkLiveCheck", sidLiveCheck, "0"},
      {"cbxLiveDelay", sidLiveCheckDelay, "1500"},
      {"chkLiveCompiler", sidLiveCheckCompiler, "0"},
      {"chkLiveAnalyzer", sidLiveCheckAnalyzer, "0"},
      {"chkLiveAnalyzeAll", sidLiveCheckAnalyzeAll, "1"},
  };
  Open(TfrmOptions::pgEditor);
  for (const Case& c : cases) {
    const TOptionBinding* b = FindBinding(c.control);
    ASSERT_NE(b, nullptr) << c.control;
    EXPECT_EQ(b->Setting, c.setting) << c.control;
    dialog_->SetControlText(*b, c.value);
  }
  ASSERT_TRUE(dialog_->Apply());
  for (const Case& c : cases)
    EXPECT_EQ(ReadBindingText(Store(), *FindBinding(c.control)), c.value) << c.control;
  Open();
  for (const Case& c : cases)
    EXPECT_EQ(dialog_->ControlText(*FindBinding(c.control)), c.value) << c.control;
  // Shown by name although the system lacks the face; written back by that name.
  EXPECT_EQ(Get<QComboBox>("cbxFont")->currentText(), "Some Face Not Installed");
}

TEST_F(OptionsTest, ApplyReachesEveryOpenEditorOnceAndANewEditorAppliesOnlyItsOwn) {
  std::vector<TfrmEditor*> editors;
  for (int i = 0; i < 3; ++i) editors.push_back(main_->NewSourceFile());
  TFontSpec chosen;
  chosen.Name = "DejaVu Sans Mono";
  chosen.Size = 13;
  prompts_.font_ = chosen;
  TfrmOptions& d = Open(TfrmOptions::pgEditor);
  Get<QComboBox>("cbxVLine")->setEditText("6,72,80");
  Get<QPushButton>("btnGutterFont")->click();
  EXPECT_EQ(prompts_.fontDialogs, 1);
  ASSERT_TRUE(d.Apply());
  for (TfrmEditor* e : editors) {
    const TStreaks& s = e->SynEdit()->Streaks();
    ASSERT_EQ(s.Count(), 3);
    EXPECT_EQ(s.Item(2)->Column(), 80);
    EXPECT_EQ(e->SynEdit()->Options().GutterFont.family(), "DejaVu Sans Mono");
    EXPECT_EQ(e->SynEdit()->Options().GutterFont.pointSize(), 13);
  }
  EXPECT_EQ(FontFromStored(ReadString(sidGutterFont), "").Name, "DejaVu Sans Mono");

  // Settings written behind the editors' back reach only the editor opened afterwards.
  WriteString(sidVerticalLineColumn, "10");
  TfrmEditor* fresh = main_->NewSourceFile();
  EXPECT_EQ(fresh->SynEdit()->Streaks().Count(), 1);
  for (TfrmEditor* e : editors) EXPECT_EQ(e->SynEdit()->Streaks().Count(), 3);
}

TEST_F(OptionsTest, HistoriesKeepTheirOrderAcrossAReopen) {
  TfrmOptions& d = Open(TfrmOptions::pgEditor);
  auto* v = Get<QComboBox>("cbxVLine");
  // Default "6,72", "6", "72", "6,72,80".
  v->setEditText("6,72,80");
  ASSERT_TRUE(d.Apply());
  v->setEditText("6,80");
  Get<QComboBox>("cbxCompilerOptions")->setEditText("-O2");
  ASSERT_TRUE(d.Apply());
  Open();
  auto items = [](QComboBox* c) {
    QStringList l;
    for (int i = 0; i < c->count(); ++i) l << c->itemText(i);
    return l;
  };
  EXPECT_EQ(items(Get<QComboBox>("cbxVLine")), (QStringList{"6,80", "6,72,80", "6,72", "6", "72"}));
  EXPECT_EQ(Get<QComboBox>("cbxVLine")->currentText(), "6,80");
  EXPECT_EQ(items(Get<QComboBox>("cbxCompilerOptions")), (QStringList{"-O2", "-g"}));
  std::vector<std::string> stored;
  ReadObject(sidChangesEdgeColumn, stored);
  EXPECT_EQ(stored, (std::vector<std::string>{"6,80", "6,72,80", "6,72", "6", "72"}));
}

// Keys go where the user's keys go: to the widget that holds the focus after a click on the
// box. An editable list keeps the focus itself and hands keys to its text box by a direct
// call, so typing into that text box straight would pass a filter the user's keys never meet.
class OptionsKeysTest : public OptionsTest {
 public:
  TfrmOptions& Shown(int page) {
    TfrmOptions& d = Open(page);
    d.show();
    d.activateWindow();
    EXPECT_TRUE(QTest::qWaitForWindowActive(&d));
    return d;
  }
  /// Clicks into the box on its page and returns the widget that took the focus.
  QWidget* Reach(const char* box) {
    QWidget* w = dialog_->Control(box);
    for (QWidget* p = w; p; p = p->parentWidget())
      if (auto* tabs = qobject_cast<QTabWidget*>(
              p->parentWidget() ? p->parentWidget()->parentWidget() : nullptr))
        tabs->setCurrentWidget(p);
    auto* list = qobject_cast<QComboBox*>(w);
    QWidget* target = list ? list->lineEdit() : w;
    QTest::mouseClick(target, Qt::LeftButton, {}, QPoint(4, target->height() / 2));
    EXPECT_TRUE(QTest::qWaitFor([&] { return QApplication::focusWidget() != nullptr; }));
    return QApplication::focusWidget();
  }
  static QString TextOf(QWidget* w) {
    if (auto* e = qobject_cast<QLineEdit*>(w)) return e->text();
    return static_cast<QComboBox*>(w)->currentText();
  }
};

TEST_F(OptionsKeysTest, TypedLettersAndMinusSignsNeverEnterNumericBoxes) {
  Shown(TfrmOptions::pgEditor);
  struct Case {
    const char* box;
    const char* typed;
    const char* shown;
  } cases[] = {
      {"cbxUndoLimit", "1a-2b", "12"},   {"cbxTabStops", "x8", "8"},
      {"cbxMaxLeftChars", "4e2", "42"},  {"cbxGutterWidth", "3 0px", "30"},
      {"cbxSize", "-1.5", "15"},         {"cbxVLine", "6,x7-2", "6,72"},
      {"edtMarginLeft", "3-a.5", "3.5"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.box);
    QWidget* focus = Reach(c.box);
    QTest::keyClick(focus, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClick(focus, Qt::Key_Delete);
    QTest::keyClicks(focus, c.typed);
    EXPECT_EQ(TextOf(dialog_->Control(c.box)), c.shown);
  }
}

TEST_F(OptionsKeysTest, AnEmptiedBoxShowsTheStoredValueWhenLeftOrApplied) {
  WriteInteger(sidUndoLimit, 555);
  WriteInteger(sidTabStops, 6);
  WriteInteger(sidMaxLeftChars, 2048);
  WriteInteger(sidGutterWidth, 40);
  WriteInteger(sidFontSize, 12);
  WriteString(sidVerticalLineColumn, "7,73");
  const char* boxes[] = {"cbxUndoLimit",   "cbxTabStops", "cbxMaxLeftChars",
                         "cbxGutterWidth", "cbxSize",     "cbxVLine"};
  for (bool apply : {false, true}) {
    for (const char* box : boxes) {
      SCOPED_TRACE(std::string(box) + (apply ? " then OK" : " then Tab"));
      TfrmOptions& d = Shown(TfrmOptions::pgEditor);
      QWidget* focus = Reach(box);
      QTest::keyClick(focus, Qt::Key_A, Qt::ControlModifier);
      QTest::keyClick(focus, apply ? Qt::Key_Backspace : Qt::Key_Delete);
      ASSERT_EQ(TextOf(d.Control(box)), "");
      if (apply) {
        // Enter in the box presses OK without leaving it.
        EXPECT_TRUE(d.Apply());
        EXPECT_TRUE(prompts_.asked.empty()) << prompts_.asked[0].Text;
      } else {
        QTest::keyClick(focus, Qt::Key_Tab);
      }
      const std::string stored = ReadBindingText(Store(), *FindBinding(box));
      EXPECT_EQ(TextOf(d.Control(box)), QString::fromStdString(stored));
      EXPECT_FALSE(stored.empty());
    }
  }
}

TEST_F(OptionsTest, ValuesThatCannotBeAppliedAreNamedAndNothingIsWritten) {
  struct Case {
    const char* box;
    const char* text;
    const char* named;  ///< a part of the message
  } cases[] = {
      {"cbxVLine", "6,,72,abc,999999", "abc"},
      {"cbxVLine", "6,,72,999999", "999999"},
      {"cbxUndoLimit", "99999999999", "99999999999"},
      {"cbxTabStops", "0", "'0'"},
      {"edtMarginLeft", "300", "margins are larger"},
      {"edtMarginTop", "280", "margins are larger"},
      {"edtMarginRight", "1,5", "1,5"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.box + std::string(" ") + c.text);
    const std::vector<std::string> before = AllStored();
    const TPrintSettings print = main_->PrintSettings();
    TfrmOptions& d = Open();
    QWidget* w = d.Control(c.box);
    if (auto* e = qobject_cast<QLineEdit*>(w))
      e->setText(c.text);
    else
      static_cast<QComboBox*>(w)->setEditText(c.text);
    Get<QCheckBox>("chkSplashScreen")->click();
    prompts_.asked.clear();
    prompts_.Answer(TModalResult::OK);
    EXPECT_FALSE(d.Apply());
    ASSERT_EQ(prompts_.asked.size(), 1u);
    EXPECT_NE(prompts_.asked[0].Text.find(c.named), std::string::npos) << prompts_.asked[0].Text;
    EXPECT_EQ(AllStored(), before);
    EXPECT_EQ(main_->PrintSettings(), print);
    EXPECT_TRUE(d.ApplyEnabled());
    // The page with the box is shown so the user sees what to correct.
    EXPECT_TRUE(w->isVisibleTo(&d) || !d.isVisible());
  }
  // A guide list with empty fields only is tidied, not refused.
  TfrmOptions& d = Open();
  Get<QComboBox>("cbxVLine")->setEditText("6,,72,");
  ASSERT_TRUE(d.Apply());
  EXPECT_EQ(ReadString(sidVerticalLineColumn), "6,72");
}

TEST_F(OptionsTest, ChangingTheUnitConvertsTheMarginsShown) {
  Open(TfrmOptions::pgPrint);
  auto* left = Get<QLineEdit>("edtMarginLeft");
  EXPECT_EQ(left->text(), "25");
  left->setText("30");  // typed, not applied: replaced by the converted copy
  Get<QComboBox>("cbxMarginUnits")->setCurrentIndex(1);
  EXPECT_EQ(left->text(), "2.5");
  EXPECT_EQ(Get<QLineEdit>("edtMarginHFInternal")->text(), "0.05");
  ASSERT_TRUE(dialog_->Apply());
  EXPECT_EQ(main_->PrintSettings().Unit, TMarginUnit::Centimeters);
  EXPECT_DOUBLE_EQ(main_->PrintSettings().Left, 2.5);
}

TEST_F(OptionsTest, TheColorPageEditsACopyThatApplyHandsToTheMainWindow) {
  TfrmOptions& d = Open(TfrmOptions::pgEditor);
  // "Space" has no text style and no foreground.
  d.SelectElement(faSpace);
  EXPECT_FALSE(Get<QWidget>("grpTextAttributes")->isEnabled());
  EXPECT_FALSE(d.ForegroundSwatch()->isEnabled());
  EXPECT_TRUE(d.BackgroundSwatch()->Selected());
  // Keyword: a right-button release on a cell while the foreground is selected sets the
  // background.
  d.SelectElement(faKey);
  EXPECT_TRUE(d.ForegroundSwatch()->isEnabled());
  QTest::mouseClick(d.ForegroundSwatch(), Qt::LeftButton);
  EXPECT_TRUE(d.ForegroundSwatch()->Selected());
  TColorGrid* grid = d.ColorGrid();
  grid->resize(grid->sizeHint());
  QTest::mouseRelease(grid, Qt::RightButton, {}, grid->CellRect(11).center());  // yellow
  EXPECT_EQ(d.Element(faKey).Background, std::optional<TColor>(0x00FFFF));
  EXPECT_EQ(d.Element(faKey).Foreground, std::optional<TColor>(0xFF0000));  // unchanged
  EXPECT_TRUE(d.ApplyEnabled());
  EXPECT_FALSE(main_->Highlighter()->Attribute(faKey).Background);  // not before Apply
  // "Use default for Foreground" removes the colour of its own.
  Get<QCheckBox>("chkForeground")->click();
  EXPECT_FALSE(d.Element(faKey).Foreground);
  // The error line: no text style, both defaults available.
  d.SelectElement(TfrmOptions::ErrorLineElement);
  EXPECT_FALSE(Get<QWidget>("grpTextAttributes")->isEnabled());
  EXPECT_TRUE(Get<QCheckBox>("chkForeground")->isEnabled());
  QTest::mouseRelease(grid, Qt::LeftButton, {}, grid->CellRect(2).center());  // green
  ASSERT_TRUE(d.Apply());
  EXPECT_EQ(main_->Highlighter()->Attribute(faKey).Background, std::optional<TColor>(0x00FFFF));
  EXPECT_FALSE(main_->Highlighter()->Attribute(faKey).Foreground);
  EXPECT_EQ(main_->UserErrorLine().Foreground, std::optional<TColor>(0x008000));
}

/// The lightest channel-wise grey of the first twenty columns of a line: above 200 only when
/// that line's text is painted white.
int LightestTextOf(TStreakSynEdit* s, int line) {
  const long pos = s->SendScintilla(QsciScintillaBase::SCI_POSITIONFROMLINE,
                                    static_cast<unsigned long>(line - 1));
  const int y =
      static_cast<int>(s->SendScintilla(QsciScintillaBase::SCI_POINTYFROMPOSITION, 0ul, pos));
  const int height = static_cast<int>(s->SendScintilla(QsciScintillaBase::SCI_TEXTHEIGHT, 0ul));
  const QImage img = s->viewport()->grab().toImage();
  int lightest = 0;
  for (int x = s->TextAreaLeft(); x < s->TextAreaLeft() + 20 * s->CharWidth(); ++x)
    for (int dy = 0; dy < height; ++dy) {
      const QColor c(img.pixel(x, y + dy));
      lightest = std::max(lightest, std::min({c.red(), c.green(), c.blue()}));
    }
  return lightest;
}

// Only a background chosen for "Error line" with the mouse, as a user does, in English and
// in Portuguese: the sample and an editor paint that line green with white text.
TEST_F(OptionsTest, AnErrorLineGivenOnlyABackgroundOnTheColorPageIsWhiteOnThatColour) {
  main_->show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(main_.get()));
  for (bool portuguese : {false, true}) {
    SCOPED_TRACE(portuguese ? "Portuguese" : "English");
    if (portuguese) {
      MainLanguage().LoadFromFile(VORTAN_TEST_DATA "/../../resources/lang/Portugues.prlx");
      MainLanguage().Active = true;
      LoadStringTable(MainLanguage());
    }
    main_->SetUserErrorLine({});
    // An editor already showing an error line takes the new colours when OK applies them.
    TfrmEditor* before = main_->NewSourceFile();
    before->SetText("      A = 1\r\n      B = 2\r\n");
    before->MarkErrorLine(2);
    TfrmOptions& d = Open(TfrmOptions::pgEditor);
    d.EditorPages()->setCurrentIndex(2);
    d.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&d));
    auto* list = Get<QListWidget>("lstElements");
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {},
                      list->visualItemRect(list->item(TfrmOptions::ErrorLineElement)).center());
    ASSERT_EQ(d.CurrentElement(), TfrmOptions::ErrorLineElement);
    QTest::mouseClick(d.BackgroundSwatch(), Qt::LeftButton);
    QTest::mouseClick(d.ColorGrid(), Qt::LeftButton, {},
                      d.ColorGrid()->CellRect(2).center());  // green
    EXPECT_GT(LightestTextOf(d.SampleEditor(), d.SampleErrorLine()), 200);
    QTest::mouseClick(Get<QPushButton>("btnOK"), Qt::LeftButton);
    EXPECT_EQ(main_->UserErrorLine().Background, std::optional<TColor>(0x008000));
    EXPECT_FALSE(main_->UserErrorLine().Foreground);
    dialog_.reset();
    EXPECT_GT(LightestTextOf(before->SynEdit(), 2), 200);
    const QImage shown = before->SynEdit()->viewport()->grab().toImage();
    const int row = static_cast<int>(before->SynEdit()->SendScintilla(
        QsciScintillaBase::SCI_POINTYFROMPOSITION, 0ul,
        before->SynEdit()->SendScintilla(QsciScintillaBase::SCI_POSITIONFROMLINE, 1ul)));
    EXPECT_EQ(
        QColor(shown.pixel(before->SynEdit()->TextAreaLeft() + 30 * before->SynEdit()->CharWidth(),
                           row + 2)),
        QColor(0, 128, 0));
    TfrmEditor* e = main_->NewSourceFile();
    e->SetText("      X = 1\r\n      Y = 2\r\n");
    e->MarkErrorLine(2);
    EXPECT_GT(LightestTextOf(e->SynEdit(), 2), 200);
    const QImage img = e->SynEdit()->viewport()->grab().toImage();
    const int y = static_cast<int>(e->SynEdit()->SendScintilla(
        QsciScintillaBase::SCI_POINTYFROMPOSITION, 0ul,
        e->SynEdit()->SendScintilla(QsciScintillaBase::SCI_POSITIONFROMLINE, 1ul)));
    EXPECT_EQ(
        QColor(img.pixel(e->SynEdit()->TextAreaLeft() + 30 * e->SynEdit()->CharWidth(), y + 2)),
        QColor(0, 128, 0));
  }
  MainLanguage().Active = false;
  MainLanguage().Root().Clear();
  ResetStringTable();
}

/// The top of a line in the text control's view, in its viewport's pixels.
int LineTop(TStreakSynEdit* s, int line) {
  const long pos = s->SendScintilla(QsciScintillaBase::SCI_POSITIONFROMLINE,
                                    static_cast<unsigned long>(line - 1));
  return static_cast<int>(s->SendScintilla(QsciScintillaBase::SCI_POINTYFROMPOSITION, 0ul, pos));
}

/// The colour of a line in its blank part after the text, at that column.
QColor LineBackground(TStreakSynEdit* s, int line, int column) {
  const QImage img = s->viewport()->grab().toImage();
  return QColor(img.pixel(s->TextAreaLeft() + column * s->CharWidth(), LineTop(s, line) + 2));
}

// The other ways the Color page gives "Error line" a background and nothing else, each with
// the mouse: the colour dialog reached from the background swatch, the grid and the sample;
// the right button on the grid; a foreground taken back with "Use default for". The sample
// and an editor then paint the line in that colour with white text.
TEST_F(OptionsTest, EveryWayOfGivingTheErrorLineOnlyABackgroundPaintsItsTextWhite) {
  static constexpr TColor kGreen = 0x008000;
  const QColor green(0, 128, 0);
  // A double click as the user makes it: a click, then the double click (the last release
  // comes while the colour dialog is up, and the blocked window never sees it).
  auto doubleClick = [](QWidget* w, QPoint at = {}) {
    QTest::mouseClick(w, Qt::LeftButton, {}, at);
    QTest::mouseDClick(w, Qt::LeftButton, {}, at);
  };
  auto cell = [](TfrmOptions& d, int i) { return d.ColorGrid()->CellRect(i).center(); };
  struct Case {
    const char* how;
    std::optional<TColor> storedForeground;
    std::function<void(OptionsTest&, TfrmOptions&)> give;
  } cases[] = {
      {"colour dialog from the background swatch",
       {},
       [&](OptionsTest& t, TfrmOptions& d) {
         t.prompts_.color_ = kGreen;
         doubleClick(d.BackgroundSwatch());
       }},
      {"colour dialog from the grid with the background swatch selected",
       {},
       [&](OptionsTest& t, TfrmOptions& d) {
         QTest::mouseClick(d.BackgroundSwatch(), Qt::LeftButton);
         t.prompts_.color_ = kGreen;
         doubleClick(d.ColorGrid(), cell(d, 12));  // blue from the click, green from the dialog
       }},
      {"colour dialog from the sample's error line with the background swatch selected",
       {},
       [&](OptionsTest& t, TfrmOptions& d) {
         QTest::mouseClick(d.BackgroundSwatch(), Qt::LeftButton);
         t.prompts_.color_ = kGreen;
         TStreakSynEdit* s = d.SampleEditor();
         doubleClick(s->viewport(), QPoint(s->TextAreaLeft() + 12 * s->CharWidth(),
                                           LineTop(s, d.SampleErrorLine()) + 2));
       }},
      {"right button on the grid with the foreground swatch selected",
       {},
       [&](OptionsTest&, TfrmOptions& d) {
         QTest::mouseClick(d.ForegroundSwatch(), Qt::LeftButton);
         QTest::mouseClick(d.ColorGrid(), Qt::RightButton, {}, cell(d, 2));
       }},
      {"a foreground chosen, then taken back with its default",
       {},
       [&](OptionsTest& t, TfrmOptions& d) {
         QTest::mouseClick(d.ForegroundSwatch(), Qt::LeftButton);
         QTest::mouseClick(d.ColorGrid(), Qt::LeftButton, {}, cell(d, 11));  // yellow
         t.Get<QCheckBox>("chkForeground")->click();
         QTest::mouseClick(d.BackgroundSwatch(), Qt::LeftButton);
         QTest::mouseClick(d.ColorGrid(), Qt::LeftButton, {}, cell(d, 2));
       }},
      {"a stored foreground taken back with its default", 0x00FFFF,
       [&](OptionsTest& t, TfrmOptions& d) {
         t.Get<QCheckBox>("chkForeground")->click();
         QTest::mouseClick(d.BackgroundSwatch(), Qt::LeftButton);
         QTest::mouseClick(d.ColorGrid(), Qt::LeftButton, {}, cell(d, 2));
       }},
  };
  main_->show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(main_.get()));
  for (const Case& c : cases) {
    SCOPED_TRACE(c.how);
    THighlightAttribute stored;
    stored.Foreground = c.storedForeground;
    main_->SetUserErrorLine(stored);
    prompts_.color_.reset();
    TfrmOptions& d = Open(TfrmOptions::pgEditor);
    d.EditorPages()->setCurrentIndex(2);
    d.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&d));
    auto* list = Get<QListWidget>("lstElements");
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {},
                      list->visualItemRect(list->item(TfrmOptions::ErrorLineElement)).center());
    c.give(*this, d);
    QApplication::processEvents();  // the sample's click selects its element when it returns
    ASSERT_EQ(d.CurrentElement(), TfrmOptions::ErrorLineElement);
    EXPECT_EQ(d.Element(TfrmOptions::ErrorLineElement).Background, std::optional<TColor>(kGreen));
    EXPECT_FALSE(d.Element(TfrmOptions::ErrorLineElement).Foreground);
    EXPECT_GT(LightestTextOf(d.SampleEditor(), d.SampleErrorLine()), 200);
    EXPECT_EQ(LineBackground(d.SampleEditor(), d.SampleErrorLine(), 50), green);
    QTest::mouseClick(Get<QPushButton>("btnOK"), Qt::LeftButton);
    dialog_.reset();
    TfrmEditor* e = main_->NewSourceFile();
    e->SetText("      X = 1\r\n      Y = 'TEXT'\r\n");
    e->MarkErrorLine(2);
    EXPECT_GT(LightestTextOf(e->SynEdit(), 2), 200);
    EXPECT_EQ(LineBackground(e->SynEdit(), 2, 30), green);
  }
}

// The sample's error line is the language's "ErrorLine": painted there in the error colours,
// and a click on it selects "Error line".
TEST_F(OptionsTest, TheSamplesErrorLineIsTheOneTheLanguageNames) {
  MainLanguage().LoadFromText(
      "OBJECTS {\n Form:Options {\n  Tab:Editor {\n   Tab:Color {\n    Edit:Sample {\n"
      "     ErrorLine = 3\n    }\n   }\n  }\n }\n}\n");
  MainLanguage().Active = true;
  THighlightAttribute onlyBackground;
  onlyBackground.Background = 0x008000;
  main_->SetUserErrorLine(onlyBackground);
  TfrmOptions& d = Open(TfrmOptions::pgEditor);
  d.EditorPages()->setCurrentIndex(2);
  d.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&d));
  EXPECT_EQ(d.SampleErrorLine(), 3);
  EXPECT_EQ(d.ElementAt(3, 9), TfrmOptions::ErrorLineElement);
  EXPECT_GT(LightestTextOf(d.SampleEditor(), 3), 200);
  EXPECT_EQ(LineBackground(d.SampleEditor(), 3, 50), QColor(0, 128, 0));
  // Line 7 is an ordinary line again.
  EXPECT_NE(d.ElementAt(7, 12), TfrmOptions::ErrorLineElement);
  EXPECT_NE(LineBackground(d.SampleEditor(), 7, 50), QColor(0, 128, 0));
  dialog_.reset();
  MainLanguage().Active = false;
  MainLanguage().Root().Clear();
}

TEST_F(OptionsTest, ClickingTheSampleSelectsTheElementUnderTheCaret) {
  TfrmOptions& d = Open(TfrmOptions::pgEditor);
  struct Case {
    int line, column, element;
  } cases[] = {
      {1, 3, faComment},     // "C Comments"
      {2, 9, faKey},         // PROGRAM
      {5, 7, faIdentifier},  // X
      {5, 11, faNumber},     // 0.5E+1
      {2, 2, faSpace},       // the blanks before PROGRAM
      {d.SampleErrorLine(), 12, TfrmOptions::ErrorLineElement},
  };
  for (const Case& c : cases)
    EXPECT_EQ(d.ElementAt(c.line, c.column), c.element) << c.line << ":" << c.column;
  EXPECT_EQ(d.SampleErrorLine(), 7);
}

TEST_F(OptionsTest, HeaderLinesBecomeItemsOfTheirEditorsAlignmentAndMacrosInsertAtTheCaret) {
  TfrmOptions& d = Open(TfrmOptions::pgPrint);
  QTextEdit* centre = d.HeaderEditor(1);
  EXPECT_TRUE(centre->toPlainText().isEmpty());
  EXPECT_EQ(d.HeaderEditor(2)->toPlainText(), "$PAGENUM$/$PAGECOUNT$\n$DATE$ $TIME$");
  centre->insertPlainText("Page ");
  d.RunHeaderFooterCommand(centre, "actPAGENUM");
  EXPECT_EQ(centre->toPlainText(), "Page $PAGENUM$");
  // Line attributes: the chosen font for the caret's line.
  TFontSpec big;
  big.Name = "Serif Face Kept By Name";
  big.Size = 18;
  prompts_.font_ = big;
  d.RunHeaderFooterCommand(centre, "actLineAttributes");
  ASSERT_TRUE(d.Apply());
  const THeaderFooter& h = main_->PrintSettings().PageHeader;
  bool found = false;
  for (const THeaderFooterItem& item : h.Items) {
    if (item.Text != "Page $PAGENUM$") continue;
    found = true;
    EXPECT_EQ(item.Alignment, THFAlignment::Center);
    EXPECT_EQ(item.LineNumber, 1);
    EXPECT_EQ(item.Font.Name, "Serif Face Kept By Name");
    EXPECT_EQ(item.Font.Size, 18);
  }
  EXPECT_TRUE(found);
  // Lines nobody touched keep their stored fonts, names included.
  for (const THeaderFooterItem& item : h.Items)
    if (item.Text == "$DATE$ $TIME$") {
      EXPECT_EQ(item.Font.Size, 6);
    }
}

TEST_F(OptionsTest, SwitchingTheCharacterSetAsksFirstWhenAnEditorCouldUndo) {
  TfrmEditor* e = main_->NewSourceFile();
  e->SetText("      X = 1\n");
  ASSERT_TRUE(e->CanUndo());
  TfrmOptions& d = Open();
  Get<QCheckBox>("chkANSIText")->click();
  prompts_.Answer(TModalResult::No);
  EXPECT_FALSE(d.Apply());
  EXPECT_FALSE(ReadBool(sidANSIText));
  EXPECT_TRUE(e->CanUndo());
  prompts_.Answer(TModalResult::Yes);
  ASSERT_TRUE(d.Apply());
  EXPECT_TRUE(ReadBool(sidANSIText));
  EXPECT_EQ(e->SynEdit()->CodePage(), platform::TCodePage::Ansi);
  EXPECT_EQ(prompts_.asked.size(), 2u);
  // Applying again without switching asks nothing.
  Get<QCheckBox>("chkSmartTabs")->click();
  ASSERT_TRUE(d.Apply());
  EXPECT_EQ(prompts_.asked.size(), 2u);
}

TEST_F(OptionsTest, EditorPagesShowTheActiveEditorsStateAndScrollPastEndDisablesMaintainCaret) {
  main_->show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(main_.get()));
  TfrmEditor* e = main_->NewSourceFile();
  ASSERT_EQ(main_->ActiveEditor(), e);
  e->SynEdit()->SetInsertMode(false);  // the Insert key, not the dialog
  TfrmOptions& d = Open(TfrmOptions::pgEditor);
  EXPECT_FALSE(Get<QCheckBox>("chkInsertMode")->isChecked());
  EXPECT_TRUE(ReadBool(sidInsertMode));
  auto* eol = Get<QCheckBox>("chkScrollPastEOL");
  auto* caret = Get<QCheckBox>("chkMaintainCaretCol");
  EXPECT_EQ(caret->isEnabled(), !eol->isChecked());
  eol->click();
  EXPECT_EQ(caret->isEnabled(), !eol->isChecked());
  ASSERT_TRUE(d.Apply());
  EXPECT_FALSE(ReadBool(sidInsertMode));
}

TEST_F(OptionsTest, TheOptionsCommandShowsTheActiveEditorsLineInTheFontSample) {
  // The dialog the command shows modally, read and closed as soon as it runs.
  auto sampleShown = [&] {
    QString shown;
    QTimer::singleShot(0, [&] {
      auto* d = qobject_cast<TfrmOptions*>(QApplication::activeModalWidget());
      ASSERT_NE(d, nullptr);
      shown = d->findChild<QLabel*>("lblFontDisplay")->text();
      d->reject();
    });
    ShowOptionsDialog(*main_, TfrmOptions::pgEditor);
    return shown;
  };
  EXPECT_EQ(sampleShown(), "AaBbYyZz") << "no editor";
  main_->show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(main_.get()));
  TfrmEditor* e = main_->NewSourceFile();
  ASSERT_EQ(main_->ActiveEditor(), e);
  e->SetText("      CALL SUB(X)   \r\n\r\n      END\r\n");
  struct Case {
    const char* name;
    std::function<void()> place;
    const char* sample;
  } cases[] = {
      {"caret on a line", [&] { e->SetCaret(1, 3); }, "CALL SUB(X)"},
      {"selection on one line", [&] { e->SynEdit()->SelectBytes(0, 11, 14, false); }, "SUB"},
      {"selection over two lines",
       [&] {
         e->SetCaret(3, 1);
         e->SynEdit()->SendScintilla(QsciScintillaBase::SCI_SETSEL, 8ul, 28l);
       },
       "END"},
      {"caret on an empty line", [&] { e->SetCaret(2, 1); }, "AaBbYyZz"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    c.place();
    EXPECT_EQ(sampleShown(), c.sample);
  }
}

// Language texts and header lines are Windows-1252 bytes: "€" and curly quotes must show as
// such, and a header line must come back unchanged.
TEST_F(OptionsTest, TextsBeyondAsciiShowRightAndHeaderLinesComeBackUnchanged) {
  TParlax language;
  language.LoadFromText("STRINGS {\n  PriorityIdle = \x93Ocioso\x94 \x80\n}\n");
  language.Active = true;
  LoadStringTable(language);
  THeaderFooterItem item;
  item.Text = "Relat\xf3rio \x93X\x94 \x80";
  item.Font = main_->PrintSettings().PageHeader.DefaultFont;
  main_->PrintSettings().PageHeader.Items = {item};
  TfrmOptions& d = Open(TfrmOptions::pgPrint);
  EXPECT_EQ(Get<QLabel>("lblIdle")->text(), QString::fromUtf8("“Ocioso” €"));
  Get<QSlider>("TrackBar1")->setValue(1);
  Get<QSlider>("TrackBar1")->setValue(0);
  EXPECT_EQ(Get<QLabel>("lblSelectedPriority")->text(), QString::fromUtf8("“Ocioso” €"));
  EXPECT_EQ(Get<QTextEdit>("rchHeaderLeft")->toPlainText(), QString::fromUtf8("Relatório “X” €"));
  ASSERT_TRUE(d.Apply());
  ASSERT_EQ(main_->PrintSettings().PageHeader.Items.size(), 1u);
  EXPECT_EQ(main_->PrintSettings().PageHeader.Items[0].Text, item.Text);
  ResetStringTable();
}

TEST_F(OptionsTest, ThemeIsAppliedByApplyOnly) {
  TfrmOptions& d = Open();
  const QString before = main_->Theme();
  const QString other = before == "Stripes" ? "Default" : "Stripes";
  Get<QComboBox>("cbxTheme")->setCurrentText(other);
  EXPECT_EQ(main_->Theme(), before);
  ASSERT_TRUE(d.Apply());
  EXPECT_EQ(main_->Theme(), other);
}

}  // namespace
}  // namespace vortan
