#pragma once

#include <cstdint>

struct WindowPlacement {
  int left;
  int top;
};

// Where a window goes at start-up, given the stored position (-1: none) and its
// current place. A stored edge at or beyond the screen's size is pulled back so
// the window's far edge meets the screen's; anything else, negative values too,
// is used as it stands.
WindowPlacement RestoredWindowPosition(std::int32_t storedX, std::int32_t storedY, WindowPlacement current,
                                       int windowWidth, int windowHeight, int screenWidth, int screenHeight);
