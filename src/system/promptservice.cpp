#include "system/promptservice.h"

#include <atomic>

namespace vortan {

namespace {
std::atomic<TPromptService*> g_prompts{nullptr};
}

TModalResult ResultOf(TMsgDlgBtn b) { return static_cast<TModalResult>(static_cast<int>(b) + 1); }

TMsgDlgButtons EffectiveDefaults(TMsgDlgButtons buttons, TMsgDlgButtons defaults) {
  if (!defaults.Empty()) return defaults;
  if (buttons.Has(TMsgDlgBtn::OK)) return {TMsgDlgBtn::OK};
  if (buttons.Has(TMsgDlgBtn::Yes)) return {TMsgDlgBtn::Yes};
  return {};
}

TModalResult EscapeResult(TMsgDlgButtons buttons) {
  if (buttons.Has(TMsgDlgBtn::Cancel)) return TModalResult::Cancel;
  if (buttons.Has(TMsgDlgBtn::No)) return TModalResult::No;
  if (buttons.Has(TMsgDlgBtn::OK)) return TModalResult::OK;
  return TModalResult::None;
}

TPromptService* Prompts() { return g_prompts.load(); }
void SetPrompts(TPromptService* service) { g_prompts.store(service); }

static TMessageAnswer Ask(const TMessageRequest& r) {
  if (TPromptService* p = Prompts()) return p->MessageDlg(r);
  return {EscapeResult(r.Buttons), r.Checked};
}

TModalResult MessageDlgCheck(const std::string& text, TMsgDlgType kind, TMsgDlgButtons buttons,
                             TMsgDlgButtons defaults, bool& show, int helpContext) {
  TMessageRequest r{text, kind, buttons, defaults, true, !show, helpContext};
  TMessageAnswer a = Ask(r);
  show = !a.Checked;
  return a.Result;
}

TModalResult MessageDlgDef(const std::string& text, TMsgDlgType kind, TMsgDlgButtons buttons,
                           TMsgDlgButtons defaults, int helpContext) {
  TMessageRequest r{text, kind, buttons, defaults, false, false, helpContext};
  return Ask(r).Result;
}

}  // namespace vortan
