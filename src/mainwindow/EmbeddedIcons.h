#pragma once

#include <QImage>

// The window's icons, compiled into the program as pixels (res/embed_icons.py makes them from
// res/icons at build time): showing one decodes nothing and loads no image-format plugin.
struct EmbeddedIconPixels {
  const char* name;  // the file's name without ".png": "quorvane-16", "query-32"
  int width;
  int height;
  const unsigned char* rgba;  // width * height pixels, 8 bits a channel, alpha not premultiplied
};

extern const EmbeddedIconPixels kEmbeddedIcons[];
extern const int kEmbeddedIconCount;

// The icon of that name, sharing the compiled pixels; a null image when there is none.
QImage EmbeddedIcon(const char* name);
