#include "app/CMainApp.h"

#include <QFileInfo>

#include <cstdio>

#include "dialogs/CAboutDialog.h"
#include "mainwindow/CMainDialog.h"
#include "mainwindow/MainDialogQueryLink.h"
#include "desktop/InstanceChannel.h"
#include "desktop/InstanceHandOff.h"
#include "desktop/QtProfileStore.h"

using namespace std::chrono_literals;

namespace {

// How long a second copy waits for the running one: long enough for a busy
// machine, short enough that a hung copy does not leave starts hanging for good.
constexpr int kHandOffTimeoutMs = 10000;

}  // namespace

CMainApp::CMainApp(int& argc, char** argv, std::optional<QByteArray> startAddress)
    : CLocalizedApp(argc, argv), m_startAddress(std::move(startAddress)) {
  // Settings live under the company and product names, whatever the executable is called.
  m_profile = std::make_unique<QtProfileStore>("Marrowby", "Quorvane");
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
  if (Settings.SingleInstance) {
    switch (HandOffToRunningCopy(m_startAddress, kHandOffTimeoutMs)) {
      case HandOffResult::HandedOver:
        return 0;
      case HandOffResult::NoAnswer:
        std::fprintf(stderr, "%s: the running copy did not answer; nothing was handed over.\n",
                     qPrintable(ApplicationTitle()));
        return 1;
      case HandOffResult::NoRunningCopy:
        break;
    }
  }
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
