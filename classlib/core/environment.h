#pragma once

#include <optional>
#include <string>
#include <string_view>

// The value of the process environment variable name, or nothing when it is
// not set (a variable set to an empty value is set). Names are found as the
// host finds them: without regard to case on Windows, exactly elsewhere. A
// name that no variable can carry (empty, or holding '=' or a NUL byte) is
// never set. On Windows the value comes as UTF-8.
std::optional<std::string> EnvironmentValue(std::string_view name);
