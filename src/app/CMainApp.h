#pragma once

#include <QByteArray>

#include <memory>
#include <optional>

#include "app/NetworkOnFirstUse.h"
#include "core/ProgramSettings.h"
#include "localisation/CLocalizedApp.h"

class ProfileStore;

// The application: its settings, its texts, and the run of its one window, which it
// hands the services it works with.
class CMainApp : public CLocalizedApp {
  Q_OBJECT
 public:
  // `startAddress` is the first command-line argument exactly as it was given: the
  // program takes no options, so Qt is never handed the command line to read its own.
  CMainApp(int& argc, char** argv, std::optional<QByteArray> startAddress);
  ~CMainApp() override;

  // The window's start, its whole run and the end, once HandOffBeforeTheWindow has
  // found no copy to hand over to. Returns the exit status.
  int InitInstance();
  // False when a query thread outlived the window: the process should then end
  // without pulling shared state away from it.
  bool QueriesEnded() const { return m_queriesEnded; }

  bool LoadSettings();
  bool SaveSettings();
  ProfileStore& Profile() { return *m_profile; }

  ProgramSettings Settings;

 private:
  std::unique_ptr<ProfileStore> m_profile;
  NetworkOnFirstUse m_network;  // ended after the window and its queries
  std::optional<QByteArray> m_startAddress;  // the first command-line argument
  bool m_queriesEnded = true;
};
