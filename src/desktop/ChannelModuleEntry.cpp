// The channel module's entry: everything else in it stays inside it.
#include "desktop/ChannelModule.h"

#include <QDialog>

#include "desktop/ChannelClaim.h"
#include "desktop/InstanceChannel.h"

namespace {

bool Serve(ChannelClaim& claim, QDialog& window, HandOffHandler onHandOff) {
  auto* channel = new InstanceChannel(&window);
  if (!channel->Serve(std::move(claim))) {
    delete channel;
    return false;
  }
  channel->ServeWindow(window, std::move(onHandOff));
  return true;
}

}  // namespace

extern "C" __attribute__((visibility("default"))) const ChannelModule* QuorvaneChannelModule() {
  static const ChannelModule module{&Serve};
  return &module;
}
