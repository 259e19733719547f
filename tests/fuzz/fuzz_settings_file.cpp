// A settings file is the user's, or anyone's who could write it; whatever it holds, the plain
// reader either gives values that contain none of the bytes it leaves to QSettings, or leaves
// the whole file to QSettings.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "core/SettingsFileReader.h"

namespace {

[[noreturn]] void Fail(const char* what) {
  std::fprintf(stderr, "invariant broken: %s\n", what);
  std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string bytes(reinterpret_cast<const char*>(data), size);
  const auto values = SettingsFileReader::ParsePlain(bytes);
  if (!values) return 0;
  for (const auto& [key, value] : *values) {
    if (key.find('/') == std::string::npos) Fail("a key without its group");
    if (value.find_first_of("\"\\@,;#\n") != std::string::npos) Fail("a value QSettings would read otherwise");
    SettingsFileReader::ParseInt32(value);
  }
  return 0;
}
