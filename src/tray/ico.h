#pragma once
// Images inside an ICO file: a 6-byte header, 16-byte directory entries, the images.
#include "platform/shell.h"
#include "resources.h"

// The bytes of image `index`, or none when the file is too short, not an icon file,
// or names bytes outside itself.
ResourceBytes IcoImage(ResourceBytes ico, int index);
// The image to show at `size` pixels: the smallest at least that big, else the biggest;
// 0 when the file holds none.
int IcoImageFor(ResourceBytes ico, int size);
// An icon from image `index`; 0 when there is no such image or the shell refuses it.
IconHandle IconFromIcoBytes(Shell&, ResourceBytes ico, int index);
