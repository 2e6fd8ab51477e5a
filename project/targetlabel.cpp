#include "project/targetlabel.h"

namespace {

constexpr std::string_view kOpen = " [";

// Where the " [" before the file starts, or npos when the label has no file.
std::size_t FileStart(std::string_view label) {
    return label.ends_with(']') ? label.rfind(kOpen) : std::string_view::npos;
}

}  // namespace

std::string TargetLabel(std::string_view text, std::string_view file) {
    std::string label(text);
    label.append(kOpen).append(file).append("]");
    return label;
}

std::string_view TargetLabelFile(std::string_view label) {
    const std::size_t start = FileStart(label);
    if (start == std::string_view::npos) {
        return label;
    }
    const std::size_t first = start + kOpen.size();
    return label.substr(first, label.size() - 1 - first);
}

std::string_view TargetLabelText(std::string_view label) {
    return label.substr(0, FileStart(label));
}
