// The channel module's entry: everything else in it stays inside it.
#include "handoff/ChannelModule.h"

#include "handoff/ChannelClaim.h"
#include "handoff/InstanceChannel.h"

namespace {

bool Serve(ChannelClaim& claim, QObject& owner, const QMetaMethod& closing, HandOffHandler onHandOff) {
  auto* channel = new InstanceChannel(&owner);
  if (!channel->Serve(std::move(claim))) {
    delete channel;
    return false;
  }
  channel->ServeUntil(owner, closing, std::move(onHandOff));
  return true;
}

}  // namespace

extern "C" __attribute__((visibility("default"))) const ChannelModule* QuorvaneChannelModule() {
  static const ChannelModule module{&Serve};
  return &module;
}
