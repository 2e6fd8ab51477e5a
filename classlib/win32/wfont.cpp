#include <map>
#include <string>
#include <utility>

#include "classlib/gui/wfont.h"
#include "classlib/win32/wwin32native.h"

namespace {

LOGFONTW MessageFont() {
    NONCLIENTMETRICSW metrics{};
    metrics.cbSize = sizeof(metrics);
    SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof(metrics), &metrics, 0);
    return metrics.lfMessageFont;
}

int ScreenDpi() {
    HDC screen = GetDC(nullptr);
    const int dpi = GetDeviceCaps(screen, LOGPIXELSY);
    ReleaseDC(nullptr, screen);
    return dpi > 0 ? dpi : 96;
}

// Notes a face that scales: a bitmap face ("MS Sans Serif" in a new Wine
// prefix) comes in a few sizes only and is drawn cramped at the others.
int CALLBACK NoteFace(const LOGFONTW*, const TEXTMETRICW*, DWORD type, LPARAM found) {
    if ((type & RASTER_FONTTYPE) == 0) {
        *reinterpret_cast<bool*>(found) = true;
        return 0;
    }
    return 1;
}

}  // namespace

bool FontFaceExists(std::string_view face) {
    LOGFONTW wanted{};
    wanted.lfCharSet = DEFAULT_CHARSET;
    const std::wstring name = Widen(face);
    if (name.size() >= LF_FACESIZE) {
        return false;
    }
    lstrcpynW(wanted.lfFaceName, name.c_str(), LF_FACESIZE);
    bool found = false;
    HDC screen = GetDC(nullptr);
    EnumFontFamiliesExW(screen, &wanted, NoteFace, reinterpret_cast<LPARAM>(&found), 0);
    ReleaseDC(nullptr, screen);
    return found;
}

std::string DialogFontFace(std::string_view face) {
    return FontFaceExists(face) ? std::string(face) : Narrow(MessageFont().lfFaceName);
}

int DefaultFontPointSize() {
    const LONG height = MessageFont().lfHeight;
    const int points = MulDiv(height < 0 ? -height : height, 72, ScreenDpi());
    return points > 0 ? points : 9;
}

HFONT Win32Font(const WFont& font) {
    static std::map<std::pair<std::string, int>, HFONT> fonts;
    const auto key = std::make_pair(font.GetFace().Str(), font.GetPointSize());
    if (auto found = fonts.find(key); found != fonts.end()) {
        return found->second;
    }
    // A face the system lacks, or has as a bitmap font only, gives way to the
    // system's message font face, as in the dialog templates.
    LOGFONTW description = MessageFont();
    if (!font.GetFace().IsEmpty()) {
        lstrcpynW(description.lfFaceName, Widen(DialogFontFace(font.GetFace().View())).c_str(),
                  LF_FACESIZE);
    }
    description.lfHeight = -MulDiv(font.GetPointSize(), ScreenDpi(), 72);
    HFONT handle = CreateFontIndirectW(&description);
    fonts.emplace(key, handle);
    return handle;
}

WDialogBaseUnits DialogBaseUnitsOf(const WFont& font) {
    HDC screen = GetDC(nullptr);
    HGDIOBJ old = SelectObject(screen, Win32Font(font));
    const wchar_t letters[] = L"ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz";
    SIZE size{};
    GetTextExtentPoint32W(screen, letters, 52, &size);
    TEXTMETRICW metrics{};
    GetTextMetricsW(screen, &metrics);
    SelectObject(screen, old);
    ReleaseDC(nullptr, screen);
    WDialogBaseUnits units;
    units.averageWidth = (size.cx / 26 + 1) / 2;
    units.height = metrics.tmHeight;
    return units;
}
