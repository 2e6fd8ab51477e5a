#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "classlib/core/hostfs.h"
#include "classlib/core/wstring.h"

// Private profile (INI) files with the platform's rules, kept free of any
// toolkit so that they can be tested and fuzzed alone.
//
//   input line                    | read as
//   ------------------------------+-------------------------------------------
//   "  [Options]  "               | section "Options" (blanks around the name dropped)
//   "[Options"                    | section "Options" (a missing "]" ends at the line end)
//   " Folder = C:\p\ "            | key "Folder", value "C:\p\" (blanks trimmed)
//   "Folder=\"a b\""              | value "a b" (one pair of matching quotes dropped)
//   "Folder=a=b"                  | value "a=b" (the first "=" splits)
//   "; note", "garbage"           | no key; kept as written when the file is rewritten
//   line ending CR LF or LF       | both read; written back as CR LF
//
// Section and key names are compared without regard to ASCII case; the first
// section and the first key of that name count. Values are cut to 8191
// characters, as the platform's 8192-byte buffer does.

inline constexpr std::size_t kProfileValueMax = 8191;

// The value of key in section of the file's contents, or defaultValue.
std::string ProfileGetValue(std::string_view contents, std::string_view section,
                            std::string_view key, std::string_view defaultValue);

// The contents with key of section set to value (a missing value removes the
// key; a missing key removes the whole section). Every other line is kept as
// it was. Nothing when a name or the value would break the line structure
// (a line break, "=" in a key, "]" in a section name).
std::optional<std::string> ProfileSetValue(std::string_view contents, std::string_view section,
                                           std::optional<std::string_view> key,
                                           std::optional<std::string_view> value);

// Reads one key of a section from a profile file; the default when the file,
// the section or the key is missing.
WString ReadProfileString(const char* section, const char* key, const char* defaultValue,
                          const char* fileName);

// Writes one key (null value: remove the key; null key: remove the section).
// The file is replaced through a temporary file, so a failed write leaves the
// old file whole; every write reaches the file at once, so flush changes
// nothing. All of section, key and value null is the platform's "flush"
// request and succeeds. False when the file cannot be read or written.
bool WriteProfileString(const char* section, const char* key, const char* value,
                        const char* fileName, bool flush);
// The same through the given file system (tests give one that fails on demand).
bool WriteProfileString(HostFs& fs, const char* section, const char* key, const char* value,
                        const char* fileName);
