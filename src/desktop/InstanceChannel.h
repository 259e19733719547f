#pragma once

#include <QByteArray>
#include <QLockFile>
#include <QLocalServer>
#include <QObject>

#include <memory>
#include <optional>

#include "desktop/ChannelClaim.h"
#include "desktop/ChannelModule.h"

class QDialog;

// The running copy's end of the hand-off between copies: a local socket in a
// folder only this user can enter, speaking HandOffWire. The sender waits until
// its hand-off has been handled (or refused, once this copy is closing).
class InstanceChannel : public QObject {
  Q_OBJECT
 public:
  static constexpr int kMaxConnections = 8;
  static constexpr int kClientTimeoutMs = 3000;

  explicit InstanceChannel(QObject* parent = nullptr);
  ~InstanceChannel() override;

  // Takes the channel if no other copy holds it and serves it. A socket left by a copy
  // that was killed is replaced; a live owner's is never touched.
  bool Create();
  // Serves a channel claimed earlier; connections that waited meanwhile are served now.
  bool Serve(ChannelClaim claim);
  // The window takes the hand-offs while it is open, and only then: from the moment it
  // finishes, the channel is closed.
  void ServeWindow(QDialog& window, HandOffHandler onHandOff);
  // Stops taking hand-offs: the socket goes, the channel is free for the next copy,
  // and a sender still waiting is told to run on its own.
  void Close();

  // "$XDG_RUNTIME_DIR/Quorvane/ExchangeBuffer", or a private folder in the temp dir;
  // empty when no private folder can be had.
  static QString SocketPath();

 signals:
  // A hand-off: the address if one came and fits (a longer one is not taken).
  // The sender is released when the handler returns.
  void Notified(std::optional<QByteArray> message);

 private:
  void OnNewConnection();

  QString m_path;
  std::unique_ptr<QLockFile> m_lock;
  QLocalServer* m_server = nullptr;
  int m_connections = 0;
};
