#include "classlib/core/wprofile.h"
#include "mainwin/settings.h"
#include "mainwin/tamskform.h"

namespace {

bool IsOn(const WString& value) {
    return value.Compare(WString("true"), false) == 0 || value == WString("1");
}

}  // namespace

void TamskForm::LoadSettings() {
    const WString folder = ReadProfileString(kOptionsSection, kFolderKey, ".", kSettingsFile);
    fileDialog->SetInitialPath(folder.View());
    const WString parse =
        ReadProfileString(kOptionsSection, kParseSourceKey, "false", kSettingsFile);
    if (parseItem != nullptr) {
        parseItem->SetCheck(IsOn(parse));
    }
}

void TamskForm::SaveSettings() {
    const WFilePath chosen = fileDialog->GetFileName(0);
    if (!chosen.IsEmpty()) {
        const WString folder = chosen.GetPart(WFilePath::Folder);
        WriteProfileString(kOptionsSection, kFolderKey, folder.GetText(), kSettingsFile, true);
    }
    const bool parse = parseItem != nullptr && parseItem->GetCheck();
    WriteProfileString(kOptionsSection, kParseSourceKey, parse ? "true" : "false", kSettingsFile,
                       true);
}
