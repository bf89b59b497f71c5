#pragma once
// gdb's words for Fortran types and values, read back into Fortran terms: the declared
// bounds of an array, the type as a Fortran declaration spells it, an element's subscript in
// Fortran order, and values as a Fortran programmer writes them.

#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace vortan {

struct TFortranType {
  /// "REAL*4", "CHARACTER*20", "LOGICAL*4", "COMPLEX*8" ...
  std::string Base;
  /// Declared bounds, first dimension first ("(0:5)" -> {0, 5}); empty for a scalar.
  std::vector<std::pair<long, long>> Bounds;
  bool IsArray() const { return !Bounds.empty(); }
  /// "REAL*4 (3,4)", "DOUBLE ... (0:5)": the base and the bounds as declared.
  std::string Text() const;
  /// The number of elements (0 for a scalar; saturates instead of overflowing).
  long long Elements() const;
};

/// Reads gdb's type text ("real(kind=4) (3,4)", "character*20", "integer(kind=4) (0:5)").
TFortranType ParseFortranType(std::string_view gdbType);

/// A value as Fortran writes it: COMPLEX "(1.5,-2)" -> "(1.5, -2)", LOGICAL as .TRUE. or
/// .FALSE., CHARACTER kept as the quoted text; other values as gdb gave them.
std::string FortranValueText(std::string_view value);

/// The subscript of an array part in Fortran order: `fixed` holds the subscripts chosen so
/// far from the last dimension inwards. A(3,4) with {3} -> "A(:,3)"; with {2, 3} -> "A(2,3)".
std::string SubscriptText(std::string_view name, std::size_t rank, const std::vector<long>& fixed);

/// The name gdb uses for a routine, as the source declares it: "MAIN__" -> "MAIN",
/// "sub_" or "sub" -> "SUB".
std::string RoutineName(std::string_view gdbName);

}  // namespace vortan
