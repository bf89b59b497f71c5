#include "editor/ui/reindentcommand.h"

#include <string>
#include <vector>

#include "config/settingids.h"
#include "config/settingsstore.h"
#include "editor/reindenter.h"
#include "editor/ui/streaksynedit.h"
#include "i18n/stringtable.h"
#include "platform/platformprofile.h"
#include "system/promptservice.h"
#include "system/vortanpath.h"

namespace vortan {

bool ReindentSource(TStreakSynEdit& edit) {
  const int count = static_cast<int>(edit.SendScintilla(QsciScintillaBase::SCI_GETLINECOUNT));
  int first = 0, last = count - 1;
  const TSelectionInfo selection = edit.SelectionInfo();
  if (selection.Present) {
    first = selection.Start.Line;
    last = selection.End.Line;
    // A selection ending at the start of a line leaves that line out.
    if (last > first && selection.End.Byte == 0) --last;
  }
  std::vector<std::string> lines;
  for (int line = first; line <= last; ++line) lines.push_back(edit.LineBytes(line + 1));
  const TReindenter reindenter(TReindenter::FindTool(PathOf(sidBinPath)),
                               Store().ReadString(sidFixedFormReindentOptions));
  const TReindentResult result = reindenter.Run(lines, selection.Present);
  switch (result.Status) {
    case TReindentResult::Ok:
      if (result.Lines != lines) edit.ReplaceLines(first, result.Lines);
      return true;
    case TReindentResult::ToolMissing:
      MessageDlgDef(FormatText(TStr::strMsgReindentToolMissing, {platform::ReindentFileName}),
                    TMsgDlgType::Error, {TMsgDlgBtn::OK});
      return false;
    default:
      MessageDlgDef(FormatText(TStr::strMsgReindentRefused, {result.Detail}), TMsgDlgType::Warning,
                    {TMsgDlgBtn::OK});
      return false;
  }
}

}  // namespace vortan
