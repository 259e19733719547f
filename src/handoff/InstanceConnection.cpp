#include "handoff/InstanceConnection.h"

#include <QLocalSocket>
#include <QtEndian>

#include "handoff/HandOffLog.h"
#include "handoff/HandOffWire.h"

using namespace HandOffWire;

InstanceConnection::InstanceConnection(QLocalSocket* socket, int timeoutMs, QObject* parent)
    : QObject(parent), m_socket(socket) {
  socket->setParent(this);
  m_timeout.setSingleShot(true);
  connect(&m_timeout, &QTimer::timeout, this, [this] { Drop("a hand-off that stalled"); });
  connect(socket, &QLocalSocket::readyRead, this, &InstanceConnection::OnReadyRead);
  connect(socket, &QLocalSocket::disconnected, this, [this] { Drop("a sender that left early"); });
  m_timeout.start(timeoutMs);
  OnReadyRead();
}

void InstanceConnection::OnReadyRead() {
  while (true) {
    // Never buffer more than one frame of the largest message that is taken.
    const qint64 room = qint64(kMaxMessage + kMessageHeader) - m_buffer.size();
    if (room <= 0) {
      Drop("a hand-off longer than one message");
      return;
    }
    const QByteArray chunk = m_socket->read(room);
    if (chunk.isEmpty()) return;
    m_buffer += chunk;
    if (!TakeFrames()) return;
  }
}

bool InstanceConnection::TakeFrames() {
  while (!m_buffer.isEmpty()) {
    const char kind = m_buffer.at(0);
    if (kind == kNotify) {
      Notify();
      return false;
    }
    if (kind != kMessage || m_message || m_oversize) {
      Drop("a hand-off that does not follow the wire format");
      return false;
    }
    if (m_buffer.size() < qsizetype(kMessageHeader)) return true;
    const quint32 length = qFromBigEndian<quint32>(m_buffer.constData() + 1);
    if (length > kMaxMessage) {
      // Too long to take: the address is dropped unread, the notification still counts.
      qCInfo(lcHandOff) << "a handed-over address of" << length << "bytes is not taken";
      m_oversize = true;
      Notify();
      return false;
    }
    if (m_buffer.size() < qsizetype(kMessageHeader + length)) return true;
    m_message = m_buffer.mid(kMessageHeader, length);
    m_buffer.remove(0, kMessageHeader + length);
  }
  return true;
}

void InstanceConnection::Notify() {
  m_timeout.stop();
  disconnect(m_socket, nullptr, this, nullptr);
  emit Notified(m_message);
  Answer(kAcknowledged);
}

void InstanceConnection::Refuse() {
  m_timeout.stop();
  disconnect(m_socket, nullptr, this, nullptr);
  Answer(kRefused);
}

void InstanceConnection::Answer(char reply) {
  m_socket->write(&reply, 1);
  m_socket->flush();
  m_socket->disconnectFromServer();
  deleteLater();
}

void InstanceConnection::Drop(const char* why) {
  qCInfo(lcHandOff) << "dropped" << why;
  m_timeout.stop();
  disconnect(m_socket, nullptr, this, nullptr);
  m_socket->abort();
  deleteLater();
}
