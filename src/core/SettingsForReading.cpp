#include "core/SettingsForReading.h"

#include "core/ModuleBeside.h"
#include "core/ProductVersion.h"
#include "core/SettingsFileReader.h"
#include "core/QtSettingsModule.h"

std::unique_ptr<ProfileStore> OpenSettingsForReading(const std::string& qtReaderModule) {
  if (auto plain = SettingsFileReader::Read(kProductOrganisation, "Quorvane"))
    return std::make_unique<SettingsFileReader>(std::move(*plain));
  const char* error = nullptr;
  const auto entry =
      reinterpret_cast<const QtSettingsModule* (*)()>(LoadModuleAt(qtReaderModule, kQtSettingsModuleEntry, &error));
  if (entry) return std::unique_ptr<ProfileStore>(entry()->open());
  return std::make_unique<SettingsFileReader>(SettingsFileReader::Defaults());
}
