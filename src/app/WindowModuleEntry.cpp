// The window module's entry: everything else in it stays inside it.
#include <QByteArray>

#include <cstdlib>

#include "app/CMainApp.h"
#include "app/ClipboardStallProbe.h"
#include "app/FirstPaintProbe.h"
#include "app/WindowModule.h"

namespace {

// Clipboard changes made by other programs reach an unfocused window under
// Wayland only through XWayland, so X11 is preferred where it is available.
void PreferX11() {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM") && !qEnvironmentVariableIsEmpty("DISPLAY"))
    qputenv("QT_QPA_PLATFORM", "xcb");
}

int Run(char* programName, const std::optional<std::string>& startAddress) {
  PreferX11();
  std::optional<QByteArray> address;
  if (startAddress) address = QByteArray::fromStdString(*startAddress);
  // Qt sees only the program's name, so no address is ever taken for one of Qt's own options.
  int qtArgc = 1;
  char* qtArgv[] = {programName, nullptr};
  CMainApp app(qtArgc, qtArgv, std::move(address));
  InstallFirstPaintProbe();
  InstallClipboardStallProbe(app);
  const int status = app.InitInstance();
  if (!app.QueriesEnded()) std::_Exit(status);  // a query thread still holds the network
  return status;
}

}  // namespace

extern "C" __attribute__((visibility("default"))) const WindowModule* QuorvaneWindowModule() {
  static const WindowModule module{&Run};
  return &module;
}
