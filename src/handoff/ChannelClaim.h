#pragma once

#include <QLockFile>
#include <QString>

#include <memory>
#include <optional>

// The instance channel taken before it is served: the lock that makes this copy its owner,
// and its socket already listening, so a copy started from then on finds it and waits for
// the answer until the channel is served. Qt Core and the system only.
class ChannelClaim {
 public:
  // At most as many connections wait to be accepted; more wait in connect (bounded there).
  static constexpr int kListenBacklog = 50;

  // Nothing when another copy holds the channel or no private folder can be had. A socket
  // left by a copy that was killed is replaced; a live owner's is never touched.
  static std::optional<ChannelClaim> Take();

  ChannelClaim(ChannelClaim&& other) noexcept;
  ChannelClaim& operator=(ChannelClaim&&) = delete;
  // A claim never served gives the channel up: the socket goes and the lock is released.
  ~ChannelClaim();

  const QString& Path() const { return m_path; }
  // The server takes both over; the claim then holds nothing.
  int TakeListener();
  std::unique_ptr<QLockFile> TakeLock();

 private:
  ChannelClaim(QString path, std::unique_ptr<QLockFile> lock, int listener)
      : m_path(std::move(path)), m_lock(std::move(lock)), m_listener(listener) {}

  QString m_path;
  std::unique_ptr<QLockFile> m_lock;
  int m_listener = -1;
};
