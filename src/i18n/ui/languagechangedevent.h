#pragma once
// The language-changed message: tells a window to re-apply the texts of a language tree.
// Sent synchronously; the engine it carries is the one whose tree is to be applied.

#include <QEvent>

namespace vortan {

class TParlax;

class TLanguageChangedEvent : public QEvent {
 public:
  static constexpr QEvent::Type EventType = QEvent::Type(0x0BD0);

  explicit TLanguageChangedEvent(TParlax& engine) : QEvent(EventType), engine_(engine) {}
  TParlax& Engine() const { return engine_; }

 private:
  TParlax& engine_;
};

}  // namespace vortan
