#pragma once

#include <string>
#include <vector>

#include "ChildProcess.h"

// A settings folder of the tests' own, whose window setting is `languageFile`; none is
// written when it is empty.
std::string SettingsFolder(const std::string& languageFile);

// Runs quorvane-size with the built-in texts selected in the window's settings, unless
// `environment` names a settings folder itself.
ChildProcess::Result RunSize(std::vector<std::string> arguments, std::vector<std::string> environment = {});

// The environment entry that makes quorvane-size use the built-in texts.
std::string BuiltInTextsSettings();
