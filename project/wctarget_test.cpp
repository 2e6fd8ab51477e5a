#include "project/wctarget.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "project/recordbuilder_test.h"
#include "tests/support/tempdir.h"

namespace {

using namespace records;
using namespace std::string_literals;
using Summary = std::vector<std::string>;

class WCTargetTest : public testing::Test {
protected:
    // Opens a target file with the given bytes.
    void OpenBytes(const std::string& bytes) {
        const std::string path = dir_.Write("t" + std::to_string(++files_) + ".tgt", bytes);
        ASSERT_EQ(reader_.Open(path.c_str()), true);
    }

    // Every record of the open file as one line of text, reading each the way
    // the tree builder does.
    Summary ReadAll() {
        Summary summary;
        for (RecordKind kind = reader_.NextRecord(); kind != RecordKind::End;
             kind = reader_.NextRecord()) {
            WString text;
            bool debug = false;
            switch (kind) {
                case RecordKind::MComponent:
                    summary.push_back(reader_.ReadComponent(text) ? "component " + text.Str()
                                                                  : "component rejected");
                    break;
                case RecordKind::MItem:
                    summary.push_back(reader_.ReadItem(text) ? "item " + text.Str()
                                                             : "item rejected");
                    break;
                case RecordKind::MVState:
                    summary.push_back(reader_.ReadSwitch(text, debug)
                                          ? (debug ? "debug " : "release ") + text.Str()
                                          : "switch rejected");
                    break;
                case RecordKind::MCState:
                    summary.push_back("cstate");
                    break;
                case RecordKind::End:
                    break;
            }
        }
        return summary;
    }

    Summary ReadBytes(const std::string& bytes) {
        OpenBytes(bytes);
        return ReadAll();
    }

    TempDir dir_;
    HostFs fs_;
    WCTarget reader_{fs_};
    int files_ = 0;
};

// The example records, in the value order every version shares.
Values ExampleTarget(std::string_view version, SwitchLayout layout) {
    Values values = TargetHeader(version);
    Append(values, Component("nw2e"));
    Append(values, Item("E.exe", "NEXE"));
    Append(values, Item("*.c"));
    Append(values, Switch("WCC", "n????Include directories:", true, "..\\h;$(%watcom)\\h", layout));
    Append(values, CState("WCC", "?????Full debugging info"));
    Append(values, Switch("WCC", "?????Macro definitions:", false, "NDEBUG", layout));
    Append(values, Switch("WPP", "n????Include directories:", false, "inc", layout));
    Append(values, Item("src\\S.c"));
    return values;
}

const Summary kExampleSummary = {
    "component nw2e",
    "item E.exe",
    "item rejected",
    "debug (WCC) Include directories: ..\\h;$(%watcom)\\h",
    "cstate",
    "switch rejected",
    "release (WPP) Include directories: inc",
    "item src\\S.c",
};

// One test per row of the format table in wctarget.cpp.

TEST_F(WCTargetTest, Version40LfGivesTheRecords) {
    EXPECT_EQ(ReadBytes(RenderLines(ExampleTarget("40", SwitchLayout::Classic))), kExampleSummary);
}

TEST_F(WCTargetTest, CrLfLineEndsGiveTheSameRecords) {
    EXPECT_EQ(ReadBytes(RenderLines(ExampleTarget("40", SwitchLayout::Classic), "\r\n")),
              kExampleSummary);
}

TEST_F(WCTargetTest, LongLineDoesNotShiftLaterPositions) {
    const std::string longValue(200, 'v');
    Values values = TargetHeader("40");
    Append(values, Component("nw2e"));
    Append(values, Item("E.exe"));
    Append(values, Switch("WCC", "n????Include directories:", false, longValue));
    Append(values, Item(std::string(150, 'n') + ".c"));
    EXPECT_EQ(
        ReadBytes(RenderLines(values, "\r\n")),
        (Summary{"component nw2e", "item E.exe", "release (WCC) Include directories: " + longValue,
                 "item " + std::string(150, 'n') + ".c"}));
}

TEST_F(WCTargetTest, NulSeparatedVersion37And38GiveTheSameRecords) {
    EXPECT_EQ(ReadBytes(RenderNul(ExampleTarget("37", SwitchLayout::Classic))), kExampleSummary);
    EXPECT_EQ(ReadBytes(RenderNul(ExampleTarget("38", SwitchLayout::Classic))), kExampleSummary);
}

TEST_F(WCTargetTest, NulSeparatedBooleansReadAsOneAndZero) {
    // The switch mode is a raw boolean byte: 01 for debug, 00 for release.
    Values values = TargetHeader("38");
    Append(values, Component("w_6e"));
    Append(values, Item("a.exe"));
    Append(values, Switch("WCC", "w????Include directories:", true, "d"));
    Append(values, Switch("WCC", "w????Include directories:", false, "r"));
    const std::string bytes = RenderNul(values);
    ASSERT_NE(bytes.find("\0\x01\0"s), std::string::npos);
    EXPECT_EQ(ReadBytes(bytes),
              (Summary{"component w_6e", "item a.exe", "debug (WCC) Include directories: d",
                       "release (WCC) Include directories: r"}));
}

TEST_F(WCTargetTest, NulSeparatedValueWithCrLfIsOneValue) {
    Values values = TargetHeader("38");
    Append(values, Component("w_6e"));
    Append(values, Item("a.exe"));
    Append(values, {{"4"}, {"MCommand"}, {"copy a b\r\ncopy c d\r\n"}});
    Append(values, Item("a.c"));
    EXPECT_EQ(ReadBytes(RenderNul(values)), (Summary{"component w_6e", "item a.exe", "item a.c"}));
}

TEST_F(WCTargetTest, Version42SwitchValueOnLine14) {
    EXPECT_EQ(ReadBytes(RenderLines(ExampleTarget("42", SwitchLayout::Newer), "\r\n")),
              kExampleSummary);
}

TEST_F(WCTargetTest, Version42SymbolicIncludeSwitchIsTheIncludeSwitch) {
    Values values = TargetHeader("42");
    Append(values, Component("nc2e"));
    Append(values, Item("wasm.exe"));
    Append(values, Switch("WCC", "n????WLANG_i", false, "..\\h", SwitchLayout::Newer));
    Append(values, Switch("WPP", "?????WLANG_i", true, "..\\hpp", SwitchLayout::Newer));
    EXPECT_EQ(
        ReadBytes(RenderLines(values)),
        (Summary{"component nc2e", "item wasm.exe", "release (WCC) Include directories: ..\\h",
                 "debug (WPP) Include directories: ..\\hpp"}));
}

TEST_F(WCTargetTest, Version42TextualIncludeSwitchIsTheIncludeSwitch) {
    Values values = TargetHeader("42");
    Append(values, Component("nc2e"));
    Append(values, Item("a.exe"));
    Append(values, Switch("WCC", "n????Include directories:", false, "inc", SwitchLayout::Newer));
    EXPECT_EQ(ReadBytes(RenderLines(values)),
              (Summary{"component nc2e", "item a.exe", "release (WCC) Include directories: inc"}));
}

TEST_F(WCTargetTest, Version42OtherSymbolicSwitchesAreRejected) {
    Values values = TargetHeader("42");
    Append(values, Component("nc2e"));
    Append(values, Item("a.exe"));
    Append(values, Switch("WCC", "?????WLANG_d", false, "NDEBUG", SwitchLayout::Newer));
    Append(values, Switch("WCC", "?????WLANG_fi", true, "fesupp.h", SwitchLayout::Newer));
    Append(values, Switch("WCC", "?????WLANG_ix", true, "x", SwitchLayout::Newer));
    Append(values, Switch("WCC", "WLANG_i", true, "x", SwitchLayout::Newer));
    EXPECT_EQ(ReadBytes(RenderLines(values)),
              (Summary{"component nc2e", "item a.exe", "switch rejected", "switch rejected",
                       "switch rejected", "switch rejected"}));
}

TEST_F(WCTargetTest, Version40SymbolicIncludeSwitchIsRejected) {
    Values values = TargetHeader("40");
    Append(values, Component("nc2e"));
    Append(values, Item("a.exe"));
    Append(values, Switch("WCC", "n????WLANG_i", false, "inc"));
    EXPECT_EQ(ReadBytes(RenderLines(values)),
              (Summary{"component nc2e", "item a.exe", "switch rejected"}));
}

TEST_F(WCTargetTest, UnknownVersionIsReadAsVersion40) {
    EXPECT_EQ(ReadBytes(RenderLines(ExampleTarget("41", SwitchLayout::Classic))), kExampleSummary);
    EXPECT_EQ(ReadBytes(RenderLines(ExampleTarget("x", SwitchLayout::Classic))), kExampleSummary);
    Values noHeader = Component("nw2e");
    Append(noHeader, Item("E.exe"));
    EXPECT_EQ(ReadBytes(RenderLines(noHeader)), (Summary{"component nw2e", "item E.exe"}));
}

// Line counting within records.

TEST_F(WCTargetTest, NoFileOpenGivesEnd) {
    EXPECT_EQ(reader_.NextRecord(), RecordKind::End);
    EXPECT_EQ(reader_.Open(dir_.Join("missing.tgt").c_str()), false);
    EXPECT_EQ(reader_.NextRecord(), RecordKind::End);
}

TEST_F(WCTargetTest, MarkersAreWholeLinesStartingWithM) {
    EXPECT_EQ(ReadBytes(Lines({"40", " MItem", "MItem ", "mitem", "MITEM", "MItems", "xMItem",
                               "MVState\t", "MCState"})),
              (Summary{"cstate"}));
}

TEST_F(WCTargetTest, RecordKindsCarryTheirValues) {
    OpenBytes(Lines({"MItem", "MVState", "MCState", "MComponent"}));
    EXPECT_EQ(static_cast<int>(reader_.NextRecord()), 0);
    EXPECT_EQ(static_cast<int>(reader_.NextRecord()), 1);
    EXPECT_EQ(static_cast<int>(reader_.NextRecord()), 2);
    EXPECT_EQ(static_cast<int>(reader_.NextRecord()), 3);
    EXPECT_EQ(static_cast<int>(reader_.NextRecord()), 4);
}

TEST_F(WCTargetTest, ItemNamedWithStarIsRejectedAndItsRestSkipped) {
    Values values = Item("*.c");
    Append(values, Item("a.c"));
    EXPECT_EQ(ReadBytes(RenderLines(values)), (Summary{"item rejected", "item a.c"}));
}

TEST_F(WCTargetTest, RejectedRecordLeavesTheReaderInsideIt) {
    // The switch is rejected at line 8; the marker on its line 10 still counts.
    OpenBytes(Lines({"MVState", "1", "WString", "3", "WCC", "5", "WString", "9", "?????Other", "1",
                     "MItem", "2", "a.c", "3", "WString", "4", "COBJ"}));
    ASSERT_EQ(reader_.NextRecord(), RecordKind::MVState);
    WString text;
    bool debug = false;
    EXPECT_EQ(reader_.ReadSwitch(text, debug), false);
    EXPECT_EQ(text.Str(), "(WCC) ");  // partial content, as documented
    ASSERT_EQ(reader_.NextRecord(), RecordKind::MItem);
    WString name;
    EXPECT_EQ(reader_.ReadItem(name), true);
    EXPECT_EQ(name.Str(), "a.c");
}

TEST_F(WCTargetTest, ClassCheckFailureConsumesUpToTheFailingLine) {
    // Line 3 of the component is wrong; the marker on line 4 is found next.
    OpenBytes(
        Lines({"MComponent", "0", "2", "WStrin", "MItem", "x", "a", "y", "WString", "z", "k"}));
    ASSERT_EQ(reader_.NextRecord(), RecordKind::MComponent);
    WString code;
    EXPECT_EQ(reader_.ReadComponent(code), false);
    ASSERT_EQ(reader_.NextRecord(), RecordKind::MItem);
    WString name;
    EXPECT_EQ(reader_.ReadItem(name), true);
    EXPECT_EQ(name.Str(), "a");
}

TEST_F(WCTargetTest, ItemNameIsSetBeforeLaterChecks) {
    OpenBytes(Lines({"MItem", "1", "a.c", "2", "WVList", "4", "COBJ"}));
    ASSERT_EQ(reader_.NextRecord(), RecordKind::MItem);
    WString name;
    EXPECT_EQ(reader_.ReadItem(name), false);
    EXPECT_EQ(name.Str(), "a.c");
}

TEST_F(WCTargetTest, ShortSwitchIdentifierIsRejected) {
    EXPECT_EQ(ReadBytes(RenderLines(Switch("WCC", "Incl", false, "v"))),
              (Summary{"switch rejected"}));
    EXPECT_EQ(ReadBytes(RenderLines(Switch("WCC", "12345", false, "v"))),
              (Summary{"switch rejected"}));
    EXPECT_EQ(ReadBytes(RenderLines(Switch("WCC", "12345Include directories:", false, "v"))),
              (Summary{"release (WCC) Include directories: v"}));
}

struct ModeCase {
    const char* mode;
    const char* expected;
};

TEST_F(WCTargetTest, ModeLineDecidesDebug) {
    for (const ModeCase& test :
         {ModeCase{"1", "debug"}, ModeCase{"10", "debug"}, ModeCase{"0", "release"},
          ModeCase{"", "release"}, ModeCase{" 1", "release"}}) {
        SCOPED_TRACE(test.mode);
        OpenBytes(Lines({"MVState", "1", "WString", "1", "T", "2", "WString", "9",
                         "?????Include directories:", test.mode, "3", "WString", "1", "V"}));
        ASSERT_EQ(reader_.NextRecord(), RecordKind::MVState);
        WString text;
        bool debug = !std::string(test.expected).starts_with("debug");
        ASSERT_EQ(reader_.ReadSwitch(text, debug), true);
        EXPECT_EQ(debug ? "debug" : "release", std::string(test.expected));
        EXPECT_EQ(text.Str(), "(T) Include directories: V");
    }
}

TEST_F(WCTargetTest, ComponentWithEmptyCodeIsAccepted) {
    EXPECT_EQ(ReadBytes(RenderLines(Component(""))), (Summary{"component "}));
}

TEST_F(WCTargetTest, RecordCutByTheEndOfTheFile) {
    // The component ends after its line 8.
    OpenBytes(Lines({"MComponent", "0", "2", "WString", "4", "NEXE", "3", "WString", "5"}));
    ASSERT_EQ(reader_.NextRecord(), RecordKind::MComponent);
    WString code;
    EXPECT_EQ(reader_.ReadComponent(code), false);
    EXPECT_EQ(reader_.NextRecord(), RecordKind::End);
    // A switch whose value line is missing.
    EXPECT_EQ(ReadBytes(Lines({"MVState", "1", "WString", "1", "T", "2", "WString", "9",
                               "?????Include directories:", "0", "3", "WString", "1"})),
              (Summary{"switch rejected"}));
}

TEST_F(WCTargetTest, LastLineWithoutNewlineIsTheValue) {
    EXPECT_EQ(
        ReadBytes("MVState\n1\nWString\n1\nT\n2\nWString\n9\n?????Include directories:\n0\n3\n"
                  "WString\n1\nlast value "),
        (Summary{"release (T) Include directories: last value "}));
}

TEST_F(WCTargetTest, OpenAgainReadsTheNewFileFromItsStart) {
    OpenBytes(RenderLines(Item("first.c")));
    ASSERT_EQ(reader_.NextRecord(), RecordKind::MItem);
    EXPECT_EQ(ReadBytes(RenderLines(Item("second.c"))), (Summary{"item second.c"}));
}

TEST_F(WCTargetTest, DefaultIncludeDirectoriesIsTheImageTypeTable) {
    EXPECT_EQ(std::string(WCTarget::DefaultIncludeDirectories("nw2e")),
              "$(%watcom)\\h;$(%watcom)\\h\\nt");
}

}  // namespace
