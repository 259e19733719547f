#include "handoff/InstanceHandOff.h"

#include <poll.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <QFile>
#include <QtEndian>

#include <cerrno>
#include <chrono>
#include <string>

#include "handoff/HandOffLog.h"
#include "core/UniqueDescriptor.h"
#include "handoff/HandOffWire.h"
#include "handoff/InstanceChannelPath.h"

using namespace HandOffWire;
using Clock = std::chrono::steady_clock;

namespace {

std::string Frames(const std::optional<QByteArray>& address) {
  std::string frames;
  if (address) {
    char length[kLengthBytes];
    qToBigEndian<quint32>(static_cast<quint32>(address->size()), length);
    frames += kMessage;
    frames.append(length, kLengthBytes);
    frames.append(address->constData(), static_cast<std::size_t>(address->size()));
  }
  frames += kNotify;
  return frames;
}

HandOffResult ResultOf(char reply) {
  if (reply == kAcknowledged) return HandOffResult::HandedOver;
  if (reply == kRefused) {
    qCInfo(lcHandOff) << "the running copy is closing; this copy runs its own window";
    return HandOffResult::NoRunningCopy;
  }
  qCInfo(lcHandOff) << "the running copy did not acknowledge the hand-off";
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

HandOffResult HandOffToRunningCopy(const std::optional<QByteArray>& address, int timeoutMs) {
  const auto connectDeadline = Clock::now() + std::chrono::milliseconds(timeoutMs);
  const QString path = InstanceChannelPath();
  if (path.isEmpty()) return HandOffResult::NoRunningCopy;
  const UniqueDescriptor socket(::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0));
  if (!Connect(socket, QFile::encodeName(path).toStdString(), connectDeadline)) return HandOffResult::NoRunningCopy;

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
  qCInfo(lcHandOff) << "no answer from the running copy within" << timeoutMs << "ms";
  return HandOffResult::NoAnswer;
}
