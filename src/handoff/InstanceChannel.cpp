#include "handoff/InstanceChannel.h"

#include <QFile>
#include <QLocalSocket>

#include <unistd.h>

#include "handoff/HandOffLog.h"
#include "handoff/HandOffWire.h"
#include "handoff/InstanceConnection.h"

InstanceChannel::InstanceChannel(QObject* parent) : QObject(parent) {}

InstanceChannel::~InstanceChannel() { Close(); }

bool InstanceChannel::Serve(ChannelClaim claim) {
  if (m_server) return false;
  auto* server = new QLocalServer(this);
  server->setMaxPendingConnections(kMaxConnections);
  const int listener = claim.TakeListener();
  if (!server->listen(listener)) {
    qCInfo(lcHandOff) << "cannot serve" << claim.Path() << ":" << server->errorString();
    ::close(listener);
    delete server;
    return false;  // the claim, going, gives the channel up
  }
  connect(server, &QLocalServer::newConnection, this, &InstanceChannel::OnNewConnection);
  m_path = claim.Path();
  m_lock = claim.TakeLock();
  m_server = server;
  return true;
}

void InstanceChannel::ServeUntil(QObject& owner, const QMetaMethod& closing, HandOffHandler onHandOff) {
  connect(this, &InstanceChannel::Notified, &owner, std::move(onHandOff));
  // A copy started while the window closes must not hand its address to a window that is
  // going: from the moment it closes, the channel is free and such a copy opens its own.
  connect(&owner, closing, this, metaObject()->method(metaObject()->indexOfSlot("Close()")));
}

void InstanceChannel::Close() {
  if (!m_server) return;
  m_server->close();
  delete m_server;
  m_server = nullptr;
  QFile::remove(m_path);  // nobody new can connect
  for (InstanceConnection* connection : findChildren<InstanceConnection*>(Qt::FindDirectChildrenOnly))
    connection->Refuse();
  m_lock.reset();  // unlocks: the next copy to start takes the channel
}

void InstanceChannel::OnNewConnection() {
  while (QLocalSocket* socket = m_server->nextPendingConnection()) {
    if (m_connections >= kMaxConnections) {
      qCInfo(lcHandOff) << "too many hand-offs at once; one is dropped";
      socket->abort();
      socket->deleteLater();
      continue;
    }
    ++m_connections;
    auto* connection = new InstanceConnection(socket, kClientTimeoutMs, this);
    connect(connection, &InstanceConnection::Notified, this, &InstanceChannel::Notified);
    connect(connection, &QObject::destroyed, this, [this] { --m_connections; });
  }
}
