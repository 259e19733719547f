#pragma once

#include <string>

// Loads the module at `path` and finds `entry` in it. Null when either fails; `error` then
// says why.
void* LoadModuleAt(const std::string& path, const char* entry, const char** error);

// The same for a module that lives beside the real executable (links resolved: bin/quorvane
// may be a link to it).
void* LoadModuleBeside(const char* fileName, const char* entry, const char** error);
