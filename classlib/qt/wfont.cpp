#include <QFontDatabase>
#include <QFontMetrics>
#include <QGuiApplication>

#include "classlib/gui/wfont.h"
#include "classlib/qt/wqtnative.h"
#include "classlib/qt/wqtstring.h"

QFont QtFont(const WFont& font) {
    QFont qfont = QGuiApplication::font();
    if (!font.GetFace().IsEmpty()) {
        qfont.setFamily(ToQString(font.GetFace().View()));
    }
    qfont.setPointSize(font.GetPointSize());
    return qfont;
}

bool FontFaceExists(std::string_view face) {
    return QFontDatabase::families().contains(ToQString(face), Qt::CaseInsensitive);
}

int DefaultFontPointSize() {
    return QGuiApplication::font().pointSize();
}

WDialogBaseUnits DialogBaseUnitsOf(const WFont& font) {
    const QFontMetrics metrics(QtFont(font));
    const int lettersWidth = metrics.horizontalAdvance(
        QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz"));
    WDialogBaseUnits units;
    units.averageWidth = (lettersWidth / 26 + 1) / 2;
    units.height = metrics.height();
    return units;
}
