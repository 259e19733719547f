#pragma once

#include <memory>
#include <string>

#include "core/ProfileStore.h"

// The program's settings for a program that only reads them: the plain reader when it can
// tell (SettingsFileReader), else QSettings itself from the module at `qtReaderModule`, loaded
// only then; the defaults when neither can be had.
std::unique_ptr<ProfileStore> OpenSettingsForReading(const std::string& qtReaderModule);
