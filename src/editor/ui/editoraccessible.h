#pragma once
// The editor's entry for assistive technology. QScintilla's own accessible object counts the
// characters from the start of the document to the caret on every caret move, which costs
// about 20 ms per move at the end of a 100,000-line file. Qt makes that object even when no
// assistive technology listens, so the editor gets it only when one does.

namespace vortan {

/// Installs, once per process, the factory that gives editors a plain accessible widget while
/// accessibility is inactive; while it is active QScintilla's full text interface is made.
/// Qt keeps an editor's first interface for the editor's life, so an editor opened before an
/// assistive technology started keeps the plain one.
void InstallEditorAccessibleFactory();

}  // namespace vortan
