#pragma once
// Counting the characters before a position in the text control without walking the document.
//
// QScintilla tells assistive technology about every inserted or deleted piece of text, and to
// do it counts the characters from the start of the document to the change, byte by byte:
// about 15 ms per typed key at the end of a 100,000-line file, whether or not anything listens.
// The count is asked through `QsciScintillaBase::SendScintilla(unsigned, unsigned long, long)`,
// a public function the library calls through its own symbol table, so this program supplies
// that function: it answers long counts from Scintilla's per-line character index (kept by
// Scintilla as the text changes) plus a count within one line, and passes every other message
// on unchanged to the library's own function.

namespace vortan {

/// Counts from the top of at least this many bytes are answered from the line index.
constexpr long kCharacterCountWalkBytes = 4096;

/// Links the counting into the program; the text control calls it once when it is made.
void UseIndexedCharacterCount();

}  // namespace vortan
