#pragma once
// Pictures decoded by GDI+ into bitmaps of the size they show at.
#include <windows.h>

#include <vector>

#include "resources.h"

struct PictureFrame {
    HBITMAP bitmap;
    UINT delayMs;  // how long an animation shows this frame
};

// Every frame of the image (one for a still picture), fitted into size x size and
// centred; none when GDI+ cannot read the bytes.
std::vector<PictureFrame> RenderFrames(ResourceBytes image, int size);
void FreeFrames(std::vector<PictureFrame>&);

// A strip of square images with a key colour for their transparent parts, scaled to the
// given height; the key is never blended into the images' edges.
HBITMAP KeyedStrip(ResourceBytes image, int height, COLORREF key);
