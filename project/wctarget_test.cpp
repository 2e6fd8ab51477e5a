#include "project/wctarget.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/support/projectwriter.h"
#include "tests/support/tempdir.h"

namespace {

using namespace projectwriter;
using namespace std::string_literals;
using Summary = std::vector<std::string>;

class WCTargetTest : public testing::Test {
protected:
    void OpenBytes(const std::string& bytes) {
        const std::string path = dir_.Write("t" + std::to_string(++files_) + ".tgt", bytes);
        ASSERT_EQ(reader_.Open(path.c_str()), true);
    }

    // Every record of the file as one line of text, reading each the way the
    // tree builder does. A rejected record shows what its Read had written.
    // The debug flag is carried from record to record, so a Read that fails
    // to clear it shows.
    Summary ReadBytes(const std::string& bytes) {
        OpenBytes(bytes);
        Summary summary;
        bool debug = false;
        for (RecordKind kind = reader_.NextRecord(); kind != RecordKind::End;
             kind = reader_.NextRecord()) {
            WString text;
            std::string what;
            bool read = false;
            if (kind == RecordKind::MComponent) {
                what = "component";
                read = reader_.ReadComponent(text);
            } else if (kind == RecordKind::MItem) {
                what = "item";
                read = reader_.ReadItem(text);
            } else if (kind == RecordKind::MVState) {
                read = reader_.ReadSwitch(text, debug);
                what = !read ? "switch" : debug ? "debug" : "release";
            } else {
                summary.push_back("cstate");
                continue;
            }
            summary.push_back(what + (read ? " " : " rejected ") + text.Str());
        }
        return summary;
    }

    TempDir dir_;
    NativeHostFs fs_;
    WCTarget reader_{fs_};
    int files_ = 0;
};

struct FileRow {
    const char* name;
    std::string bytes;
    Summary records;
};

// The example records, in the value order every version shares.
Values ExampleTarget(std::string_view version, SwitchLayout layout = SwitchLayout::Classic) {
    return TargetHeader(version) + Component("nw2e") + Item("E.exe", "NEXE") + Item("*.c") +
           Switch("WCC", "n????Include directories:", Mode::Debug, "..\\h;$(%watcom)\\h", layout) +
           CState("WCC", "?????Full debugging info") +
           Switch("WCC", "?????Macro definitions:", Mode::Release, "NDEBUG", layout) +
           Switch("WPP", "n????Include directories:", Mode::Release, "inc", layout) +
           Item("src\\S.c");
}

const Summary kExample = {
    "component nw2e",
    "item E.exe",
    "item rejected ",
    "debug (WCC) Include directories: ..\\h;$(%watcom)\\h",
    "cstate",
    "switch rejected (WCC) ",
    "release (WPP) Include directories: inc",
    "item src\\S.c",
};

// A switch record in the line form with the given identifier, mode and end.
std::string SwitchLines(const std::string& identifier, const std::string& mode, std::string tail) {
    return Lines({"MVState", "1", "WString", "1", "T", "2", "WString", "9", identifier, mode, "3",
                  "WString", "1"}) +
           tail;
}

// One row per row of the format table in wctarget.cpp, then the line counting within records.
TEST_F(WCTargetTest, FormatTableAndLineCounting) {
    const std::string include = "?????Include directories:";
    const SwitchLayout newer = SwitchLayout::Newer;
    const FileRow rows[] = {
        {"Version40Lf", RenderLines(ExampleTarget("40")), kExample},
        {"Version37Nul", RenderNul(ExampleTarget("37")), kExample},
        {"Version42SwitchRecord", RenderLines(ExampleTarget("42", newer), "\r\n"), kExample},
        {"Version42SymbolicAndTextualInclude",
         RenderLines(TargetHeader("42") +
                     Switch("WCC", "n????WLANG_i", Mode::Release, "..\\h", newer) +
                     Switch("WPP", "?????WLANG_i", Mode::Debug, "..\\hpp", newer) +
                     Switch("WCC", "n????Include directories:", Mode::Release, "i", newer)),
         {"release (WCC) Include directories: ..\\h", "debug (WPP) Include directories: ..\\hpp",
          "release (WCC) Include directories: i"}},
        {"Version42OtherSymbolicRejected",
         RenderLines(TargetHeader("42") +
                     Switch("WCC", "?????WLANG_d", Mode::Release, "NDEBUG", newer) +
                     Switch("WCC", "?????WLANG_fi", Mode::Debug, "fesupp.h", newer) +
                     Switch("WCC", "?????WLANG_ix", Mode::Debug, "x", newer) +
                     Switch("WCC", "WLANG_i", Mode::Debug, "x", newer)),
         {"switch rejected (WCC) ", "switch rejected (WCC) ", "switch rejected (WCC) ",
          "switch rejected (WCC) "}},
        {"Version40SymbolicRejected",
         RenderLines(TargetHeader("40") + Switch("WCC", "n????WLANG_i", Mode::Release, "inc")),
         {"switch rejected (WCC) "}},
        {"NoNumberAsVersion40", RenderLines(ExampleTarget("x")), kExample},
        {"NoHeaderAsVersion40",
         RenderLines(Component("nw2e") + Item("E.exe")),
         {"component nw2e", "item E.exe"}},
        // Line counting within records.
        {"MarkersAreWholeLinesStartingWithM",
         Lines({"40", " MItem", "MItem ", "mitem", "MITEM", "MItems", "xMItem", "MVState\t",
                "MCState"}),
         {"cstate"}},
        {"StarItemRejectedAndItsRestSkipped",
         RenderLines(Item("*.c") + Item("a.c")),
         {"item rejected ", "item a.c"}},
        // Rejected at line 8; the marker on its line 10 still counts.
        {"RejectedSwitchLeavesTheReaderInsideIt",
         Lines({"MVState", "1", "WString", "3", "WCC", "5", "WString", "9", "?????Other", "1",
                "MItem", "2", "a.c", "3", "WString", "4", "COBJ"}),
         {"switch rejected (WCC) ", "item a.c"}},
        // Line 3 of the component is wrong; the marker on line 4 is found next.
        {"FailedClassCheckConsumesUpToItsLine",
         Lines({"MComponent", "0", "2", "WStrin", "MItem", "x", "a", "y", "WString", "z", "k"}),
         {"component rejected ", "item a"}},
        {"ItemNameIsSetBeforeLaterChecks",
         Lines({"MItem", "1", "a.c", "2", "WVList", "4", "COBJ"}),
         {"item rejected a.c"}},
        {"FiveFreeIdentifierCharacters",
         RenderLines(Switch("WCC", "Incl", Mode::Release, "v") +
                     Switch("WCC", "12345", Mode::Release, "v") +
                     Switch("WCC", "12345Include directories:", Mode::Release, "v")),
         {"switch rejected (WCC) ", "switch rejected (WCC) ",
          "release (WCC) Include directories: v"}},
        {"ModeStartingWithOneIsDebug",
         SwitchLines(include, "1", "U\n") + SwitchLines(include, "", "V\n") +
             SwitchLines(include, "10", "W\n") + SwitchLines(include, "0", "X\n") +
             SwitchLines(include, " 1", "Y\n"),
         {"debug (T) Include directories: U", "release (T) Include directories: V",
          "debug (T) Include directories: W", "release (T) Include directories: X",
          "release (T) Include directories: Y"}},
        {"EmptyCodeAccepted", RenderLines(Component("")), {"component "}},
        {"ComponentCutByTheEnd",
         Lines({"MComponent", "0", "2", "WString", "4", "NEXE", "3", "WString", "5"}),
         {"component rejected "}},
        {"SwitchCutByTheEnd",
         SwitchLines(include, "0", ""),
         {"switch rejected (T) Include directories: "}},
        {"LastLineWithoutNewline",
         SwitchLines(include, "0", "last value "),
         {"release (T) Include directories: last value "}},
    };
    for (const FileRow& row : rows) {
        SCOPED_TRACE(row.name);
        EXPECT_EQ(ReadBytes(row.bytes), row.records);
    }
}

TEST_F(WCTargetTest, OpeningStartsAfreshAndAFailedOpenLeavesNoneOpen) {
    EXPECT_EQ(reader_.NextRecord(), RecordKind::End);  // nothing open
    OpenBytes(Lines({"MComponent", "MCState"}));
    EXPECT_EQ(reader_.NextRecord(), RecordKind::MComponent);
    OpenBytes(Lines({"MItem", "MCState"}));
    EXPECT_EQ(reader_.NextRecord(), RecordKind::MItem);
    EXPECT_EQ(reader_.Open(dir_.Join("missing.tgt").c_str()), false);
    EXPECT_EQ(reader_.NextRecord(), RecordKind::End);
}

}  // namespace
