#include "app/ModuleBeside.h"

#include <dlfcn.h>

#include "core/ProgramLocation.h"

void* LoadModuleBeside(const char* fileName, const char* entry, const char** error) {
  void* handle = dlopen(BesideProgram(fileName).c_str(), RTLD_NOW | RTLD_LOCAL);
  void* found = handle ? dlsym(handle, entry) : nullptr;
  if (!found) *error = dlerror();
  return found;
}
