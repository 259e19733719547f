#include "app/ModuleBeside.h"

#include <dlfcn.h>

#include <QFile>
#include <QFileInfo>

void* LoadModuleBeside(const char* fileName, const char* entry, const char** error) {
  const QFileInfo executable(QFileInfo("/proc/self/exe").canonicalFilePath());
  const QByteArray path = QFile::encodeName(executable.absolutePath() + "/" + fileName);
  void* handle = dlopen(path.constData(), RTLD_NOW | RTLD_LOCAL);
  void* found = handle ? dlsym(handle, entry) : nullptr;
  if (!found) *error = dlerror();
  return found;
}
