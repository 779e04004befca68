#pragma once
// Pictures built into the program. The bytes are the files in this folder,
// embedded at build time by cmake/Embed.cmake.
#include <cstddef>
#include <span>

using ResourceBytes = std::span<const unsigned char>;

extern const ResourceBytes IdleTrayIcon;    // idle_tray.ico: 16 and 32 px, 24 bpp
extern const ResourceBytes BusyTrayIcon;    // busy_tray.ico: 32 px, 8 bpp
extern const ResourceBytes ListIconStrip;   // list_icons.bmp: eight 16x16 images, magenta key
extern const ResourceBytes MiniIdlePicture; // mini_idle.jpg: 60x60
extern const ResourceBytes MiniBusyPicture; // mini_busy.gif: 50x50, five frames
