#pragma once

#include <deque>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "classlib/core/wfilepath.h"
#include "classlib/core/wobject.h"

class WWindow;

// The open-file dialog. It keeps its owner, flags, initial path and filter,
// and the files chosen in its last use: after a cancelled use the list holds
// one empty path.
class WFileDialog : public WObject {
public:
    // The platform's flag values, kept for callers that read them back.
    static constexpr unsigned long kHideReadOnly = 0x4;
    static constexpr unsigned long kNoChangeDir = 0x8;
    static constexpr unsigned long kEnableHook = 0x20;
    static constexpr unsigned long kExplorer = 0x80000;
    static constexpr unsigned long kEnableSizing = 0x800000;

    void SetOwner(WWindow* owner) { owner_ = owner; }
    WWindow* GetOwner() const { return owner_; }
    void SetFlags(unsigned long flags) { flags_ = flags; }
    unsigned long GetFlags() const { return flags_; }
    void SetInitialPath(std::string_view path) { initialPath_ = WString(path); }
    const WString& GetInitialPath() const { return initialPath_; }
    // Pairs of description and pattern, ended by a pair of empty texts; what
    // follows the empty pair is ignored.
    void SetFilter(const std::vector<std::pair<std::string, std::string>>& pairs);
    const std::vector<std::pair<std::string, std::string>>& GetFilter() const { return filter_; }

    // Shows the dialog modally (the process's current folder is never
    // changed); true when a file was chosen. It opens in the folder of the
    // file chosen last in this run, or else in the initial path.
    bool ShowModal();
    // The folder the next ShowModal opens in.
    WString GetStartFolder() const;
    // Takes path as if it had been chosen in the dialog.
    void SetFileName(std::string_view path);
    int GetFileCount() const { return static_cast<int>(chosen_.size()); }
    // The chosen file at index; the first is the chosen path. Empty outside.
    WFilePath GetFileName(int index = 0) const;

    // Tests: the next uses of any file dialog take these answers in turn
    // instead of showing a window; std::nullopt answers "cancel".
    static void SetNextAnswer(std::optional<std::string> path);
    static void ClearAnswers();
    static int PendingAnswers();

    // The toolkit's own file dialogs keep a history in a settings file of
    // their own; the program's settings file is its only one, so theirs is
    // sent nowhere. Called before any toolkit dialog is shown.
    static void KeepToolkitSettingsOff();

private:
    // The backend's dialog window: the chosen path, or nothing when cancelled.
    std::optional<std::string> RunPlatformDialog() const;
    void Choose(const std::optional<std::string>& answer);

    WWindow* owner_ = nullptr;
    unsigned long flags_ = 0;
    WString initialPath_;
    std::vector<std::pair<std::string, std::string>> filter_;
    std::vector<WFilePath> chosen_{WFilePath()};
    WString lastFolder_;  // of the file chosen last; empty before any choice
};
