#include <cstdlib>
#include <string>

#include "classlib/core/wprofile.h"
#include "mainwin/settings.h"
#include "mainwin/tamskform.h"

namespace {

bool IsOn(const WString& value) {
    return value.Compare(WString("true"), false) == 0 || value == WString("1");
}

constexpr const char* kPlacementKeys[] = {kWindowLeftKey, kWindowTopKey, kWindowWidthKey,
                                          kWindowHeightKey};

// The stored placement; an empty rectangle when a value is missing or not a number.
WRect ReadPlacement(const char* settingsFile) {
    int values[4] = {0, 0, 0, 0};
    for (int i = 0; i < 4; ++i) {
        const WString text =
            ReadProfileString(kOptionsSection, kPlacementKeys[i], "", settingsFile);
        char* end = nullptr;
        const long value = std::strtol(text.GetText(), &end, 10);
        if (text.IsEmpty() || *end != '\0' || value < -100000 || value > 100000) {
            return {};
        }
        values[i] = static_cast<int>(value);
    }
    return WRect{values[0], values[1], values[2], values[3]};
}

}  // namespace

void TamskForm::LoadSettings() {
    const WString folder =
        ReadProfileString(kOptionsSection, kFolderKey, ".", settingsFile_.c_str());
    fileDialog->SetInitialPath(folder.View());
    const WString parse =
        ReadProfileString(kOptionsSection, kParseSourceKey, "false", settingsFile_.c_str());
    if (parseItem != nullptr) {
        parseItem->SetCheck(IsOn(parse));
    }
    PlaceOnScreen(ReadPlacement(settingsFile_.c_str()));
}

void TamskForm::SaveSettings() {
    const WFilePath chosen = fileDialog->GetFileName(0);
    if (!chosen.IsEmpty()) {
        const WString folder = chosen.GetPart(WFilePath::Folder);
        WriteProfileString(kOptionsSection, kFolderKey, folder.GetText(), settingsFile_.c_str(),
                           true);
    }
    const bool parse = parseItem != nullptr && parseItem->GetCheck();
    WriteProfileString(kOptionsSection, kParseSourceKey, parse ? "true" : "false",
                       settingsFile_.c_str(), true);
    const WRect placement = GetPlacement();
    const int values[4] = {placement.x, placement.y, placement.w, placement.h};
    for (int i = 0; i < 4; ++i) {
        WriteProfileString(kOptionsSection, kPlacementKeys[i], std::to_string(values[i]).c_str(),
                           settingsFile_.c_str(), true);
    }
}
