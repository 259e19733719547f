#include "handoff/InstanceChannelPath.h"

#include <QDir>
#include <QFileInfo>

#include <unistd.h>

#include "handoff/HandOffLog.h"

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
  if (!runtime.isEmpty()) qCInfo(lcHandOff) << "XDG_RUNTIME_DIR" << runtime << "is not our own folder; using the temp dir";
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
    qCInfo(lcHandOff) << "no private channel folder at" << folder;
    return {};
  }
  return folder;
}

}  // namespace

QString InstanceChannelPath() {
  const QString folder = PrivateFolder();
  return folder.isEmpty() ? QString() : folder + "/ExchangeBuffer";
}
