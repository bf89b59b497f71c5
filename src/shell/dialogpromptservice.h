#pragma once
#include "system/promptservice.h"

namespace vortan {

/// The prompt service of the running program: real modal dialogs.
class TDialogPromptService : public TPromptService {
 public:
  TMessageAnswer MessageDlg(const TMessageRequest& request) override;
  std::vector<std::string> OpenFileDialog(const TFileDialogRequest& request) override;
  std::string SaveFileDialog(const TFileDialogRequest& request) override;
  bool FontDialog(TFontSpec& font) override;
  bool ColorDialog(uint32_t& color) override;
  TPrintDialogAnswer PrintDialog(const TPrintDialogRequest& request) override;
  bool PageSetupDialog(QPrinter* printer) override;
  bool InputQuery(const std::string& caption, const std::string& prompt,
                  std::string& value) override;
};

}  // namespace vortan
