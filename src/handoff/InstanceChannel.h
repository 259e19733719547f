#pragma once

#include <QByteArray>
#include <QLockFile>
#include <QLocalServer>
#include <QMetaMethod>
#include <QObject>

#include <memory>
#include <optional>

#include "handoff/ChannelClaim.h"
#include "handoff/ChannelModule.h"

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

  // Serves a channel claimed earlier; connections that waited meanwhile are served now.
  bool Serve(ChannelClaim claim);
  // `owner` takes the hand-offs (on its thread) until it sends `closing`: from then on
  // the channel is closed.
  void ServeUntil(QObject& owner, const QMetaMethod& closing, HandOffHandler onHandOff);
  // Stops taking hand-offs: the socket goes, the channel is free for the next copy,
  // and a sender still waiting is told to run on its own.
  Q_SLOT void Close();

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
