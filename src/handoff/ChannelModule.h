#pragma once

#include <QByteArray>

#include <functional>
#include <optional>

class ChannelClaim;
class QMetaMethod;
class QObject;

// A hand-off's address, if one came and fits; the sender is released when it returns.
using HandOffHandler = std::function<void(const std::optional<QByteArray>& message)>;

// The instance channel's server (over Qt Network) lives in a module beside the executable:
// the window claims the channel before it shows (ChannelClaim: Qt Core and the system)
// and loads this once it has first painted, so its start never loads Qt Network.
struct ChannelModule {
  // Serves `claim` from now on, its hand-offs to `owner` (on its thread), until `owner`
  // sends `closing`. False when it cannot be served; the claim is given up then.
  bool (*serve)(ChannelClaim& claim, QObject& owner, const QMetaMethod& closing, HandOffHandler onHandOff);
};

extern "C" const ChannelModule* QuorvaneChannelModule();
inline constexpr const char* kChannelModuleEntry = "QuorvaneChannelModule";
