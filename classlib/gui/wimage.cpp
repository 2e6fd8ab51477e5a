#include "classlib/gui/wimage.h"

WImage WImage::Column(int x, int columnWidth) const {
    WImage part{columnWidth, height, {}};
    part.pixels.reserve(static_cast<std::size_t>(columnWidth) * height);
    for (int y = 0; y < height; ++y) {
        for (int dx = 0; dx < columnWidth; ++dx) {
            part.pixels.push_back(x + dx < width ? At(x + dx, y) : 0u);
        }
    }
    return part;
}

WImage WImage::Scaled(int factor) const {
    WImage scaled{width * factor, height * factor, {}};
    scaled.pixels.reserve(static_cast<std::size_t>(scaled.width) * scaled.height);
    for (int y = 0; y < scaled.height; ++y) {
        for (int x = 0; x < scaled.width; ++x) {
            scaled.pixels.push_back(At(x / factor, y / factor));
        }
    }
    return scaled;
}

void WImage::MakeTransparent(std::uint32_t rgb) {
    for (std::uint32_t& pixel : pixels) {
        if ((pixel & 0xFFFFFFu) == rgb) {
            pixel = 0;
        }
    }
}
