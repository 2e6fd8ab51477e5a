#pragma once

#include <string_view>

#include "classlib/core/wstring.h"

// Cleans a path in place, the way every path of the scan is cleaned before it
// is shown, listed or tested:
//
//   input (folder "C:\p\")        result
//   "a/b.h"                       "a\b.h"        '/' becomes '\'
//   ".\a.h"                       "a.h"          a leading ".\" goes (folder then ignored)
//   "C:\P\inc\a.h"                "inc\a.h"      folder prefix removed, case ignored
//   "C:\p\"                       "C:\p\"        a path equal to the folder stays whole
//   "a\b\c\..\..\d"               "a\d"          "\name\..\" folds to "\", repeatedly
//   "..\..\inc\a.h"               unchanged      no backslash before the first name
//   "a\.\b", "a\\b"               unchanged      single dots and doubled '\' stay
//
// The folder may be written with '/' (a POSIX project folder such as
// "/home/u/p/"); it is compared in its backslashed form. An empty folder means
// none.
void NormalizePath(WString& path, std::string_view projectFolder = {});

// The same rules on a std::string, for callers that build paths in bulk.
void NormalizePathText(std::string& path, std::string_view projectFolder = {});
