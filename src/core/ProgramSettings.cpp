#include "core/ProgramSettings.h"

#include "core/ProfileStore.h"

namespace {

bool ReadBool(ProfileStore& store, const char* entry, bool defaultValue) {
  return store.GetProfileInt(ProgramSettings::kSection, entry, defaultValue ? 1 : 0) != 0;
}

void WriteBool(ProfileStore& store, const char* entry, bool value) {
  store.WriteProfileInt(ProgramSettings::kSection, entry, value ? 1 : 0);
}

}  // namespace

void ProgramSettings::Load(ProfileStore& store) {
  const ProgramSettings defaults;
  TopmostWindow = ReadBool(store, "TopmostWindow", defaults.TopmostWindow);
  WatchClipboard = ReadBool(store, "WatchClipboard", defaults.WatchClipboard);
  AutoAskSize = ReadBool(store, "AutoAskSize", defaults.AutoAskSize);
  GroupDigits = ReadBool(store, "GroupDigits", defaults.GroupDigits);
  SingleInstance = ReadBool(store, "SingleInstance", defaults.SingleInstance);
  SaveWindowPos = ReadBool(store, "SaveWindowPos", defaults.SaveWindowPos);
  xWindowPos = store.GetProfileInt(kSection, "xWindowPos", defaults.xWindowPos);
  yWindowPos = store.GetProfileInt(kSection, "yWindowPos", defaults.yWindowPos);
  LanguageFile = store.GetProfileString(kSection, "LanguageFile", defaults.LanguageFile);
  AskHttps = ReadBool(store, "AskHttps", defaults.AskHttps);
  AskSizeOtherWays = ReadBool(store, "AskSizeOtherWays", defaults.AskSizeOtherWays);
}

void ProgramSettings::Save(ProfileStore& store) const {
  WriteBool(store, "TopmostWindow", TopmostWindow);
  WriteBool(store, "WatchClipboard", WatchClipboard);
  WriteBool(store, "AutoAskSize", AutoAskSize);
  WriteBool(store, "GroupDigits", GroupDigits);
  WriteBool(store, "SingleInstance", SingleInstance);
  WriteBool(store, "SaveWindowPos", SaveWindowPos);
  SaveWindowPosition(store);
  store.WriteProfileString(kSection, "LanguageFile", LanguageFile);
  WriteBool(store, "AskHttps", AskHttps);
  WriteBool(store, "AskSizeOtherWays", AskSizeOtherWays);
}

void ProgramSettings::SaveWindowPosition(ProfileStore& store) const {
  store.WriteProfileInt(kSection, "xWindowPos", xWindowPos);
  store.WriteProfileInt(kSection, "yWindowPos", yWindowPos);
}
