#include "desktop/InstanceHandOff.h"

#include <QDeadlineTimer>
#include <QLocalSocket>
#include <QtEndian>

#include "desktop/InstanceChannel.h"

HandOffResult HandOffToRunningCopy(const std::optional<QByteArray>& address, int timeoutMs) {
  const QString path = InstanceChannel::SocketPath();
  if (path.isEmpty()) return HandOffResult::NoRunningCopy;
  QLocalSocket socket;
  socket.connectToServer(path);
  // A socket whose owner is gone refuses at once; only a live copy accepts.
  if (!socket.waitForConnected(timeoutMs)) return HandOffResult::NoRunningCopy;

  QByteArray frames;
  if (address) {
    char length[4];
    qToBigEndian<quint32>(static_cast<quint32>(address->size()), length);
    frames += 'M';
    frames.append(length, 4);
    frames += *address;
  }
  frames += 'N';
  socket.write(frames);

  // The acknowledgement may come before a long message is written out: the
  // receiver does not read what it will not take.
  const QDeadlineTimer deadline(timeoutMs);
  while (!deadline.hasExpired()) {
    if (socket.bytesAvailable() > 0) return socket.read(1) == "A" ? HandOffResult::HandedOver : HandOffResult::NoAnswer;
    if (socket.state() != QLocalSocket::ConnectedState) break;
    if (socket.bytesToWrite() > 0)
      socket.waitForBytesWritten(int(deadline.remainingTime()));
    else
      socket.waitForReadyRead(int(deadline.remainingTime()));
  }
  if (socket.bytesAvailable() > 0 && socket.read(1) == "A") return HandOffResult::HandedOver;
  return HandOffResult::NoAnswer;
}
