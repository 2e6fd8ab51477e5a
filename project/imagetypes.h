#pragma once

#include "classlib/core/wstring.h"

// Description of a target's image-type code, e.g. "nw2e" gives
// "Windows NT windowed executable (32-bit Executable)". Pure: reads only the
// first four characters of the code.
WString DescribeTargetType(const char* code);

// The default include directories of an image-type code, e.g.
// "$(%watcom)\h;$(%watcom)\h\nt"; the macro is not expanded here.
const char* DefaultIncludeDirectories(const char* code);
