#pragma once
// The main window's texts from a language tree: its "Form:Main" block with the actions,
// menus, toolbars, panels and file-dialog titles, then the string-table texts it shows.

#include <string>

namespace vortan {

class TfrmMain;
class TParlax;

class TMainWindowTranslator {
 public:
  explicit TMainWindowTranslator(TfrmMain& main) : main_(main) {}
  /// Applies every key of the language's "Form:Main" block; keys it lacks leave the texts
  /// as they are. Layout updates of the bars and panels are held until the pass ends.
  void Apply(const TParlax& language);

 private:
  TfrmMain& main_;
};

}  // namespace vortan
