#pragma once

#include <string_view>

#include "classlib/core/wobject.h"
#include "classlib/core/wstring.h"
#include "classlib/gui/wtypes.h"

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

    int GetPointSize() const { return pointSize_; }
    // The face drawn: the one asked for when the system has it, else empty
    // for the platform's default face.
    const WString& GetFace() const { return face_; }
    // The face asked for, also when the fallback face is drawn instead.
    const WString& GetRequestedFace() const { return requestedFace_; }

private:
    int pointSize_;
    WString face_;
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
    WRect ToPixels(int x, int y, int cx, int cy) const;
};

// Measured by the backend.
WDialogBaseUnits DialogBaseUnitsOf(const WFont& font);
// Whether the system has a font face of that name (the backend knows).
bool FontFaceExists(std::string_view face);
// The point size of the system's default face.
int DefaultFontPointSize();
