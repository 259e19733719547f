// Language files are user-supplied; the reader must digest any bytes, keep
// every text inside the size a 1024-byte line buffer allows, read a file back
// exactly as it was written, and the table must hand back exactly what the
// reader parsed.
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>
#include <string_view>

#include "core/LanguageFileReader.h"
#include "core/LanguageTable.h"
#include "core/NumberTemplate.h"

namespace {

// "1=" is the shortest prefix in front of a text, and the line end is not kept.
constexpr std::size_t kMaxText = LanguageFileReader::kMaxPiece - 2;

[[noreturn]] void Fail(const char* what, std::uint32_t id) {
  std::fprintf(stderr, "invariant broken: %s (id %u)\n", what, id);
  std::abort();
}

// One scratch file per process, reused for every input. Its name is removed at
// once and it is reached through /proc, since libFuzzer ends without running
// atexit handlers and would leave it behind.
const std::string& ScratchPath() {
  static const std::string path = [] {
    // Memory-backed when possible: the round trip runs for every input.
    char name[] = "/dev/shm/quorvane_fuzz_lang_XXXXXX";
    int fd = mkstemp(name);
    if (fd < 0) {
      std::snprintf(name, sizeof name, "%s", "/tmp/quorvane_fuzz_lang_XXXXXX");
      fd = mkstemp(name);
    }
    if (fd < 0) std::abort();
    unlink(name);
    return "/proc/self/fd/" + std::to_string(fd);
  }();
  return path;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  const LanguageTexts texts = LanguageFileReader::Parse(bytes);

  for (const auto& [id, text] : texts) {
    if (text.size() > kMaxText) Fail("text longer than a line piece allows", id);
    // A line end would split one text across two lines of the file it came from.
    for (std::size_t i = text.find('\n'); i != std::string::npos; i = text.find('\n', i + 1))
      if (i == 0 || text[i - 1] != '\r') Fail("bare line feed in a text", id);
    if (text.find('\0') != std::string::npos) Fail("NUL inside a text", id);

    const std::string filled = FillNumberTemplate(text, INT64_MIN);
    if (filled.size() > text.size() + 20) Fail("more than one number placed", id);
  }

  // The file round trip is the costly part; a few texts are enough to compare.
  if (texts.size() <= 64) {
    {
      std::ofstream file(ScratchPath(), std::ios::binary | std::ios::trunc);
      file.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
      if (!file) std::abort();
    }
    std::string readBack;
    const LanguageFileRead read = LanguageFileReader::ReadFile(ScratchPath(), readBack);
    if (read.status != LanguageFileStatus::Read) Fail("scratch file not read to its end", 0);
    if (readBack != bytes) Fail("bytes read back differ from those written", 0);

    LanguageTable table;
    if (!table.LoadFromPath(ScratchPath(), true)) Fail("scratch file did not load", 0);
    for (const auto& [id, text] : texts) {
      std::string loaded;
      if (!table.GetString(id, loaded)) Fail("parsed text missing from the table", id);
      if (loaded != text) Fail("table text differs from the parsed one", id);
    }
  }
  return 0;
}
