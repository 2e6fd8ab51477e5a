#pragma once

#include <array>
#include <string_view>

// The copy list's column headers, in column order: the window's list and the
// command line's rows show the same three columns.
inline constexpr std::array<std::string_view, 3> kCopyColumnHeaders = {
    "Filename", "Destination Folder", "Result"};
