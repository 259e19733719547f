#pragma once

#include <QByteArray>
#include <QObject>
#include <QTimer>

#include <optional>

class QLocalSocket;

// One hand-off from a second copy, read as its bytes arrive so the UI thread
// never waits on a socket. A client that stalls, sends garbage or too much is
// dropped; the connection deletes itself when it ends.
class InstanceConnection : public QObject {
  Q_OBJECT
 public:
  InstanceConnection(QLocalSocket* socket, int timeoutMs, QObject* parent);

  // This copy is closing: the sender is told so and runs its own window.
  void Refuse();

 signals:
  void Notified(std::optional<QByteArray> message);

 private:
  void OnReadyRead();
  // Handles the frames complete in m_buffer; false when the connection is over.
  bool TakeFrames();
  void Notify();
  void Drop(const char* why);
  // Answers with one byte and ends the connection.
  void Answer(char reply);

  QLocalSocket* m_socket;
  QTimer m_timeout;
  QByteArray m_buffer;
  std::optional<QByteArray> m_message;
  bool m_oversize = false;
};
