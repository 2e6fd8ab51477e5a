#include "project/wctarget.h"

#include "project/imagetypes.h"
#include "project/linesource.h"

// Forms of target file the reader understands. Every form comes out of the
// LineSource as the same sequence of lines, so one set of line positions
// serves them all; only the switch record of version 42 differs.
//
// | input                                          | result                                   |
// |------------------------------------------------|------------------------------------------|
// | version 39 or 40, LF line ends                 | records at the positions below           |
// | line form with CR LF line ends                 | the same records as with LF              |
// | a line longer than 127 characters              | one line: later positions do not shift   |
// | version 37 or 38, values ended by NUL bytes    | the same records as version 40           |
// | NUL-separated booleans 01 00 / 00 00           | the lines "1" / "0"                      |
// | a NUL-separated value holding CR LF            | one line, CR LF kept inside              |
// | version 42 switch record                       | "WString" on line 12, value on line 14   |
// | version 42 identifier "?????WLANG_i"           | "(T) Include directories: V"             |
// | version 42 identifier "?????Include directories:" | include switch, as in version 40      |
// | version 42 "?????WLANG_d", "?????WLANG_fi"     | not an include switch: record rejected   |
// | version 40 identifier "?????WLANG_i"           | not an include switch: record rejected   |
// | unknown or missing version number              | read as version 40                       |
//
// Record lines, counted from 1 after the marker line ("+1" applies to
// version 42 only):
//
// | record     | line     | requirement or use                                         |
// |------------|----------|------------------------------------------------------------|
// | MComponent | 3, 7     | "WString"                                                  |
// | MComponent | 9        | the image-type code                                        |
// | MItem      | 2        | the item name; a first character "*" rejects the record    |
// | MItem      | 4        | "WString"                                                  |
// | MItem      | 6        | must be present                                            |
// | MVState    | 2, 6     | "WString"                                                  |
// | MVState    | 4        | the tool name                                              |
// | MVState    | 8        | the switch identifier; its first five characters are free  |
// | MVState    | 9        | the mode: first character "1" means debug                  |
// | MVState    | 11 (+1)  | "WString"                                                  |
// | MVState    | 13 (+1)  | the switch value                                           |
//
// A marker is a line that as a whole equals "MItem", "MVState", "MCState" or
// "MComponent"; only lines starting with "M" are compared. A Read that fails
// leaves the reader where it stopped, so NextRecord skips the rest of the
// record and still finds a marker inside it.

namespace {

constexpr std::string_view kClassLine = "WString";
constexpr std::string_view kIncludeSwitch = "Include directories:";
constexpr std::string_view kSymbolicIncludeSwitch = "WLANG_i";
constexpr std::size_t kFreeSwitchPrefix = 5;
constexpr int kNewerSwitchLayoutVersion = 42;

enum class SwitchLayout { Classic, Newer };

bool IsIncludeSwitch(std::string_view identifier, SwitchLayout layout) {
    if (identifier.size() < kFreeSwitchPrefix) {
        return false;
    }
    const std::string_view name = identifier.substr(kFreeSwitchPrefix);
    return name == kIncludeSwitch ||
           (layout == SwitchLayout::Newer && name == kSymbolicIncludeSwitch);
}

}  // namespace

WCTarget::WCTarget(HostFs& fs) : fs_(fs) {}

WCTarget::~WCTarget() = default;

bool WCTarget::Open(const char* path) {
    lines_.reset();
    auto source = std::make_unique<LineSource>();
    openStatus_ = source->Load(fs_, path != nullptr ? path : "");
    if (!openStatus_.ok()) {
        return false;
    }
    lines_ = std::move(source);
    return true;
}

bool WCTarget::ReadLine(std::string_view& line) {
    return lines_ && lines_->Next(line);
}

bool WCTarget::HasNewerSwitchLayout() const {
    return lines_ && lines_->Version() == kNewerSwitchLayoutVersion;
}

RecordKind WCTarget::NextRecord() {
    std::string_view line;
    while (ReadLine(line)) {
        if (line.empty() || line.front() != 'M') {
            continue;
        }
        if (line == "MItem") {
            return RecordKind::MItem;
        }
        if (line == "MVState") {
            return RecordKind::MVState;
        }
        if (line == "MCState") {
            return RecordKind::MCState;
        }
        if (line == "MComponent") {
            return RecordKind::MComponent;
        }
    }
    return RecordKind::End;
}

bool WCTarget::ReadComponent(WString& code) {
    std::string_view line;
    for (int number = 1; ReadLine(line); ++number) {
        if ((number == 3 || number == 7) && line != kClassLine) {
            return false;
        }
        if (number == 9) {
            code.Assign(line);
            return true;
        }
    }
    return false;
}

bool WCTarget::ReadItem(WString& name) {
    std::string_view line;
    for (int number = 1; ReadLine(line); ++number) {
        if (number == 2) {
            if (line.starts_with('*')) {
                return false;
            }
            name.Assign(line);
        }
        if (number == 4 && line != kClassLine) {
            return false;
        }
        if (number == 6) {
            return true;
        }
    }
    return false;
}

bool WCTarget::ReadSwitch(WString& text, bool& debug) {
    const SwitchLayout layout =
        HasNewerSwitchLayout() ? SwitchLayout::Newer : SwitchLayout::Classic;
    const int shift = layout == SwitchLayout::Newer ? 1 : 0;
    std::string_view line;
    for (int number = 1; ReadLine(line); ++number) {
        if ((number == 2 || number == 6 || number == 11 + shift) && line != kClassLine) {
            return false;
        }
        if (number == 4) {
            text.Assign("(");
            text.Concat(line);
            text.Concat(") ");
        }
        if (number == 8) {
            if (!IsIncludeSwitch(line, layout)) {
                return false;
            }
            text.Concat(kIncludeSwitch);
            text.Concat(' ');
        }
        if (number == 9) {
            debug = line.starts_with('1');
        }
        if (number == 13 + shift) {
            text.Concat(line);
            return true;
        }
    }
    return false;
}

const char* WCTarget::DefaultIncludeDirectories(const char* code) {
    return ::DefaultIncludeDirectories(code);
}
