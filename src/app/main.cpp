// quorvane: the window.
#include <curl/curl.h>

#include <cstdlib>

#include "app/CMainApp.h"

namespace {

// Clipboard changes made by other programs reach an unfocused window under
// Wayland only through XWayland, so X11 is preferred where it is available.
void PreferX11() {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM") && !qEnvironmentVariableIsEmpty("DISPLAY"))
    qputenv("QT_QPA_PLATFORM", "xcb");
}

}  // namespace

int main(int argc, char* argv[]) {
  PreferX11();
  curl_global_init(CURL_GLOBAL_DEFAULT);
  int status = 0;
  {
    CMainApp app(argc, argv);
    status = app.InitInstance();
    if (!app.QueriesEnded()) std::_Exit(status);  // a query thread still holds the network
  }
  curl_global_cleanup();
  return status;
}
