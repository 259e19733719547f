#include "mainwindow/EmbeddedIcons.h"

#include <cstring>

QImage EmbeddedIcon(const char* name) {
  for (int i = 0; i < kEmbeddedIconCount; ++i) {
    const EmbeddedIconPixels& icon = kEmbeddedIcons[i];
    if (std::strcmp(icon.name, name) == 0)
      return QImage(icon.rgba, icon.width, icon.height, icon.width * 4, QImage::Format_RGBA8888);
  }
  return {};
}
