#include "platform/nextsymbol.h"

#include <dlfcn.h>

namespace vortan::platform {

void* NextDefinitionOf(const char* symbol, const char** error) {
  void* found = ::dlsym(RTLD_NEXT, symbol);
  if (!found && error) *error = ::dlerror();
  return found;
}

}  // namespace vortan::platform
