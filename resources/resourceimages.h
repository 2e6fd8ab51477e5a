#pragma once

#include <QIcon>
#include <QPixmap>

// The module's pictures, drawn in code so that they stay sharp at any scale.

// Icon resource 100: the application's icon (a project sheet over a tree).
QIcon ResourceIcon(int id);

// Bitmap resource 100: a strip of 14 images of 16 by 16 logical pixels, image 0
// at the left, on a magenta (255, 0, 255) background that marks transparency.
// Image 0 is the project, 1 a target or group (a folder), 2 a file. The strip
// is drawn for the given device pixel ratio. A null pixmap for other ids.
QPixmap ResourceBitmap(int id, qreal devicePixelRatio = 1.0);

inline constexpr int kApplicationIconId = 100;
inline constexpr int kTreeImagesBitmapId = 100;
inline constexpr int kTreeImageCount = 14;
inline constexpr int kTreeImageSize = 16;
