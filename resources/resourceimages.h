#pragma once

#include "classlib/gui/wimage.h"

// The module's pictures as pixels, so that every backend shows the same images.

// Icon resource 100: the application's icon (a project sheet over a tree), at
// 16 or 32 pixels square (a size above 16 gives the 32-pixel picture). A null
// image for other ids.
WImage ResourceIcon(int id, int size);

// Bitmap resource 100: a strip of 14 images of 16 by 16 pixels, image 0 at the
// left, on a magenta (255, 0, 255) background that marks transparency. Image 0
// is the project, 1 a target or group (a folder), 2 a file. A null image for
// other ids.
WImage ResourceBitmap(int id);

inline constexpr int kApplicationIconId = 100;
inline constexpr int kTreeImagesBitmapId = 100;
inline constexpr int kTreeImageCount = 14;
inline constexpr int kTreeImageSize = 16;
