#pragma once
// The layout tables give pixels at 96 DPI; each window shows them at its own DPI.
#include <windows.h>

constexpr UINT kBaseDpi = USER_DEFAULT_SCREEN_DPI;

inline int Scaled(int px, UINT dpi) { return MulDiv(px, static_cast<int>(dpi), kBaseDpi); }
