#include "mainwin/statusmessages.h"

#include <algorithm>
#include <ctime>
#include <vector>

#include "classlib/core/messagetext.h"

namespace {

constexpr std::size_t kNamesListed = 3;

// "a.c, b.c, c.c, …": the first few names of a list.
std::string FirstNames(const std::vector<std::string>& names) {
    std::string text;
    for (std::size_t i = 0; i < names.size() && i < kNamesListed; ++i) {
        text += i == 0 ? "" : ", ";
        text += names[i];
    }
    if (names.size() > kNamesListed) {
        text += ", \xE2\x80\xA6";
    }
    return text;
}

std::string UnreadTargetsText(const ScanOutcome& outcome) {
    const auto& unread = outcome.unreadTargets;
    std::string text = GroupedCount(unread.size()) + " of " +
                       CountOf(outcome.targetFiles, "target file", "target files") +
                       " could not be read: ";
    if (unread.size() == 1) {
        return text + unread.front().reason;
    }
    std::vector<std::string> names;
    for (const ScanOutcome::UnreadTarget& target : unread) {
        names.push_back(target.name);
    }
    return text + FirstNames(names) + "; first: " + unread.front().reason;
}

std::string MissingSourcesText(const std::vector<std::string>& missing) {
    return CountOf(missing.size(), "source file named by the project was not found",
                   "source files named by the project were not found") +
           ": " + FirstNames(missing);
}

void Add(std::string& text, const std::string& part) {
    text += text.empty() ? "" : "; ";
    text += part;
}

}  // namespace

std::string FirstStartHint() {
    return "Open a project: File > Load..., drop a .wpj file here, or tamsk FILE.wpj";
}

std::string LoadProblemsText(const ScanOutcome& outcome) {
    std::string text;
    if (!outcome.unreadTargets.empty()) {
        Add(text, UnreadTargetsText(outcome));
    }
    if (!outcome.missingSources.empty()) {
        Add(text, MissingSourcesText(outcome.missingSources));
    }
    // The problems list has the unread target files first, then files too large to scan.
    const std::size_t others =
        outcome.problems.size() - std::min(outcome.problems.size(), outcome.unreadTargets.size());
    if (others > 0) {
        Add(text, outcome.problems[outcome.unreadTargets.size()]);
        if (others > 1) {
            Add(text,
                "and " + CountOf(others - 1, "more file", "more files") + " too large to scan");
        }
    }
    if (!outcome.complete) {
        Add(text,
            "The load stopped at its work limit: the tree shows what was read and listed "
            "until then.");
    }
    return text;
}

std::string ExpandStoppedText() {
    return "Expanding stopped at the work limit: the tree shows the rows opened until then.";
}

std::string NothingToExportText() {
    return "Nothing to export: no project is loaded";
}

std::string ExportWrittenText(std::string_view path, std::size_t lines, std::string_view time) {
    return "Wrote " + CountOf(lines, "line", "lines") + " at " + std::string(time) + " to " +
           std::string(path);
}

std::string ExportFailedText(std::string_view reason) {
    return "Could not write the dependency file: " + std::string(reason);
}

std::string FindStatusText(std::string_view searched, std::size_t position, std::size_t count) {
    const std::string quoted = "\"" + std::string(searched) + "\": ";
    if (position == 0 && count == 0) {
        return quoted + "not found";
    }
    return quoted + "hit " + GroupedCount(position) + " of " +
           (count == 0 ? std::string("...") : GroupedCount(count));
}

std::string ParseOptionText(bool on) {
    return on ? "File names in string literals are listed from the next load on"
              : "File names in string literals are no longer listed from the next load on";
}

std::string TimeOfDayText() {
    const std::time_t now = std::time(nullptr);
    std::tm local{};
#ifdef _WIN32
    localtime_s(&local, &now);
#else
    localtime_r(&now, &local);
#endif
    char text[16] = {};
    std::strftime(text, sizeof text, "%H:%M:%S", &local);
    return text;
}
