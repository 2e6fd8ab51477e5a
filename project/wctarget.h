#pragma once

#include <memory>
#include <string_view>

#include "classlib/core/hostfs.h"
#include "classlib/core/wobject.h"
#include "classlib/core/wstring.h"

class LineSource;

// Record kinds of a target file, with their stored values.
enum class RecordKind : int { MItem = 0, MVState = 1, MCState = 2, MComponent = 3, End = 4 };

// Reader of one target file: NextRecord finds the next marker line, and the
// Read operations take values at fixed line distances after it. Each file's
// form and version are recognised on their own (see wctarget.cpp for the
// table of rules), so a project and its targets may differ.
class WCTarget : public WObject {
public:
    explicit WCTarget(HostFs& fs);
    ~WCTarget() override;

    // Closes any file still open, then reads the file at path.
    bool Open(const char* path);
    // Why the last Open failed.
    const HostStatus& OpenStatus() const { return openStatus_; }
    // End at the end of the file or when no file is open.
    RecordKind NextRecord();
    bool ReadComponent(WString& code);
    bool ReadItem(WString& name);
    bool ReadSwitch(WString& text, bool& debug);

    static const char* DefaultIncludeDirectories(const char* code);

private:
    // The next line of the open file; false at its end or when none is open.
    bool ReadLine(std::string_view& line);
    // Whether the open file writes switch settings with the newer record layout.
    bool HasNewerSwitchLayout() const;

    HostFs& fs_;
    std::unique_ptr<LineSource> lines_;
    HostStatus openStatus_;
};
