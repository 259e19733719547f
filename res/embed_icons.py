#!/usr/bin/python3
"""Turns PNG icons into pixels compiled into the program, so that showing them needs no
image decoding and no image-format plugin at the window's start.

Usage: embed_icons.py OUTPUT.cpp ICON.png [ICON.png ...]
Each icon becomes RGBA bytes (8 bits a channel, alpha not premultiplied), decoded once here
by ImageMagick's convert, and an entry {name without ".png", width, height, bytes}.
"""

import os
import struct
import subprocess
import sys


def png_size(path):
    with open(path, "rb") as png:
        head = png.read(24)
    if head[:8] != b"\x89PNG\r\n\x1a\n" or head[12:16] != b"IHDR":
        sys.exit(f"{path}: not a PNG file")
    return struct.unpack(">II", head[16:24])


def rgba(path, width, height):
    pixels = subprocess.run(["convert", path, "-depth", "8", "rgba:-"], check=True,
                            capture_output=True).stdout
    if len(pixels) != width * height * 4:
        sys.exit(f"{path}: {len(pixels)} bytes of pixels for {width}x{height}")
    return pixels


def main():
    if len(sys.argv) < 3:
        sys.exit(__doc__)
    output, icons = sys.argv[1], sys.argv[2:]
    lines = ["// Made by res/embed_icons.py from the icons in res/icons; not to be edited.",
             '#include "mainwindow/EmbeddedIcons.h"', "", "namespace {", ""]
    entries = []
    for index, path in enumerate(icons):
        width, height = png_size(path)
        pixels = rgba(path, width, height)
        lines.append(f"const unsigned char kPixels{index}[] = {{")
        for start in range(0, len(pixels), 24):
            lines.append("  " + ",".join(str(b) for b in pixels[start:start + 24]) + ",")
        lines.append("};")
        name = os.path.splitext(os.path.basename(path))[0]
        entries.append(f'  {{"{name}", {width}, {height}, kPixels{index}}},')
    lines += ["", "}  // namespace", "", "const EmbeddedIconPixels kEmbeddedIcons[] = {"] + entries + [
        "};", f"const int kEmbeddedIconCount = {len(icons)};", ""]
    with open(output, "w") as out:
        out.write("\n".join(lines))


if __name__ == "__main__":
    main()
