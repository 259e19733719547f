// quorvane: the window.
#include <cstdlib>

#include "app/CMainApp.h"
#include "app/ClipboardStallProbe.h"
#include "app/FirstPaintProbe.h"
#include "app/StartupHandOff.h"

namespace {

// Clipboard changes made by other programs reach an unfocused window under
// Wayland only through XWayland, so X11 is preferred where it is available.
void PreferX11() {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM") && !qEnvironmentVariableIsEmpty("DISPLAY"))
    qputenv("QT_QPA_PLATFORM", "xcb");
}

}  // namespace

int main(int argc, char* argv[]) {
  // The command line is one address and nothing else, kept exactly as given.
  std::optional<QByteArray> startAddress;
  if (argc > 1) startAddress = QByteArray(argv[1]);
  // A copy that hands over never builds the window's world.
  if (const auto handedOver = HandOffBeforeTheWindow(startAddress)) return *handedOver;

  PreferX11();
  int status = 0;
  {
    // Qt sees only the program's name, so no address is ever taken for one of Qt's own options.
    int qtArgc = 1;
    CMainApp app(qtArgc, argv, std::move(startAddress));
    InstallFirstPaintProbe();
    InstallClipboardStallProbe(app);
    status = app.InitInstance();
    if (!app.QueriesEnded()) std::_Exit(status);  // a query thread still holds the network
  }
  return status;
}
