#pragma once

#include "classlib/core/wstring.h"

// A path split into drive (through ':'), directory (through the last '\' or
// '/'), file name and extension (from the last '.' of the name). Parts are
// selected by a mask; sums select several adjoining parts at once.
class WFilePath : public WString {
public:
    enum Part : int {
        Drive = 1,
        Directory = 2,
        FileName = 4,
        Extension = 8,
        Folder = Drive | Directory,                     // 3
        WithoutExtension = Drive | Directory | FileName,  // 7
        NameWithExtension = FileName | Extension,         // 12
        Whole = 15,
    };

    WFilePath() = default;
    WFilePath(const char* text);  // NOLINT(google-explicit-constructor)
    WFilePath(const WString& text);  // NOLINT(google-explicit-constructor)
    WFilePath(std::string_view text);  // NOLINT(google-explicit-constructor)

    // The selected parts in path order. Parts in a mask that are not adjacent
    // are joined as they stand (e.g. 5 is drive followed by file name).
    WString GetPart(int mask) const;
    WString GetFileName() const { return GetPart(FileName); }

private:
    void Split();
    std::size_t driveEnd_ = 0;  // one past ':'
    std::size_t dirEnd_ = 0;    // one past the last separator
    std::size_t nameEnd_ = 0;   // start of the extension
};
