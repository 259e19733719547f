// LIST answers come from whatever server the user names; a line must never
// yield an entry whose name is empty or still carries the line end.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>

#include "net/FtpListParser.h"

namespace {

[[noreturn]] void Fail(const char* what) {
  std::fprintf(stderr, "invariant broken: %s\n", what);
  std::abort();
}

void CheckLine(std::string_view line) {
  const auto entry = FtpListParser::ParseLine(line);
  if (!entry) return;
  if (entry->name.empty()) Fail("empty name");
  if (entry->name.find('\n') != std::string::npos) Fail("line feed in name");
  // A CR in the middle may belong to a real file name; one at the end is the
  // server's CR LF leaking into the name.
  if (entry->name.back() == '\r') Fail("line end CR kept in name");
}

}  // namespace

// The input is a listing: cut at LF the way the listing reader cuts it, with
// the last line possibly unterminated.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  std::string_view rest(reinterpret_cast<const char*>(data), size);
  while (!rest.empty()) {
    const auto end = rest.find('\n');
    CheckLine(rest.substr(0, end));
    if (end == std::string_view::npos) break;
    rest.remove_prefix(end + 1);
  }
  return 0;
}
