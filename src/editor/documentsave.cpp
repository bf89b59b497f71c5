#include "editor/documentsave.h"

#include "i18n/stringtable.h"
#include "platform/filebytes.h"
#include "platform/platform.h"
#include "system/promptservice.h"
#include "system/sourcefilenames.h"

#include <cstring>

namespace vortan {

namespace {

void CannotCreate(const std::string& fileName, const std::string& reason) {
  MessageDlgDef(
      FormatStr("Cannot create file \"%s\". %s", {platform::FileNameText(fileName), reason}),
      TMsgDlgType::Error, {TMsgDlgBtn::OK});
}

bool Confirmed(const std::string& text, TMsgDlgType kind) {
  return MessageDlgDef(text, kind, {TMsgDlgBtn::Yes, TMsgDlgBtn::No}, {TMsgDlgBtn::No}) ==
         TModalResult::Yes;
}

}  // namespace

bool SaveDocumentFile(const TDocumentSave& save, std::string_view bytes) {
  const std::string& name = save.FileName;
  if (save.HadNul &&
      !Confirmed(FormatText(TStr::strMsgSaveReplacesNul, {platform::FileNameText(name)}),
                 TMsgDlgType::Confirmation))
    return false;
  const bool exists = platform::FileExists(name);
  // Checked before the backup, so that a refused save leaves the old backup alone too.
  if (exists) {
    if (const int denied = platform::FileWriteDenied(name)) {
      CannotCreate(name, std::strerror(denied));
      return false;
    }
  }
  if (save.CreateBackup && exists) {
    const std::string backup = BackupFileName(name);
    std::string error;
    if (!platform::WriteBackupCopy(name, backup, error) &&
        !Confirmed(FormatText(TStr::strMsgBackupFailed, {platform::FileNameText(backup), error}),
                   TMsgDlgType::Warning))
      return false;
  }
  std::string error;
  if (!platform::WriteFileReplacing(name, bytes, error)) {
    CannotCreate(name, error);
    return false;
  }
  return true;
}

}  // namespace vortan
