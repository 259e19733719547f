#include "core/WindowPositionRule.h"

#include "core/ProgramSettings.h"

namespace {

int RestoredEdge(std::int32_t stored, int current, int windowExtent, int screenExtent) {
  if (stored == ProgramSettings::kNoPosition) return current;
  if (stored >= screenExtent) return screenExtent - windowExtent;
  return stored;
}

}  // namespace

WindowPlacement RestoredWindowPosition(std::int32_t storedX, std::int32_t storedY, WindowPlacement current,
                                       int windowWidth, int windowHeight, int screenWidth, int screenHeight) {
  return {RestoredEdge(storedX, current.left, windowWidth, screenWidth),
          RestoredEdge(storedY, current.top, windowHeight, screenHeight)};
}
