#include "desktop/InstanceConnection.h"

#include <QLocalSocket>
#include <QtEndian>

InstanceConnection::InstanceConnection(QLocalSocket* socket, qint64 maxMessage, int timeoutMs, QObject* parent)
    : QObject(parent), m_socket(socket), m_maxMessage(maxMessage) {
  socket->setParent(this);
  m_timeout.setSingleShot(true);
  connect(&m_timeout, &QTimer::timeout, this, &InstanceConnection::Drop);
  connect(socket, &QLocalSocket::readyRead, this, &InstanceConnection::OnReadyRead);
  connect(socket, &QLocalSocket::disconnected, this, &InstanceConnection::Drop);
  m_timeout.start(timeoutMs);
  OnReadyRead();
}

void InstanceConnection::OnReadyRead() {
  while (true) {
    // Never buffer more than one frame of the largest message that is taken.
    const qint64 room = m_maxMessage + 5 - m_buffer.size();
    if (room <= 0) {
      Drop();
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
    if (kind == 'N') {
      Notify();
      return false;
    }
    if (kind != 'M' || m_message || m_oversize) {
      Drop();
      return false;
    }
    if (m_buffer.size() < 5) return true;
    const quint32 length = qFromBigEndian<quint32>(m_buffer.constData() + 1);
    if (length > m_maxMessage) {
      // Too long to take: the address is dropped unread, the notification still counts.
      m_oversize = true;
      Notify();
      return false;
    }
    if (m_buffer.size() < 5 + qsizetype(length)) return true;
    m_message = m_buffer.mid(5, length);
    m_buffer.remove(0, 5 + length);
  }
  return true;
}

void InstanceConnection::Notify() {
  m_timeout.stop();
  disconnect(m_socket, nullptr, this, nullptr);
  emit Notified(m_message);
  m_socket->write("A", 1);
  m_socket->flush();
  m_socket->disconnectFromServer();
  deleteLater();
}

void InstanceConnection::Drop() {
  m_timeout.stop();
  disconnect(m_socket, nullptr, this, nullptr);
  m_socket->abort();
  deleteLater();
}
