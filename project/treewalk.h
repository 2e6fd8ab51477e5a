#pragma once

#include <string>
#include <string_view>

#include "classlib/core/wtreewalk.h"

// Appends label as text of one line: a line break or other control character
// (below 0x20, and 0x7F) in a name would start a line of its own, which could
// pass for a node, so each is written as a blank. The tree keeps the true
// name, by which the file is opened.
inline void AppendAsLine(std::string& text, std::string_view label) {
    const std::size_t start = text.size();
    text.append(label);
    for (std::size_t i = start; i < text.size(); ++i) {
        const auto c = static_cast<unsigned char>(text[i]);
        if (c < 0x20 || c == 0x7F) {
            text[i] = ' ';
        }
    }
}
