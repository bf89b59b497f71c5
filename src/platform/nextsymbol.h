#pragma once
// Finding a shared library's own definition of a function this program also defines.

namespace vortan::platform {

/// The next definition of `symbol` after this program's, in the order the dynamic linker
/// searches (the library the program overrides); nullptr, with `error` set, when none is found.
void* NextDefinitionOf(const char* symbol, const char** error = nullptr);

}  // namespace vortan::platform
