#pragma once
// Which source file of a program holds its main program.

#include <string_view>

namespace vortan {

/// True when the fixed-form source holds a main program: a PROGRAM statement, or a program
/// unit that begins with an executable or declaration statement rather than SUBROUTINE,
/// FUNCTION or BLOCK DATA, as the compiler and the analyzer read an unnamed main program. A
/// header may carry the prefixes RECURSIVE, PURE, ELEMENTAL (and IMPURE, NON_RECURSIVE) and,
/// for a FUNCTION, a type, in any order and letter case, and may run over continuation lines.
/// Comment lines, labels and the text after column 72 do not count; an END statement ends a
/// unit.
bool HoldsMainProgram(std::string_view source);

}  // namespace vortan
