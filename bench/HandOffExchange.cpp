// The reference for the hand-off benchmark: the channel's exchange and nothing else.
// Connects to SOCKET, sends the frames for ADDRESS (if given) and the notification, and
// waits at most 10 s for the one-byte answer. Exit 0 on the acknowledgement, else 1.
#include <poll.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <cstring>
#include <string>

#include "handoff/HandOffWire.h"

using namespace HandOffWire;

int main(int argc, char* argv[]) {
  if (argc < 2 || argc > 3) {
    std::fprintf(stderr, "usage: %s SOCKET [ADDRESS]\n", argv[0]);
    return 2;
  }
  std::string frames;
  if (argc == 3) {
    const auto size = static_cast<std::uint32_t>(std::strlen(argv[2]));
    frames += kMessage;
    for (int shift = 24; shift >= 0; shift -= 8) frames += static_cast<char>(size >> shift);
    frames += argv[2];
  }
  frames += kNotify;

  sockaddr_un address{};
  address.sun_family = AF_UNIX;
  std::snprintf(address.sun_path, sizeof address.sun_path, "%s", argv[1]);
  const int fd = socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
  if (connect(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0) return 1;
  if (send(fd, frames.data(), frames.size(), MSG_NOSIGNAL) != static_cast<ssize_t>(frames.size())) return 1;
  pollfd wait{fd, POLLIN, 0};
  char reply = 0;
  if (poll(&wait, 1, 10000) != 1 || read(fd, &reply, 1) != 1) return 1;
  close(fd);
  return reply == kAcknowledged ? 0 : 1;
}
