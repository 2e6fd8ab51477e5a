#include <QPixmap>

#include "classlib/qt/wqtnative.h"
#include "classlib/gui/wresources.h"

QImage QtImage(const WImage& image) {
    if (image.IsNull()) {
        return {};
    }
    const QImage view(reinterpret_cast<const uchar*>(image.pixels.data()), image.width,
                      image.height, QImage::Format_ARGB32);
    return view.copy();
}

QIcon QtIcon(const WIcon& icon) {
    QIcon qicon;
    if (!icon.IsNull()) {
        for (int size : {16, 32}) {
            qicon.addPixmap(
                QPixmap::fromImage(QtImage(FindIcon(icon.GetResourceNumber(), size))));
        }
    }
    return qicon;
}

QList<QIcon> QtIcons(const WImageList& images) {
    QList<QIcon> icons;
    for (std::size_t index = 0; index < images.GetImages().size(); ++index) {
        QIcon icon;
        icon.addPixmap(QPixmap::fromImage(QtImage(images.GetImages()[index])));
        QPixmap dense = QPixmap::fromImage(QtImage(images.GetDenseImages()[index]));
        dense.setDevicePixelRatio(2.0);
        icon.addPixmap(dense);
        icons.push_back(icon);
    }
    return icons;
}
