#include "classlib/gui/wfont.h"

#include <cstdlib>
#include <string>

WFont::WFont() : pointSize_(DefaultFontPointSize()) {}

WFont::WFont(std::string_view description) : WFont() {
    Create(description);
}

bool WFont::Create(std::string_view description) {
    const std::size_t dot = description.find('.');
    if (dot == std::string_view::npos || dot == 0) {
        return false;
    }
    const std::string sizeText(description.substr(0, dot));
    char* end = nullptr;
    const long pointSize = std::strtol(sizeText.c_str(), &end, 10);
    if (end == sizeText.c_str() || *end != '\0' || pointSize <= 0 || pointSize > 1000) {
        return false;
    }
    Create(static_cast<int>(pointSize), description.substr(dot + 1));
    return true;
}

void WFont::Create(int pointSize, std::string_view faceName) {
    requestedFace_ = WString(faceName);
    face_ = !faceName.empty() && FontFaceExists(faceName) ? WString(faceName) : WString();
    pointSize_ = pointSize;
}

int WMulDiv(int a, int b, int c) {
    if (c == 0) {
        return -1;
    }
    const long long product = static_cast<long long>(a) * b;
    const long long divisor = c;
    const bool negative = (product < 0) != (divisor < 0);
    const long long magnitude =
        (std::llabs(product) + std::llabs(divisor) / 2) / std::llabs(divisor);
    return static_cast<int>(negative ? -magnitude : magnitude);
}

WRect WDialogBaseUnits::ToPixels(int x, int y, int cx, int cy) const {
    return WRect{ToPixelsX(x), ToPixelsY(y), ToPixelsX(cx), ToPixelsY(cy)};
}
