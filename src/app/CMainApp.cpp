#include "app/CMainApp.h"

#include <QFileInfo>

#include "dialogs/CAboutDialog.h"
#include "mainwindow/CMainDialog.h"
#include "mainwindow/MainDialogQueryLink.h"
#include "app/StartupHandOff.h"
#include "desktop/InstanceChannel.h"
#include "desktop/QtProfileStore.h"

using namespace std::chrono_literals;

CMainApp::CMainApp(int& argc, char** argv, std::optional<QByteArray> startAddress)
    : CLocalizedApp(argc, argv), m_startAddress(std::move(startAddress)) {
  m_profile = std::make_unique<QtProfileStore>(kProfileOrganisation, kProfileApplication);
}

CMainApp::~CMainApp() = default;

CMainApp* CMainApp::Current() { return static_cast<CMainApp*>(QCoreApplication::instance()); }

bool CMainApp::LoadSettings() {
  Settings.Load(*m_profile);
  return true;
}

bool CMainApp::SaveSettings() {
  Settings.Save(*m_profile);
  return true;
}

void CMainApp::ServeHandOffs(CMainDialog& dialog, InstanceChannel& channel) {
  QObject::connect(&channel, &InstanceChannel::Notified, &dialog, &CMainDialog::OnExchangeNotify);
  // A copy started while this window closes must not hand its address to a window that is
  // going: from the moment it closes, the channel is free and such a copy opens its own.
  QObject::connect(&dialog, &QDialog::finished, &channel, &InstanceChannel::Close);
}

int CMainApp::InitInstance() {
  LoadSettings();
  LoadLanguageFile(Settings.LanguageFile, false);

  InstanceChannel exchangeChannel;
  exchangeChannel.Create();  // without it this copy simply receives nothing

  CMainDialog dialog(Settings, *m_profile);
  // F1 and the About item: the About box over the window, for one modal run.
  QObject::connect(&dialog, &CMainDialog::AboutRequested, &dialog, [&dialog] {
    CAboutDialog about(&dialog);
    about.exec();
  });
  ServeHandOffs(dialog, exchangeChannel);
  if (m_startAddress) dialog.SetStartURL(QString::fromLocal8Bit(*m_startAddress));
  dialog.exec();

  // A cancelled query ends at once; the wait only guards against one stuck in the system.
  m_queriesEnded = dialog.QueryLink()->WaitUntilIdle(3s);
  return 0;
}
