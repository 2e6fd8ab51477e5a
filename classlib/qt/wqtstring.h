#pragma once

#include <QString>
#include <string>
#include <string_view>

// The library's strings hold 8-bit text. Text that is valid UTF-8 is shown as
// such; anything else is taken as Latin-1 so that no byte is ever lost.
QString ToQString(std::string_view text);
std::string FromQString(const QString& text);
