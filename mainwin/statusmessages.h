#pragma once

#include <cstddef>
#include <string>
#include <string_view>

#include "project/projecttree.h"

// The lines the main form shows on its status line, each put together in one
// place. Paths come last in a line or before ": ", so that the status line can
// shorten them (see StatusLineTextOf).

// Until a project is loaded: how to open one.
std::string FirstStartHint();

// What a load met that the tree does not show: target files that could not
// be read, source files that are missing, files too large to scan, a scan
// stopped at its work limit. Empty when there was nothing.
std::string LoadProblemsText(const ScanOutcome& outcome);

// '*' stopped at the work limit.
std::string ExpandStoppedText();

// Export: nothing loaded; written (with the time of day, so that a second
// export is seen to have happened); failed, with a reason that names the file.
std::string NothingToExportText();
std::string ExportWrittenText(std::string_view path, std::size_t lines, std::string_view time);
std::string ExportFailedText(std::string_view reason);

// Find: which hit of how many is shown; position 0 with count 0 when there is
// none, count 0 while the hits are still being counted.
std::string FindStatusText(std::string_view searched, std::size_t position, std::size_t count);

// The parse option was switched: it applies from the next load.
std::string ParseOptionText(bool on);

// The local time of day as "HH:MM:SS".
std::string TimeOfDayText();
