#pragma once

#include <QFont>
#include <QRect>
#include <string_view>

#include "classlib/core/wobject.h"
#include "classlib/core/wstring.h"

// A font made from a description of the point size, a dot and the face name,
// as in "8.MS Sans Serif". A face the system does not have falls back to the
// platform's default face at the same size, so a form never shows a random
// substitute.
class WFont : public WObject {
public:
    WFont();
    explicit WFont(std::string_view description);

    // False (leaving the font as it was) when the description has no valid size.
    bool Create(std::string_view description);
    void Create(int pointSize, std::string_view faceName);

    const QFont& GetQFont() const { return font_; }
    int GetPointSize() const { return font_.pointSize(); }
    // The face asked for, also when the fallback face is drawn instead.
    const WString& GetRequestedFace() const { return requestedFace_; }

private:
    QFont font_;
    WString requestedFace_;
};

// The platform's rounding a * b / c: halves round away from zero; c == 0 gives -1.
int WMulDiv(int a, int b, int c);

// Dialog base units of a font as the platform derives them: the average width
// of the 52 letters "A".."Z", "a".."z" (rounded), and the font's height. A
// dialog unit is a quarter of the width and an eighth of the height.
struct WDialogBaseUnits {
    int averageWidth = 0;
    int height = 0;

    int ToPixelsX(int dialogUnits) const { return WMulDiv(dialogUnits, averageWidth, 4); }
    int ToPixelsY(int dialogUnits) const { return WMulDiv(dialogUnits, height, 8); }
    QRect ToPixels(int x, int y, int cx, int cy) const;
};

WDialogBaseUnits DialogBaseUnitsOf(const QFont& font);
