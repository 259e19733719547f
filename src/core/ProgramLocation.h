#pragma once

#include <string>

// Where the running program lives, links resolved: bin/quorvane is a link to the real
// program in libexec/quorvane/, beside which its languages and modules are.

// The real executable's path; empty when the system does not tell it.
std::string ProgramPath();
// The folder that holds it.
std::string ProgramFolder();
// Its file name without the extension: the title of its message boxes.
std::string ProgramTitle();
// `name` in the program's folder.
std::string BesideProgram(const std::string& name);
