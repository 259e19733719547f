#pragma once

#include <string>

// Where the running copy's channel lives: "$XDG_RUNTIME_DIR/Quorvane/ExchangeBuffer", or a
// private folder in the temp dir; empty when no private folder can be had, and then
// `problem` (if given) says why. Plain C++ and the system, so that a second copy finds it
// before anything else is set up.
std::string InstanceChannelPath(std::string* problem = nullptr);
