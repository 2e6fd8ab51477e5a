#pragma once

#include <string>
#include <string_view>

// A node of the tree that stands for a file names it after its text, in
// brackets: the project node ("Project: shapes [shapes.wpj]") and a target
// node once its image type is read ("Target: draw  Windows Executable
// [draw.tgt]"). Built and read only here. The file follows the label's last
// " [" (a name may hold '[' itself, "a[1].tgt") and ends at its final ']'.

// text followed by " [file]".
std::string TargetLabel(std::string_view text, std::string_view file);

// The file of such a label; the whole label when it has none.
std::string_view TargetLabelFile(std::string_view label);

// The text before the file; the whole label when it has none.
std::string_view TargetLabelText(std::string_view label);
