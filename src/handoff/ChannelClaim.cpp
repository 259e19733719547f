#include "handoff/ChannelClaim.h"

#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

#include <QFile>

#include <cerrno>
#include <cstring>

#include "handoff/HandOffLog.h"
#include "handoff/InstanceChannelPath.h"

std::optional<ChannelClaim> ChannelClaim::Take() {
  std::string problem;
  const QString path = QFile::decodeName(QByteArray::fromStdString(InstanceChannelPath(&problem)));
  if (!problem.empty()) qCInfo(lcHandOff).noquote() << QString::fromStdString(problem);
  if (path.isEmpty()) return std::nullopt;
  auto lock = std::make_unique<QLockFile>(path + ".lock");
  lock->setStaleLockTime(0);  // a lock is stale only when its process is gone
  if (!lock->tryLock(0)) {
    qCInfo(lcHandOff) << "another copy holds the channel" << path;
    return std::nullopt;
  }

  const QByteArray file = QFile::encodeName(path);
  sockaddr_un address{};
  if (static_cast<std::size_t>(file.size()) >= sizeof address.sun_path) {
    qCInfo(lcHandOff) << "the channel's path is too long:" << path;
    return std::nullopt;
  }
  address.sun_family = AF_UNIX;
  std::memcpy(address.sun_path, file.constData(), static_cast<std::size_t>(file.size()));
  // Holding the lock, any socket file left here belongs to a copy that has ended.
  unlink(file.constData());
  const int listener = socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
  // The folder is this user's alone (0700), so the socket is never reachable by others;
  // it is made the user's alone as well.
  if (listener < 0 || bind(listener, reinterpret_cast<const sockaddr*>(&address), sizeof address) != 0 ||
      chmod(file.constData(), S_IRUSR | S_IWUSR) != 0 || listen(listener, kListenBacklog) != 0) {
    qCInfo(lcHandOff) << "cannot listen at" << path << ":" << std::strerror(errno);
    if (listener >= 0) close(listener);
    unlink(file.constData());
    return std::nullopt;
  }
  return ChannelClaim(path, std::move(lock), listener);
}

ChannelClaim::ChannelClaim(ChannelClaim&& other) noexcept
    : m_path(std::move(other.m_path)), m_lock(std::move(other.m_lock)), m_listener(other.m_listener) {
  other.m_listener = -1;
}

ChannelClaim::~ChannelClaim() {
  if (m_listener >= 0) {
    close(m_listener);
    unlink(QFile::encodeName(m_path).constData());
  }
  m_lock.reset();
}

int ChannelClaim::TakeListener() {
  const int listener = m_listener;
  m_listener = -1;
  return listener;
}

std::unique_ptr<QLockFile> ChannelClaim::TakeLock() { return std::move(m_lock); }
