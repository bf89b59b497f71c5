#include "editor/ui/charactercount.h"

#include <Qsci/qsciscintillabase.h>
#include <cstdio>
#include <cstdlib>

#include "platform/nextsymbol.h"

namespace {

// The library's function, called with the object as its first argument.
using TSend = long (*)(const QsciScintillaBase*, unsigned int, unsigned long, long);

TSend LibrarySend() {
  static const TSend send = [] {
    const char* error = "";
    void* symbol =
        vortan::platform::NextDefinitionOf("_ZNK17QsciScintillaBase13SendScintillaEjml", &error);
    if (!symbol) {
      std::fprintf(stderr, "QScintilla's SendScintilla not found: %s\n", error ? error : "");
      std::abort();
    }
    return reinterpret_cast<TSend>(symbol);
  }();
  return send;
}

// Characters from the start of the document to `pos`: the index gives the line's start, a
// short walk the rest. The index is made once per document, on the first long count.
long CharactersBefore(const QsciScintillaBase* control, TSend send, long pos) {
  using B = QsciScintillaBase;
  if (!(send(control, B::SCI_GETLINECHARACTERINDEX, 0, 0) & B::SC_LINECHARACTERINDEX_UTF32))
    send(control, B::SCI_ALLOCATELINECHARACTERINDEX, B::SC_LINECHARACTERINDEX_UTF32, 0);
  const long line = send(control, B::SCI_LINEFROMPOSITION, static_cast<unsigned long>(pos), 0);
  const long lineStart =
      send(control, B::SCI_POSITIONFROMLINE, static_cast<unsigned long>(line), 0);
  return send(control, B::SCI_INDEXPOSITIONFROMLINE, static_cast<unsigned long>(line),
              B::SC_LINECHARACTERINDEX_UTF32) +
         send(control, B::SCI_COUNTCHARACTERS, static_cast<unsigned long>(lineStart), pos);
}

}  // namespace

long QsciScintillaBase::SendScintilla(unsigned int msg, unsigned long wParam, long lParam) const {
  const TSend send = LibrarySend();
  // Counts from the top are the ones asked per edit; others are short or rare and walk.
  if (msg == SCI_COUNTCHARACTERS && wParam == 0 && lParam >= vortan::kCharacterCountWalkBytes &&
      send(this, SCI_GETCODEPAGE, 0, 0) == SC_CP_UTF8) {
    const long length = send(this, SCI_GETLENGTH, 0, 0);
    return CharactersBefore(this, send, lParam < length ? lParam : length);
  }
  return send(this, msg, wParam, lParam);
}

namespace vortan {

void UseIndexedCharacterCount() {
  // Resolving the library's function here makes a missing symbol fail at the first editor, not
  // in the middle of an edit.
  (void)LibrarySend();
}

}  // namespace vortan
