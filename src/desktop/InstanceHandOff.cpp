#include "desktop/InstanceHandOff.h"

#include <QDeadlineTimer>
#include <QLocalSocket>
#include <QtEndian>

#include "desktop/DesktopLog.h"
#include "desktop/HandOffWire.h"
#include "desktop/InstanceChannel.h"

using namespace HandOffWire;

namespace {

QByteArray Frames(const std::optional<QByteArray>& address) {
  QByteArray frames;
  if (address) {
    char length[kLengthBytes];
    qToBigEndian<quint32>(static_cast<quint32>(address->size()), length);
    frames += kMessage;
    frames.append(length, kLengthBytes);
    frames += *address;
  }
  frames += kNotify;
  return frames;
}

HandOffResult ResultOf(const QByteArray& reply) {
  if (reply == QByteArray(1, kAcknowledged)) return HandOffResult::HandedOver;
  if (reply == QByteArray(1, kRefused)) {
    qCInfo(lcDesktop) << "the running copy is closing; this copy runs its own window";
    return HandOffResult::NoRunningCopy;
  }
  qCInfo(lcDesktop) << "the running copy did not acknowledge the hand-off";
  return HandOffResult::NoAnswer;
}

}  // namespace

HandOffResult HandOffToRunningCopy(const std::optional<QByteArray>& address, int timeoutMs) {
  const QString path = InstanceChannel::SocketPath();
  if (path.isEmpty()) return HandOffResult::NoRunningCopy;
  QLocalSocket socket;
  socket.connectToServer(path);
  // A socket whose owner is gone refuses at once; only a live copy accepts.
  if (!socket.waitForConnected(timeoutMs)) return HandOffResult::NoRunningCopy;
  socket.write(Frames(address));

  // The answer may come before a long message is written out: the receiver does
  // not read what it will not take.
  const QDeadlineTimer deadline(timeoutMs);
  while (!deadline.hasExpired()) {
    if (socket.bytesAvailable() > 0) return ResultOf(socket.read(1));
    if (socket.state() != QLocalSocket::ConnectedState) break;
    if (socket.bytesToWrite() > 0)
      socket.waitForBytesWritten(int(deadline.remainingTime()));
    else
      socket.waitForReadyRead(int(deadline.remainingTime()));
  }
  if (socket.bytesAvailable() > 0) return ResultOf(socket.read(1));
  qCInfo(lcDesktop) << "no answer from the running copy within" << timeoutMs << "ms";
  return HandOffResult::NoAnswer;
}
