#pragma once
// A prompt service that answers from a script and records every question, so no test ever
// waits on a dialog.
#include <gtest/gtest.h>

#include <deque>
#include <functional>
#include <optional>
#include <vector>

#include "system/promptservice.h"

namespace vortan::test {

class TScriptedPrompts : public TPromptService {
 public:
  TScriptedPrompts() {
    previous_ = Prompts();
    SetPrompts(this);
  }
  ~TScriptedPrompts() override { SetPrompts(previous_); }

  /// Queues an answer; `tick` is the state of the check box when the dialog closes.
  void Answer(TModalResult r, bool tick = false) { answers_.push_back({r, tick}); }
  /// Answers every further question with this result, leaving the box as it was.
  void AnswerAlways(TModalResult r) { always_ = r; }

  TMessageAnswer MessageDlg(const TMessageRequest& request) override {
    asked.push_back(request);
    if (!answers_.empty()) {
      TMessageAnswer a = answers_.front();
      answers_.pop_front();
      return a;
    }
    if (always_ != TModalResult::None) return {always_, request.Checked};
    ADD_FAILURE() << "unexpected question: " << request.Text;
    return {EscapeResult(request.Buttons), request.Checked};
  }

  /// Queues the answer of the next file dialog (empty: cancelled).
  void AnswerFiles(std::vector<std::string> files) { files_.push_back(std::move(files)); }

  std::vector<std::string> OpenFileDialog(const TFileDialogRequest& r) override {
    fileDialogs.push_back(r);
    return NextFiles(r);
  }
  std::string SaveFileDialog(const TFileDialogRequest& r) override {
    fileDialogs.push_back(r);
    std::vector<std::string> f = NextFiles(r);
    return f.empty() ? std::string() : f.front();
  }

  /// Queues the answer of the next print dialog; without one the dialog counts as cancelled.
  void AnswerPrint(TPrintDialogAnswer a) { prints_.push_back(a); }
  TPrintDialogAnswer PrintDialog(const TPrintDialogRequest& r) override {
    printDialogs.push_back(r);
    if (prints_.empty()) return {};
    TPrintDialogAnswer a = prints_.front();
    prints_.pop_front();
    return a;
  }
  /// Plays the user in the next page setup dialogs: may change the printer, and answers
  /// whether the dialog was confirmed. Unset: cancelled.
  std::function<bool(QPrinter*)> pageSetup;
  std::vector<QPrinter*> pageSetupDialogs;
  bool PageSetupDialog(QPrinter* printer) override {
    pageSetupDialogs.push_back(printer);
    return pageSetup && pageSetup(printer);
  }

  /// Plays the user in the next text questions, in order: an answer, or nullopt for Cancel.
  std::deque<std::optional<std::string>> inputs;
  std::vector<std::string> inputPrompts;
  bool InputQuery(const std::string&, const std::string& prompt, std::string& value) override {
    inputPrompts.push_back(prompt);
    if (inputs.empty()) {
      ADD_FAILURE() << "unexpected text question: " << prompt;
      return false;
    }
    std::optional<std::string> answer = std::move(inputs.front());
    inputs.pop_front();
    if (answer) value = *answer;
    return answer.has_value();
  }

  std::vector<TMessageRequest> asked;
  std::vector<TFileDialogRequest> fileDialogs;
  std::vector<TPrintDialogRequest> printDialogs;

 private:
  std::vector<std::string> NextFiles(const TFileDialogRequest& r) {
    if (files_.empty()) {
      ADD_FAILURE() << "unexpected file dialog: " << r.Title;
      return {};
    }
    std::vector<std::string> f = std::move(files_.front());
    files_.pop_front();
    return f;
  }

  std::deque<TMessageAnswer> answers_;
  std::deque<std::vector<std::string>> files_;
  std::deque<TPrintDialogAnswer> prints_;
  TModalResult always_ = TModalResult::None;
  TPromptService* previous_ = nullptr;
};

}  // namespace vortan::test
