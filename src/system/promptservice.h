#pragma once
// Every modal question of the program goes through one prompt service, so that tests can
// replace the dialogs with scripted answers and never block on a window.

#include <cstdint>
#include <initializer_list>
#include <string>
#include <vector>

// The interface layer's printer. The core only carries the pointer from the print commands to
// the dialog service, and never looks inside.
class QPrinter;

namespace vortan {

struct TFontSpec;

enum class TMsgDlgType { Warning, Error, Information, Confirmation, Custom };

/// The eleven button kinds, in slot order.
enum class TMsgDlgBtn : int {
  Yes,
  No,
  OK,
  Cancel,
  Abort,
  Retry,
  Ignore,
  All,
  NoToAll,
  YesToAll,
  Help
};
constexpr int MsgDlgBtnCount = 11;

/// A set of buttons.
class TMsgDlgButtons {
 public:
  constexpr TMsgDlgButtons() = default;
  constexpr TMsgDlgButtons(std::initializer_list<TMsgDlgBtn> list) {
    for (auto b : list) bits_ |= Bit(b);
  }
  constexpr bool Has(TMsgDlgBtn b) const { return (bits_ & Bit(b)) != 0; }
  constexpr bool Empty() const { return bits_ == 0; }
  constexpr void Add(TMsgDlgBtn b) { bits_ |= Bit(b); }
  constexpr bool operator==(const TMsgDlgButtons&) const = default;

 private:
  static constexpr uint16_t Bit(TMsgDlgBtn b) { return uint16_t(1u << int(b)); }
  uint16_t bits_ = 0;
};

/// The answer of a message dialog: the button that closed it.
enum class TModalResult {
  None,
  Yes,
  No,
  OK,
  Cancel,
  Abort,
  Retry,
  Ignore,
  All,
  NoToAll,
  YesToAll,
  Help
};
TModalResult ResultOf(TMsgDlgBtn b);

/// The buttons that get the default role: the given set, else OK when present, else Yes.
TMsgDlgButtons EffectiveDefaults(TMsgDlgButtons buttons, TMsgDlgButtons defaults);
/// What Escape answers: Cancel when present, else No, else OK (None when neither exists).
TModalResult EscapeResult(TMsgDlgButtons buttons);

struct TMessageRequest {
  /// UTF-8, made of decoded parts (StrText / FormatText, platform::FileNameText).
  std::string Text;
  TMsgDlgType Kind = TMsgDlgType::Information;
  TMsgDlgButtons Buttons;
  TMsgDlgButtons Defaults;
  bool HasCheckBox = false;  ///< the "Don't show this message again." box
  bool Checked = false;      ///< its initial state
  int HelpContext = 0;
};

struct TMessageAnswer {
  TModalResult Result = TModalResult::Cancel;
  bool Checked = false;  ///< state of the check box when the dialog closed
};

/// A file dialog: `filter` in the stored form "Description|*.f;*.for|All Files|*.*".
struct TFileDialogRequest {
  std::string Title;
  std::string Filter;
  std::string FileName;         ///< proposed name (save) or initial selection
  std::string Directory;        ///< initial directory, empty for the dialog's own choice
  bool Multiple = false;        ///< open: several files may be chosen
  bool OverwritePrompt = true;  ///< save: ask before overwriting
};

/// The print dialog: which pages of how many, as the user leaves it.
struct TPrintDialogRequest {
  /// The printer the dialog works on: handed over with each question, so whichever service
  /// stands in place at that moment (a wrapper, a script) reaches the one that shows it.
  QPrinter* Printer = nullptr;
  int MinPage = 1;
  int MaxPage = 1;
  int FromPage = 1;  ///< range preset
  int ToPage = 1;
};

struct TPrintDialogAnswer {
  bool Accepted = false;  ///< false: cancelled, nothing is printed
  bool AllPages = true;
  int FromPage = 1;  ///< the range when not all pages
  int ToPage = 1;
  int Copies = 1;
};

/// The modal questions the program asks. The interface grows with the dialogs it needs;
/// every new question gets a neutral default here so scripted services stay small.
class TPromptService {
 public:
  virtual ~TPromptService() = default;
  virtual TMessageAnswer MessageDlg(const TMessageRequest& request) = 0;
  /// Chosen files in the dialog's order; empty when cancelled.
  virtual std::vector<std::string> OpenFileDialog(const TFileDialogRequest&) { return {}; }
  /// The chosen name; empty when cancelled.
  virtual std::string SaveFileDialog(const TFileDialogRequest&) { return {}; }
  /// A font dialog preset with `font`; true and `font` changed when the user confirmed.
  virtual bool FontDialog(TFontSpec& /*font*/) { return false; }
  /// A colour dialog preset with `color` (0x00BBGGRR); true and `color` changed when the
  /// user confirmed.
  virtual bool ColorDialog(uint32_t& /*color*/) { return false; }
  /// The print dialog on the request's printer (the chosen printer stays chosen).
  virtual TPrintDialogAnswer PrintDialog(const TPrintDialogRequest&) { return {}; }
  /// The printer setup dialog on `printer`; true when confirmed (the printer then holds the
  /// chosen paper and margins).
  virtual bool PageSetupDialog(QPrinter* /*printer*/) { return false; }
  /// Asks for one line of text (UTF-8); `value` holds the text shown first and the answer.
  /// False when cancelled.
  virtual bool InputQuery(const std::string& /*caption*/, const std::string& /*prompt*/,
                          std::string& /*value*/) {
    return false;
  }
};

/// The process-wide prompt service. Without one set, every question answers as Escape would.
TPromptService* Prompts();
void SetPrompts(TPromptService* service);

/// The message dialog with the "Don't show this message again." check box. The box starts
/// ticked when `show` is false; afterwards `show` is the negation of the box.
TModalResult MessageDlgCheck(const std::string& text, TMsgDlgType kind, TMsgDlgButtons buttons,
                             TMsgDlgButtons defaults, bool& show, int helpContext = 0);
/// The same dialog without the check box.
TModalResult MessageDlgDef(const std::string& text, TMsgDlgType kind, TMsgDlgButtons buttons,
                           TMsgDlgButtons defaults = {}, int helpContext = 0);

}  // namespace vortan
