#pragma once

#include <QByteArray>

#include <functional>
#include <optional>

class ChannelClaim;
class QDialog;

// A hand-off's address, if one came and fits; the sender is released when it returns.
using HandOffHandler = std::function<void(const std::optional<QByteArray>& message)>;

// The instance channel's server (over Qt Network) lives in a module beside the executable:
// the window claims the channel before it shows (ChannelClaim: Qt Core and the system)
// and loads this once it has first painted, so its start never loads Qt Network.
struct ChannelModule {
  // Serves `claim` for `window` from now on until the window finishes. False when it cannot
  // be served; the claim is given up then.
  bool (*serve)(ChannelClaim& claim, QDialog& window, HandOffHandler onHandOff);
};

extern "C" const ChannelModule* QuorvaneChannelModule();
inline constexpr const char* kChannelModuleEntry = "QuorvaneChannelModule";
