#pragma once

#include <QByteArray>
#include <QLockFile>
#include <QLocalServer>
#include <QObject>

#include <memory>
#include <optional>

// The running copy's end of the hand-off between copies: a local socket in a
// folder only this user can enter. One connection is one hand-off: an optional
// address, then the notification; the sender waits until it is acknowledged.
//
// Frames: 'M' + 4-byte big-endian length + the address's bytes; 'N' notifies.
// The receiver answers 'A' once the notification has been handled.
class InstanceChannel : public QObject {
  Q_OBJECT
 public:
  static constexpr qint64 kMaxMessage = 2048;
  static constexpr int kMaxConnections = 8;
  static constexpr int kClientTimeoutMs = 3000;

  explicit InstanceChannel(QObject* parent = nullptr);
  ~InstanceChannel() override;

  // Takes the channel if no other copy holds it. A socket left by a copy that was
  // killed is replaced; a live owner's is never touched.
  bool Create();
  bool IsOwner() const { return m_server != nullptr; }

  // "$XDG_RUNTIME_DIR/Quorvane/ExchangeBuffer", or a private folder in the temp dir.
  static QString SocketPath();

 signals:
  // A hand-off: the address if one came and fits (over kMaxMessage it is not taken).
  // The sender is released when the handler returns.
  void Notified(std::optional<QByteArray> message);

 private:
  void OnNewConnection();

  std::unique_ptr<QLockFile> m_lock;
  QLocalServer* m_server = nullptr;
  int m_connections = 0;
};
