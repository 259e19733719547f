#include "desktop/InstanceChannel.h"

#include <QDir>
#include <QFileInfo>
#include <QLocalSocket>
#include <QStandardPaths>
#include <QTimer>
#include <QtEndian>

#include <unistd.h>

#include "desktop/InstanceConnection.h"

namespace {

// A folder only this user may enter: made with 0700 and refused if someone else owns it.
QString PrivateFolder() {
  QString base = qEnvironmentVariable("XDG_RUNTIME_DIR");
  QString folder = base.isEmpty() ? QDir::tempPath() + QString("/quorvane-%1").arg(getuid()) : base + "/Quorvane";
  QDir().mkpath(folder);
  // Checked before it is touched: a link or someone else's folder planted in a shared temp
  // dir is refused, and no chmod follows a link to a folder of ours elsewhere.
  const QFileInfo info(folder);
  if (info.isSymLink() || !info.isDir() || info.ownerId() != getuid()) return {};
  if (!QFile::setPermissions(folder, QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner))
    return {};
  return folder;
}

}  // namespace

InstanceChannel::InstanceChannel(QObject* parent) : QObject(parent) {}

InstanceChannel::~InstanceChannel() {
  if (m_server) m_server->close();
}

QString InstanceChannel::SocketPath() {
  const QString folder = PrivateFolder();
  return folder.isEmpty() ? QString() : folder + "/ExchangeBuffer";
}

bool InstanceChannel::Create() {
  const QString path = SocketPath();
  if (path.isEmpty()) return false;
  auto lock = std::make_unique<QLockFile>(path + ".lock");
  lock->setStaleLockTime(0);  // a lock is stale only when its process is gone
  if (!lock->tryLock(0)) return false;

  // Holding the lock, any socket file left here belongs to a copy that has ended.
  QLocalServer::removeServer(path);
  auto* server = new QLocalServer(this);
  server->setSocketOptions(QLocalServer::UserAccessOption);
  server->setMaxPendingConnections(kMaxConnections);
  if (!server->listen(path)) {
    delete server;
    return false;
  }
  connect(server, &QLocalServer::newConnection, this, &InstanceChannel::OnNewConnection);
  m_lock = std::move(lock);
  m_server = server;
  return true;
}

void InstanceChannel::OnNewConnection() {
  while (QLocalSocket* socket = m_server->nextPendingConnection()) {
    if (m_connections >= kMaxConnections) {
      socket->abort();
      socket->deleteLater();
      continue;
    }
    ++m_connections;
    auto* connection = new InstanceConnection(socket, kMaxMessage, kClientTimeoutMs, this);
    connect(connection, &InstanceConnection::Notified, this, &InstanceChannel::Notified);
    connect(connection, &QObject::destroyed, this, [this] { --m_connections; });
  }
}
