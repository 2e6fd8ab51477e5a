#include "classlib/gui/wimagelist.h"

#include "classlib/gui/wresources.h"

bool WImageList::Load(WResourceID bitmap, int imageWidth, int /*growBy*/, WColor mask) {
    images_.clear();
    denseImages_.clear();
    if (!bitmap.name.empty() || imageWidth <= 0) {
        return false;
    }
    const WImage strip = FindBitmap(bitmap.number);
    if (strip.IsNull()) {
        return false;
    }
    const int count = strip.width / imageWidth;
    for (int index = 0; index < count; ++index) {
        WImage image = strip.Column(index * imageWidth, imageWidth);
        if (mask.set) {
            image.MakeTransparent(
                static_cast<std::uint32_t>(mask.red << 16 | mask.green << 8 | mask.blue));
        }
        // Twice the density: every pixel doubled, so the lines stay crisp.
        denseImages_.push_back(image.Scaled(2));
        images_.push_back(std::move(image));
    }
    return true;
}
