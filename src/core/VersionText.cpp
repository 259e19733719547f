#include "core/VersionText.h"

#include "core/ProductVersion.h"

std::string FormatVersionText(const std::optional<VersionNumbers>& version) {
  if (!version) return {};
  const auto [major, minor, patch, build] = *version;
  std::string text = std::to_string(major) + "." + std::to_string(minor);
  // The third part shows whenever either of the last two is set, even as "0".
  if (patch != 0 || build != 0) text += std::to_string(patch);
  if (build != 0) text += std::to_string(build);
  return text;
}

std::string GetVersionText() { return FormatVersionText(kProductVersion); }
