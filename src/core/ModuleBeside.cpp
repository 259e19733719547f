#include "core/ModuleBeside.h"

#include <dlfcn.h>

#include "core/ProgramLocation.h"

void* LoadModuleAt(const std::string& path, const char* entry, const char** error) {
  void* handle = dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
  void* found = handle ? dlsym(handle, entry) : nullptr;
  if (!found) *error = dlerror();
  return found;
}

void* LoadModuleBeside(const char* fileName, const char* entry, const char** error) {
  return LoadModuleAt(BesideProgram(fileName), entry, error);
}
