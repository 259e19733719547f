#pragma once

#include <QString>

// Where the running copy's channel lives: "$XDG_RUNTIME_DIR/Quorvane/ExchangeBuffer", or a
// private folder in the temp dir; empty when no private folder can be had. Qt Core only, so
// a second copy finds it before any Qt application exists.
QString InstanceChannelPath();
