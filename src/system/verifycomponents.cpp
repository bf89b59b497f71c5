#include "system/verifycomponents.h"

#include <string>
#include <vector>

#include "config/settingids.h"
#include "config/settingsstore.h"
#include "i18n/stringtable.h"
#include "platform/platform.h"
#include "system/promptservice.h"
#include "system/vortanpath.h"

namespace vortan {

namespace {
enum class TCheck { GoOn, StopTrue, StopFalse };

// Asks about each missing file of one list; returns how the check goes on.
TCheck CheckList(const std::vector<std::string>& list, const std::string& dir, bool& result,
                 bool& show) {
  for (const std::string& entry : list) {
    const std::string file = dir + entry;
    if (!dir.empty() && platform::FileExists(file)) continue;
    const std::string text =
        FormatText(TStr::strMsgFileMissing, {platform::FileNameText(file), "Vortan"});
    TModalResult answer =
        MessageDlgCheck(text, TMsgDlgType::Error,
                        {TMsgDlgBtn::Yes, TMsgDlgBtn::No, TMsgDlgBtn::YesToAll}, {}, show);
    if (answer == TModalResult::No) {
      result = false;
      return TCheck::StopFalse;
    }
    result = true;
    if (answer == TModalResult::YesToAll) return TCheck::StopTrue;
    if (!show) return TCheck::GoOn;  // leaves this list; the caller sees show == false
  }
  return TCheck::GoOn;
}
}  // namespace

bool VerifyComponents(TVortanPath& paths, TSettingsStore& store) {
  std::vector<std::string> bin = store.ReadList(sidBinCheckList);
  std::vector<std::string> lib = store.ReadList(sidLibCheckList);
  bool result = true;
  bool show = store.ReadBool(sidInstallFileMissing);
  bool stopped = false;
  if (show) {
    TCheck c = CheckList(lib, paths.GetPath(sidLibPath), result, show);
    stopped = c != TCheck::GoOn;
  }
  if (show && !stopped) CheckList(bin, paths.GetPath(sidBinPath), result, show);
  // Written back also when the check stopped early, so a repaired list or a ticked box stays.
  store.WriteList(sidBinCheckList, bin);
  store.WriteList(sidLibCheckList, lib);
  store.WriteBool(sidInstallFileMissing, show);
  return result;
}

}  // namespace vortan
