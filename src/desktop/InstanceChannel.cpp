#include "desktop/InstanceChannel.h"

#include <QDir>
#include <QFileInfo>
#include <QLocalSocket>

#include <unistd.h>

#include "desktop/DesktopLog.h"
#include "desktop/HandOffWire.h"
#include "desktop/InstanceConnection.h"

namespace {

bool IsOwnFolder(const QString& path) {
  const QFileInfo info(path);
  return !info.isSymLink() && info.isDir() && info.ownerId() == getuid();
}

// The session's runtime folder when it is really there and ours; we never create it,
// since a missing one means the session has none and a made-up one would outlive it.
QString RuntimeBase() {
  const QString runtime = qEnvironmentVariable("XDG_RUNTIME_DIR");
  if (!runtime.isEmpty() && IsOwnFolder(runtime)) return runtime + "/Quorvane";
  if (!runtime.isEmpty()) qCInfo(lcDesktop) << "XDG_RUNTIME_DIR" << runtime << "is not our own folder; using the temp dir";
  return QDir::tempPath() + QString("/quorvane-%1").arg(getuid());
}

// A folder only this user may enter: made with 0700 and refused if someone else owns it.
QString PrivateFolder() {
  const QString folder = RuntimeBase();
  QDir().mkdir(folder);
  // Checked before it is touched: a link or someone else's folder planted in a shared temp
  // dir is refused, and no chmod follows a link to a folder of ours elsewhere.
  if (!IsOwnFolder(folder) ||
      !QFile::setPermissions(folder, QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner)) {
    qCInfo(lcDesktop) << "no private channel folder at" << folder;
    return {};
  }
  return folder;
}

}  // namespace

InstanceChannel::InstanceChannel(QObject* parent) : QObject(parent) {}

InstanceChannel::~InstanceChannel() { Close(); }

QString InstanceChannel::SocketPath() {
  const QString folder = PrivateFolder();
  return folder.isEmpty() ? QString() : folder + "/ExchangeBuffer";
}

bool InstanceChannel::Create() {
  const QString path = SocketPath();
  if (path.isEmpty()) return false;
  auto lock = std::make_unique<QLockFile>(path + ".lock");
  lock->setStaleLockTime(0);  // a lock is stale only when its process is gone
  if (!lock->tryLock(0)) {
    qCInfo(lcDesktop) << "another copy holds the channel" << path;
    return false;
  }

  // Holding the lock, any socket file left here belongs to a copy that has ended.
  QLocalServer::removeServer(path);
  auto* server = new QLocalServer(this);
  server->setSocketOptions(QLocalServer::UserAccessOption);
  server->setMaxPendingConnections(kMaxConnections);
  if (!server->listen(path)) {
    qCInfo(lcDesktop) << "cannot listen at" << path << ":" << server->errorString();
    delete server;
    return false;
  }
  connect(server, &QLocalServer::newConnection, this, &InstanceChannel::OnNewConnection);
  m_lock = std::move(lock);
  m_server = server;
  return true;
}

void InstanceChannel::Close() {
  if (!m_server) return;
  m_server->close();  // removes the socket file: nobody new can connect
  delete m_server;
  m_server = nullptr;
  for (InstanceConnection* connection : findChildren<InstanceConnection*>(Qt::FindDirectChildrenOnly))
    connection->Refuse();
  m_lock.reset();  // unlocks: the next copy to start takes the channel
}

void InstanceChannel::OnNewConnection() {
  while (QLocalSocket* socket = m_server->nextPendingConnection()) {
    if (m_connections >= kMaxConnections) {
      qCInfo(lcDesktop) << "too many hand-offs at once; one is dropped";
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
