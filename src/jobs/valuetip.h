#pragma once
// What a value tip is about: the Fortran name under the mouse in a fixed-form line.

#include <cstddef>
#include <string>
#include <string_view>

namespace vortan {

/// The name (a letter, then letters, digits and underscores) that holds the 0-based byte
/// `column` of the line; empty on a comment line, in the label field, inside a character
/// constant or off any name.
std::string FortranNameAt(std::string_view line, std::size_t column);

}  // namespace vortan
