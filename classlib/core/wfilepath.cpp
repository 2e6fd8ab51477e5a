#include "classlib/core/wfilepath.h"

#include "classlib/core/hostfs.h"

WFilePath::WFilePath(const char* text) : WString(text) { Split(); }

WFilePath::WFilePath(const WString& text) : WString(text) { Split(); }

WFilePath::WFilePath(std::string_view text) : WString(text) { Split(); }

// A drive is only a letter and a colon at the very start ("C:"), so a colon
// further in (a stream name, a URL) is left to the other parts. The extension
// is searched in the name alone: "a.b\c" has none.
void WFilePath::Split() {
    const std::string_view text = View();
    driveEnd_ = (text.size() >= 2 && text[1] == ':') ? 2 : 0;
    dirEnd_ = driveEnd_;
    for (std::size_t i = text.size(); i > driveEnd_; --i) {
        if (IsPathSeparator(text[i - 1])) {
            dirEnd_ = i;
            break;
        }
    }
    nameEnd_ = text.size();
    for (std::size_t i = text.size(); i > dirEnd_; --i) {
        if (text[i - 1] == '.') {
            nameEnd_ = i - 1;
            break;
        }
    }
}

WString WFilePath::GetPart(int mask) const {
    const std::string_view text = View();
    std::string result;
    if (mask & Drive) {
        result.append(text.substr(0, driveEnd_));
    }
    if (mask & Directory) {
        result.append(text.substr(driveEnd_, dirEnd_ - driveEnd_));
    }
    if (mask & FileName) {
        result.append(text.substr(dirEnd_, nameEnd_ - dirEnd_));
    }
    if (mask & Extension) {
        result.append(text.substr(nameEnd_));
    }
    return WString(std::move(result));
}
