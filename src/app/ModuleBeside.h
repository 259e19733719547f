#pragma once

// Loads a module that lives beside the real executable (links resolved: bin/quorvane may be
// a link to it) and finds `entry` in it. Null when either fails; `error` then says why.
void* LoadModuleBeside(const char* fileName, const char* entry, const char** error);
