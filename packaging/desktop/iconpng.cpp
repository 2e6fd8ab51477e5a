// Writes the application's icon as a PNG of the given size for the desktop's
// icon theme, from the same pixels that the window shows. Sizes that are a
// multiple of 32 enlarge the 32-pixel picture, the others the 16-pixel one,
// each pixel to a square block, so that the pixel art stays sharp.
//
//   tamsk-icon-png SIZE FILE.png
#include <QImage>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "resources/resourceimages.h"

namespace {

QImage IconOfSize(int size) {
    const WImage picture = ResourceIcon(kApplicationIconId, size % 32 == 0 ? 32 : 16);
    QImage image(picture.width, picture.height, QImage::Format_ARGB32);
    for (int y = 0; y < picture.height; ++y) {
        for (int x = 0; x < picture.width; ++x) {
            image.setPixel(x, y, picture.At(x, y));
        }
    }
    return image.scaled(size, size, Qt::IgnoreAspectRatio, Qt::FastTransformation);
}

}  // namespace

int main(int argc, char** argv) {
    const int size = argc == 3 ? std::atoi(argv[1]) : 0;
    if (size <= 0 || size % 16 != 0) {
        std::fprintf(stderr, "usage: tamsk-icon-png SIZE FILE.png (SIZE a multiple of 16)\n");
        return 2;
    }
    if (!IconOfSize(size).save(QString::fromLocal8Bit(argv[2]), "PNG")) {
        std::fprintf(stderr, "tamsk-icon-png: cannot write %s\n", argv[2]);
        return 1;
    }
    return 0;
}
