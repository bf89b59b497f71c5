#pragma once
// One unambiguous way to send a Scintilla message with integer or pointer arguments.

#include <Qsci/qsciscintillabase.h>

namespace vortan {

inline long Sci(const QsciScintillaBase* e, unsigned msg, long w = 0, long l = 0) {
  return e->SendScintilla(msg, static_cast<unsigned long>(w), l);
}

inline long SciPtr(const QsciScintillaBase* e, unsigned msg, long w, const void* p) {
  return e->SendScintilla(msg, static_cast<unsigned long>(w), const_cast<void*>(p));
}

}  // namespace vortan
