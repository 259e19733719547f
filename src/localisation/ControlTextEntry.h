#pragma once

#include <cstdint>

// One row of a dialog's control-to-text table.
struct ControlTextEntry {
  static constexpr std::uint32_t kCaption = 0xFFFFFFFF;  // the dialog's own title
  static constexpr std::uint32_t kEnd = 0;               // ends the table

  std::uint32_t controlId;
  std::uint32_t stringId;
};
