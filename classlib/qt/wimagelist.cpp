#include "classlib/gui/wimagelist.h"

#include <QBitmap>
#include <QPixmap>

#include "resources/resourceimages.h"

namespace {

QPixmap MaskedImage(const QPixmap& strip, int index, int imageWidth, qreal dpr, WColor mask) {
    const int width = qRound(imageWidth * dpr);
    QPixmap image = strip.copy(index * width, 0, width, strip.height());
    if (mask.set) {
        image.setMask(
            image.createMaskFromColor(QColor(mask.red, mask.green, mask.blue), Qt::MaskInColor));
    }
    image.setDevicePixelRatio(dpr);
    return image;
}

}  // namespace

bool WImageList::Load(WResourceID bitmap, int imageWidth, int /*growBy*/, WColor mask) {
    icons_.clear();
    if (!bitmap.name.empty() || imageWidth <= 0) {
        return false;
    }
    const QPixmap normal = ResourceBitmap(bitmap.number, 1.0);
    if (normal.isNull()) {
        return false;
    }
    const QPixmap dense = ResourceBitmap(bitmap.number, 2.0);
    const int count = normal.width() / imageWidth;
    for (int index = 0; index < count; ++index) {
        QIcon icon;
        icon.addPixmap(MaskedImage(normal, index, imageWidth, 1.0, mask));
        icon.addPixmap(MaskedImage(dense, index, imageWidth, 2.0, mask));
        icons_.push_back(icon);
    }
    return true;
}
