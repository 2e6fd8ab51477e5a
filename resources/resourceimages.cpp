#include "resources/resourceimages.h"

#include <QPainter>
#include <QPainterPath>

namespace {

// All pictures are drawn on a 16 by 16 grid; the painter's scale makes the
// larger sizes, so lines stay crisp instead of being stretched pixels.

void DrawProject(QPainter& p) {
    // A ruled sheet with a blue band: the project file.
    p.setPen(QPen(QColor(40, 40, 90), 1.0));
    p.setBrush(QColor(250, 250, 255));
    p.drawRect(QRectF(2.5, 1.5, 11, 13));
    p.fillRect(QRectF(3, 2, 10, 3), QColor(40, 90, 200));
    p.setPen(QPen(QColor(120, 120, 150), 1.0));
    for (int row = 0; row < 3; ++row) {
        const qreal y = 7.5 + 2 * row;
        p.drawLine(QPointF(4.5, y), QPointF(11.5, y));
    }
}

void DrawFolder(QPainter& p) {
    p.setPen(QPen(QColor(120, 90, 20), 1.0));
    p.setBrush(QColor(240, 200, 80));
    QPainterPath path;
    path.moveTo(1.5, 4.5);
    path.lineTo(6.5, 4.5);
    path.lineTo(7.5, 5.5);
    path.lineTo(14.5, 5.5);
    path.lineTo(14.5, 13.5);
    path.lineTo(1.5, 13.5);
    path.closeSubpath();
    p.drawPath(path);
    p.setPen(QPen(QColor(255, 230, 150), 1.0));
    p.drawLine(QPointF(2.5, 7.5), QPointF(13.5, 7.5));
}

void DrawFile(QPainter& p) {
    p.setPen(QPen(QColor(70, 70, 70), 1.0));
    p.setBrush(Qt::white);
    QPainterPath page;
    page.moveTo(3.5, 1.5);
    page.lineTo(9.5, 1.5);
    page.lineTo(12.5, 4.5);
    page.lineTo(12.5, 14.5);
    page.lineTo(3.5, 14.5);
    page.closeSubpath();
    p.drawPath(page);
    p.drawPolyline(QPolygonF({QPointF(9.5, 1.5), QPointF(9.5, 4.5), QPointF(12.5, 4.5)}));
    p.setPen(QPen(QColor(150, 150, 150), 1.0));
    for (int row = 0; row < 3; ++row) {
        const qreal y = 7.5 + 2 * row;
        p.drawLine(QPointF(5.5, y), QPointF(10.5, y));
    }
}

QPixmap DrawStrip(qreal dpr) {
    const int logicalWidth = kTreeImageSize * kTreeImageCount;
    QPixmap strip(qRound(logicalWidth * dpr), qRound(kTreeImageSize * dpr));
    strip.fill(QColor(255, 0, 255));
    QPainter painter(&strip);
    painter.setRenderHint(QPainter::Antialiasing, dpr > 1.0);
    painter.scale(dpr, dpr);
    void (*const drawers[])(QPainter&) = {DrawProject, DrawFolder, DrawFile};
    for (int image = 0; image < 3; ++image) {
        painter.save();
        painter.translate(image * kTreeImageSize, 0);
        drawers[image](painter);
        painter.restore();
    }
    painter.end();
    strip.setDevicePixelRatio(dpr);
    return strip;
}

QPixmap DrawApplicationIcon(int size) {
    QPixmap icon(size, size);
    icon.fill(Qt::transparent);
    QPainter painter(&icon);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.scale(size / 16.0, size / 16.0);
    DrawProject(painter);
    // A small tree of three branches on the sheet: the project shown as a tree.
    painter.setPen(QPen(QColor(200, 60, 30), 1.2));
    painter.drawLine(QPointF(5, 6.5), QPointF(5, 12.5));
    painter.drawLine(QPointF(5, 9), QPointF(9, 9));
    painter.drawLine(QPointF(5, 12.5), QPointF(9, 12.5));
    painter.setBrush(QColor(200, 60, 30));
    painter.drawEllipse(QPointF(10, 9), 1.2, 1.2);
    painter.drawEllipse(QPointF(10, 12.5), 1.2, 1.2);
    return icon;
}

}  // namespace

QIcon ResourceIcon(int id) {
    if (id != kApplicationIconId) {
        return {};
    }
    QIcon icon;
    for (int size : {16, 24, 32, 48, 64, 128}) {
        icon.addPixmap(DrawApplicationIcon(size));
    }
    return icon;
}

QPixmap ResourceBitmap(int id, qreal devicePixelRatio) {
    if (id != kTreeImagesBitmapId || devicePixelRatio <= 0) {
        return {};
    }
    return DrawStrip(devicePixelRatio);
}
