// Addresses are typed or pasted by the user and later become request lines and
// FTP commands; a parsed address must not smuggle control bytes into either: the
// server never holds one, and an FTP address's decoded path and login never do
// (other schemes send path and login encoded, as they were written).
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "net/ParsedUrl.h"
#include "query/QuerySizeThread.h"

namespace {

[[noreturn]] void Fail(const char* what) {
  std::fprintf(stderr, "invariant broken: %s\n", what);
  std::abort();
}

bool HasControlByte(const std::string& text) {
  for (const char c : text) {
    const auto byte = static_cast<unsigned char>(c);
    if (byte < 0x20 || byte == 0x7f) return true;
  }
  return false;
}

void Check(const std::string& address) {
  const auto url = ParsedUrl::Parse(address);
  if (!url) return;
  if (url->objectPath.empty() || url->objectPath.front() != '/') Fail("path without leading '/'");
  if (HasControlByte(address)) Fail("an address with a raw control byte was taken");
  if (HasControlByte(url->server)) Fail("control byte in the server");
  if (url->service == ServiceType::Ftp) {
    if (HasControlByte(url->objectPath)) Fail("control byte in the FTP path");
    if (HasControlByte(url->userName)) Fail("control byte in the FTP user name");
    if (HasControlByte(url->password)) Fail("control byte in the FTP password");
  }
  if ((url->service == ServiceType::Http) != (url->scheme == "http")) Fail("http service mismatch");
  if ((url->service == ServiceType::Ftp) != (url->scheme == "ftp")) Fail("ftp service mismatch");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string address(reinterpret_cast<const char*>(data), size);
  Check(address);
  // The query parses the completed address, not the typed one.
  const std::string completed = CompleteQueryAddress(address);
  if (completed != address) Check(completed);
  return 0;
}
