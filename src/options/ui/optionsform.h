#pragma once
// The Options dialog: five pages (General, Editor, Run, Print, Others) over the settings and
// over copies of the main window's highlighter, error-line colours and print settings.
// Nothing is written or applied before Apply or OK; Apply is enabled exactly when something
// changed since creation or the last Apply.

#include <QDialog>
#include <QPointer>
#include <array>
#include <memory>
#include <string>
#include <vector>

#include "config/printsettings.h"
#include "config/storedformats.h"

class QAction;
class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QMenu;
class QPushButton;
class QRadioButton;
class QSlider;
class QStackedWidget;
class QTabWidget;
class QTextEdit;

namespace vortan {

class TColorButton;
class TColorGrid;
class TColorSwatch;
class TOptionsHost;
class TPageSample;
class TParlax;
class TStreakSynEdit;
class TSynFortranSyn;
struct TOptionBinding;

class TfrmOptions : public QDialog {
  Q_OBJECT
 public:
  enum TPage { pgGeneral = 0, pgEditor = 1, pgRun = 2, pgPrint = 3, pgOthers = 4 };
  /// Elements of the Color page: the seven highlighter attributes, then the error line.
  static constexpr int ErrorLineElement = 7;
  /// Text past column 72, the last entry of the Color page.
  static constexpr int IgnoredElement = 8;

  TfrmOptions(TOptionsHost& host, int page, QWidget* parent = nullptr);
  ~TfrmOptions() override;

  /// Writes and applies everything; false (nothing written) when a value cannot be applied
  /// or the user declined, after a message saying why.
  bool Apply();
  bool ApplyEnabled() const;
  /// The font sample's text ("AaBbYyZz").
  void SetFontSampleText(const QString& text);

  // For tests and screenshots
  QTabWidget* Pages() const { return pgcOptions_; }
  QTabWidget* EditorPages() const { return pgcEditor_; }
  QTabWidget* PrintPages() const { return pgcPrint_; }
  QPushButton* ApplyButton() const { return btnApply_; }
  /// The control bound to a settings-table row, by object name.
  QWidget* Control(const char* name) const;
  /// The text a bound control shows, as the binding table carries it.
  std::string ControlText(const TOptionBinding& b) const;
  void SetControlText(const TOptionBinding& b, const std::string& text);
  int CurrentElement() const { return currentElement_; }
  void SelectElement(int element);
  const THighlightAttribute& Element(int element) const { return elements_[std::size_t(element)]; }
  TColorSwatch* ForegroundSwatch() const { return swatchFG_; }
  TColorSwatch* BackgroundSwatch() const { return swatchBG_; }
  TColorGrid* ColorGrid() const { return grdColors_; }
  TStreakSynEdit* SampleEditor() const { return sampleEditor_; }
  int SampleErrorLine() const { return errorLineNumber_; }
  /// The element a click at that 1-based line and column of the sample selects.
  int ElementAt(int line, int column) const;
  QTextEdit* HeaderEditor(int column) const { return rchHeader_[std::size_t(column)]; }
  QTextEdit* FooterEditor(int column) const { return rchFooter_[std::size_t(column)]; }
  QMenu* HeaderFooterMenu() const { return popHeaderFooter_; }
  /// Runs a context-menu command ("actTITLE", "actLineAttributes", ...) on that editor.
  void RunHeaderFooterCommand(QTextEdit* editor, const char* action);
  const TPrintSettings& MarginsCopy() const { return print_; }

 protected:
  bool eventFilter(QObject* watched, QEvent* e) override;
  void showEvent(QShowEvent* e) override;

 private:
  void BuildGeneral();
  void BuildEditorOptions();
  void BuildEditorDisplay();
  void BuildEditorFixedForm();
  void BuildEditorColor();
  void BuildRun();
  void BuildPrintMargins();
  void BuildPrintHeaderFooter();
  void BuildPageSample();
  void BuildOthers();
  QWidget* BuildHFGroup(bool header);

  void LoadValues();
  void LoadPrint();
  void LoadHeaderFooter(const THeaderFooter& hf, bool header);
  void SaveHeaderFooter(THeaderFooter& hf, bool header) const;
  void WatchChanges();
  void Modificado();
  void ApplyLanguage(TParlax& language);
  void TranslateChildren(const class TParlaxItem& block, QObject* owner);

  // Checks before anything is written; each shows its own message.
  bool CheckValues();
  bool ReadMargins(TPrintSettings& into, bool report);
  bool ConfirmCharsetChange();
  void FocusControl(QWidget* w);
  void RefillFromStore(QObject* box);
  /// Every empty number, column or margin box shows its stored value again.
  void RefillEmptyBoxes();
  void PushHistories();

  // Color page
  THighlightAttribute& CurrentAttribute() { return elements_[std::size_t(currentElement_)]; }
  void RefreshColorPage();
  void SwatchColorChanged();
  void SelectSwatch(TColorSwatch* s);
  void ChooseSwatchColor(bool foreground);
  void UpdateSample();
  void SampleClicked();

  // Print pages
  void MarginUnitChanged(int unit);
  void FillMarginBoxes();
  void UpdatePageSample();
  void LineAttributes(QTextEdit* editor);
  void UpdatePriorityLabel();
  void UpdateFontSample();
  void UpdateMaintainCaret();

  TOptionsHost& host_;
  std::unique_ptr<TSynFortranSyn> highlighter_;  ///< the sample editor's copy
  std::array<THighlightAttribute, 9> elements_{};
  TPrintSettings print_;
  TFontSpec gutterFont_;
  int currentElement_ = 0;
  bool refreshing_ = false;
  bool loading_ = true;
  int errorLineNumber_ = 7;
  std::string storedGuideText_;
  std::string initialAnsi_;
  QPointer<QTextEdit> currentHF_;

  QTabWidget* pgcOptions_ = nullptr;
  QTabWidget* pgcEditor_ = nullptr;
  QTabWidget* pgcPrint_ = nullptr;
  QPushButton* btnOK_ = nullptr;
  QPushButton* btnCancel_ = nullptr;
  QPushButton* btnApply_ = nullptr;
  QComboBox* cbxTheme_ = nullptr;
  QLabel* lblFontDisplay_ = nullptr;
  QComboBox* cbxFont_ = nullptr;
  QComboBox* cbxSize_ = nullptr;
  QPushButton* btnGutterFont_ = nullptr;
  std::array<QRadioButton*, 4> runWith_{};
  QSlider* trackBar_ = nullptr;
  QLabel* lblSelectedPriority_ = nullptr;
  QListWidget* lstElements_ = nullptr;
  TColorGrid* grdColors_ = nullptr;
  TColorSwatch* swatchFG_ = nullptr;
  TColorSwatch* swatchBG_ = nullptr;
  QGroupBox* grpTextAttributes_ = nullptr;
  QCheckBox* chkBold_ = nullptr;
  QCheckBox* chkItalic_ = nullptr;
  QCheckBox* chkUnderline_ = nullptr;
  QCheckBox* chkForeground_ = nullptr;
  QCheckBox* chkBackground_ = nullptr;
  TStreakSynEdit* sampleEditor_ = nullptr;
  QWidget* sampleViewport_ = nullptr;
  QComboBox* cbxMarginUnits_ = nullptr;
  std::array<QLineEdit*, 10> margins_{};
  std::array<QCheckBox*, 6> printFlags_{};
  std::array<QTextEdit*, 3> rchHeader_{};
  std::array<QTextEdit*, 3> rchFooter_{};
  std::array<QRadioButton*, 3> rdbHeader_{};
  std::array<QRadioButton*, 3> rdbFooter_{};
  QStackedWidget* stkHeader_ = nullptr;
  QStackedWidget* stkFooter_ = nullptr;
  QCheckBox* chkHeaderMirror_ = nullptr;
  QCheckBox* chkFooterMirror_ = nullptr;
  std::array<QCheckBox*, 3> headerFrame_{};  ///< line under, box, shadow
  std::array<QCheckBox*, 3> footerFrame_{};  ///< line above, box, shadow
  TColorButton* btnHeaderLineColor_ = nullptr;
  TColorButton* btnHeaderShadowColor_ = nullptr;
  TColorButton* btnFooterLineColor_ = nullptr;
  TColorButton* btnFooterShadowColor_ = nullptr;
  QMenu* popHeaderFooter_ = nullptr;
  TPageSample* pageSample_ = nullptr;
  std::array<QPushButton*, 4> othersButtons_{};
};

}  // namespace vortan
