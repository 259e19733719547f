#pragma once

#include <QCoreApplication>

#include "core/ProgramSettings.h"
#include "desktop/QtProfileStore.h"
#include "localisation/CLocalizedApp.h"
#include "query/InProcessQueries.h"

// What the program's start hands its windows, made once for the widget tests: the test
// program's application object and its texts, the settings in the tests' own folder, and
// the real network code in this process.
class TestServices {
 public:
  static TestServices& Get() {
    static TestServices services;
    return services;
  }

  CLocalizedApp& App() { return *static_cast<CLocalizedApp*>(QCoreApplication::instance()); }
  LocalizedTexts& Texts() { return App().Texts(); }
  LanguageTable& Languages() { return Texts().Table(); }
  ProfileStore& Profile() { return m_profile; }
  QueryService& Queries() { return m_queries; }
  void LoadSettings() { Settings.Load(m_profile); }

  ProgramSettings Settings;

 private:
  TestServices() { LoadSettings(); }

  QtProfileStore m_profile = QtProfileStore::ProgramProfile();
  InProcessQueries m_queries;
};
