// Apart from the rest of CMainApp: the program itself serves its channel from the channel
// module (see ServeAfterFirstPaint), and must not link the channel's code.
#include "app/CMainApp.h"
#include "desktop/InstanceChannel.h"
#include "mainwindow/CMainDialog.h"

void CMainApp::ServeHandOffs(CMainDialog& dialog, InstanceChannel& channel) {
  channel.ServeWindow(dialog, [&dialog](const auto& message) { dialog.OnExchangeNotify(message); });
}
