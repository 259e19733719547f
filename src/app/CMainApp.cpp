#include "app/CMainApp.h"

#include <QImageReader>
#include <QMetaMethod>
#include <QTimer>

#include "dialogs/CAboutDialog.h"
#include "mainwindow/CMainDialog.h"
#include "mainwindow/MainDialogQueryLink.h"
#include "app/BackgroundWarmUp.h"
#include "app/FirstPaintProbe.h"
#include "core/ModuleBeside.h"
#include "app/StartupHandOff.h"
#include "handoff/ChannelClaim.h"
#include "handoff/ChannelModule.h"
#include "handoff/HandOffLog.h"
#include "desktop/QtProfileStore.h"

using namespace std::chrono_literals;

CMainApp::CMainApp(int& argc, char** argv, std::optional<QByteArray> startAddress)
    : CLocalizedApp(argc, argv), m_startAddress(std::move(startAddress)) {
  m_profile = std::make_unique<QtProfileStore>(QtProfileStore::ProgramProfile());
  // Desktops match the window to its menu entry (and its icon) by this name.
  setDesktopFileName("org.example.quorvane");
}

CMainApp::~CMainApp() = default;

bool CMainApp::LoadSettings() {
  Settings.Load(*m_profile);
  return true;
}

bool CMainApp::SaveSettings() {
  Settings.Save(*m_profile);
  return true;
}

namespace {

constexpr int kServeUnpaintedMs = 1000;

// The channel was claimed before the window showed, so a copy started since waits for its
// answer; it is served once the window has first painted, when the channel's code (and Qt
// Network with it) is loaded: nothing of it is on the window's way to the screen.
void ServeAfterFirstPaint(CMainDialog& dialog, std::optional<ChannelClaim>& claim) {
  // A window that closes before its channel is served gives the channel up at once.
  QObject::connect(&dialog, &QDialog::finished, &dialog, [&claim] { claim.reset(); });
  const auto serve = [&dialog, &claim] {
    if (!claim || !dialog.isVisible()) return;
    const char* error = nullptr;
    const auto entry = reinterpret_cast<const ChannelModule* (*)()>(
        LoadModuleBeside(QUORVANE_CHANNEL_MODULE, kChannelModuleEntry, &error));
    if (!entry)
      qCInfo(lcHandOff) << "cannot load the channel's code:" << error;  // this copy receives nothing
    else
      entry()->serve(*claim, dialog, QMetaMethod::fromSignal(&QDialog::finished),
                     [&dialog](const auto& message) { dialog.OnExchangeNotify(message); });
    claim.reset();
  };
  AfterFirstPaint(dialog, serve);
  // A window that is not painted soon (started minimised, say) serves its channel all the same.
  QTimer::singleShot(kServeUnpaintedMs, &dialog, serve);
}

}  // namespace

int CMainApp::InitInstance() {
  LoadSettings();
  LoadLanguageFile(Settings.LanguageFile, false);

  std::optional<ChannelClaim> exchangeChannel = ChannelClaim::Take();  // without it this copy receives nothing

  CMainDialog dialog(Settings, *m_profile, Texts(), m_network);
  // F1 and the About item: the About box over the window, for one modal run.
  QObject::connect(&dialog, &CMainDialog::AboutRequested, &dialog, [this, &dialog] {
    CAboutDialog about(Texts(), &dialog);
    about.exec();
  });
  ServeAfterFirstPaint(dialog, exchangeChannel);
  // Ended after the window, before the network code it loads.
  BackgroundWarmUp warmUp;
  AfterFirstPaint(dialog, [this, &warmUp, &dialog] {
    warmUp.Start({[this] {
                    m_network.Load();
                    // Once through the address rule, so that its code is mapped and bound
                    // when the first copy runs it on the UI thread.
                    m_network.CaptureFromClipboard("http://example.org/", "", false);
                  },
                  [] { QImageReader::supportedImageFormats(); }});
    // On the UI thread, which owns the fonts, once the first paint has been shown.
    QTimer::singleShot(0, &dialog, [&dialog] { dialog.PrepareTextDrawing(); });
  });
  if (m_startAddress) dialog.SetStartURL(QString::fromLocal8Bit(*m_startAddress));
  dialog.exec();

  // A cancelled query ends at once; the wait only guards against one stuck in the system.
  m_queriesEnded = dialog.QueryLink()->WaitUntilIdle(3s);
  return 0;
}
