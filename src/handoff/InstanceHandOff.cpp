#include "handoff/InstanceHandOff.h"

#include <poll.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <cerrno>
#include <cstdint>
#include <chrono>
#include <string>

#include "core/UniqueDescriptor.h"
#include "handoff/HandOffWire.h"
#include "handoff/InstanceChannelPath.h"

using namespace HandOffWire;
using Clock = std::chrono::steady_clock;

namespace {

std::string Frames(const std::optional<std::string>& address) {
  std::string frames;
  if (address) {
    const auto length = static_cast<std::uint32_t>(address->size());
    frames += kMessage;
    for (int shift = 24; shift >= 0; shift -= 8) frames += static_cast<char>((length >> shift) & 0xFF);
    frames += *address;
  }
  frames += kNotify;
  return frames;
}

HandOffResult ResultOf(char reply) {
  if (reply == kAcknowledged) return HandOffResult::HandedOver;
  // Refused: the running copy is closing, and this copy runs its own window.
  if (reply == kRefused) return HandOffResult::NoRunningCopy;
  return HandOffResult::NoAnswer;
}

int MillisecondsLeft(Clock::time_point deadline) {
  const auto left = std::chrono::ceil<std::chrono::milliseconds>(deadline - Clock::now()).count();
  return left > 0 ? static_cast<int>(left) : 0;
}

// A live copy accepts at once; a socket whose owner is gone refuses at once. Only a
// listener whose queue is full keeps the connect waiting, and that wait is bounded too.
bool Connect(const UniqueDescriptor& socket, const std::string& path, Clock::time_point deadline) {
  sockaddr_un address{};
  if (socket.Get() < 0 || path.size() >= sizeof address.sun_path) return false;
  address.sun_family = AF_UNIX;
  path.copy(address.sun_path, path.size());
  const int left = MillisecondsLeft(deadline);
  const timeval wait{left / 1000, (left % 1000) * 1000};
  setsockopt(socket.Get(), SOL_SOCKET, SO_SNDTIMEO, &wait, sizeof wait);
  if (connect(socket.Get(), reinterpret_cast<const sockaddr*>(&address), sizeof address) != 0) return false;
  const timeval none{};
  setsockopt(socket.Get(), SOL_SOCKET, SO_SNDTIMEO, &none, sizeof none);
  return true;
}

}  // namespace

HandOffResult HandOffToRunningCopy(const std::optional<std::string>& address, int timeoutMs) {
  const auto connectDeadline = Clock::now() + std::chrono::milliseconds(timeoutMs);
  const std::string path = InstanceChannelPath();
  if (path.empty()) return HandOffResult::NoRunningCopy;
  const UniqueDescriptor socket(::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0));
  if (!Connect(socket, path, connectDeadline)) return HandOffResult::NoRunningCopy;

  // The answer may come before a long message is written out: the receiver does not
  // read what it will not take, so the reply is watched for while writing.
  const std::string frames = Frames(address);
  std::size_t written = 0;
  const auto deadline = Clock::now() + std::chrono::milliseconds(timeoutMs);
  for (int left = timeoutMs; left > 0; left = MillisecondsLeft(deadline)) {
    pollfd wait{socket.Get(), static_cast<short>(POLLIN | (written < frames.size() ? POLLOUT : 0)), 0};
    const int ready = poll(&wait, 1, left);
    if (ready < 0 && errno == EINTR) continue;
    if (ready <= 0) break;
    if (wait.revents & (POLLIN | POLLHUP | POLLERR)) {
      char reply = 0;
      if (recv(socket.Get(), &reply, 1, MSG_DONTWAIT) == 1) return ResultOf(reply);
      if (!(wait.revents & POLLOUT)) break;  // closed without an answer
    }
    if (wait.revents & POLLOUT) {
      const ssize_t sent = send(socket.Get(), frames.data() + written, frames.size() - written,
                                MSG_DONTWAIT | MSG_NOSIGNAL);
      if (sent > 0) written += static_cast<std::size_t>(sent);
      else if (sent < 0 && errno != EAGAIN && errno != EINTR) written = frames.size();  // a reply may still wait
    }
  }
  return HandOffResult::NoAnswer;
}
