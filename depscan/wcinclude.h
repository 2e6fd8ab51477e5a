#pragma once

#include <cstddef>
#include <functional>
#include <string>
#include <string_view>

#include "classlib/core/hostfs.h"
#include "classlib/core/wobject.h"
#include "classlib/core/wstring.h"

// What the include state machine of NextInclude has seen so far.
enum class IncludeState { Idle, AfterHash, Matching, AfterWord, Collecting };

// The scanner of one source file: include directives, resource-script file
// lines and string literals naming files. The file is read once, whole, into
// memory; positions are offsets into it. Text-mode rules apply while reading:
// a carriage return is dropped and a byte 0x1A ends the file.
class WCInclude : public WObject {
public:
    // Existence tests of NextStringLiteral are made relative to baseFolder
    // (the folder of the target being scanned), through fs.
    WCInclude(HostFs& fs, std::string_view baseFolder);
    ~WCInclude() override = default;

    // Reads a regular file whole; false, leaving nothing open, when it cannot
    // be read (missing, a folder, a FIFO or device: nothing blocks).
    bool Open(std::string_view hostPath);
    // Why the last Open failed.
    const HostStatus& OpenStatus() const { return openStatus_; }
    // Scans text as if it were the file's contents.
    void OpenText(std::string text);
    void Close();
    bool IsOpen() const { return open_; }
    // Back to the beginning, as if the file were opened again.
    void Rewind();
    // The bytes read by Open (before the text-mode rules).
    const std::string& Contents() const { return contents_; }

    // The next character with comments removed, or -1 at the end. Comments
    // are not recognised inside string and character literals:
    //
    //   input               characters returned
    //   a//x\nb             a \n b        line comment ends at, and keeps, the newline
    //   a/*x*/b             a b           a block comment yields nothing
    //   a/*/x*/b            a b           the opening star does not close it
    //   "s//x"              " s / / x "   literals keep their text
    //   "s\"/*"x            " s \ " / * " x   an escaped quote does not end it
    //   "s\n/*x*/           " s \n        an unclosed literal ends with its line
    //   'a'/*x*/            ' a '         character literals alike
    int NextChar();

    // Include directives, by the state machine of IncludeMachine below. False
    // at the end of the file (a directive in progress is dropped) or when no
    // file is open.
    bool NextInclude(WString& name, char& opener);

    // The file that the next resource-script line names (see
    // ResourceLinePiece), looked for by ResolveResourceFile: in targetFolder,
    // then beside the script, whose folder as the scan names it is
    // scriptFolder (empty: the target folder). Lines that name no existing
    // file are skipped. False at the end of the file or when no file is open.
    bool NextResourceFile(const WString& targetFolder, WString& fileName,
                          std::string_view scriptFolder = {});

    // True after each double-quoted literal that does not stand after a '#'
    // on its line; text holds it when it names an existing regular file
    // (relative to the base folder), else it is empty. False at the end of
    // the file outside a literal.
    bool NextStringLiteral(WString& text);

    // From the beginning to the end in one reading: each include directive
    // NextInclude would find, to include, and when literal is given each
    // literal naming a file NextStringLiteral would find, to literal.
    void FindIncludesAndLiterals(
        const std::function<void(const std::string& name, char opener)>& include,
        const std::function<void(const std::string& literal)>& literal);

    void SavePosition();
    void RestorePosition();

private:
    bool NamesFile(const std::string& literal);
    void SkipPlainText();
    int ReadRaw();
    void ResetReading();
    void SkipLineComment();
    bool SkipBlockComment();
    void FollowLiteral(int c);

    HostFs& fs_;
    std::string baseFolder_;
    std::string contents_;
    bool open_ = false;
    HostStatus openStatus_;
    std::size_t end_ = 0;  // first 0x1A, or the size

    int previousCharacter_ = 0;
    int currentCharacter_ = 0;
    std::size_t position_ = 0;
    // The literal that comment removal is inside of: its quote, or 0.
    int literalQuote_ = 0;
    bool literalEscape_ = false;

    struct Saved {
        std::size_t position = 0;
        int literalQuote = 0;
        bool literalEscape = false;
    } saved_;
};

// The include-directive state machine, fed one character at a time. Blanks are
// space and tab.
//
//   state       character                       next state
//   any         '#'                             after-hash (restarts any candidate)
//   idle        other                           idle
//   after-hash  blank                           after-hash
//   after-hash  'i'                             matching "include" from its 'n'
//   after-hash  other                           idle
//   matching    next letter of "include"        matching; after-word after 'e'
//   matching    other                           idle (case matters, no blanks inside)
//   after-word  blank                           after-word
//   after-word  '"' or '<'                      collecting, opener stored, name cleared
//   after-word  other                           idle
//   collecting  '"' or '>' closing the opener   found ('<' closes on '>' and on '"')
//   collecting  '>' after a '"' opener          idle
//   collecting  blank                           idle
//   collecting  other, newline included         collecting, appended to the name
class IncludeMachine {
public:
    // True when c completes a directive; name() and opener() then hold it and
    // the machine is idle again.
    bool Feed(int c);
    void Reset() { state_ = IncludeState::Idle; }
    IncludeState state() const { return state_; }
    const std::string& name() const { return name_; }
    char opener() const { return opener_; }

private:
    IncludeState state_ = IncludeState::Idle;
    std::size_t matched_ = 0;
    char opener_ = 0;
    std::string name_;
};

// The string-literal state machine of NextStringLiteral, fed one character
// at a time (-1 at the end): a double-quoted literal that does not stand
// after a '#' on its line, a backslash escape kept as written except that
// "\\" stands for one '\'; the end of the file closes a literal in progress.
class LiteralMachine {
public:
    // True when c closes a literal; text() then holds it.
    bool Feed(int c);
    bool InLiteral() const { return inString_; }
    const std::string& text() const { return text_; }

private:
    bool inString_ = false;
    bool escapePending_ = false;
    bool inDirective_ = false;
    std::string text_;
};

// The file name that one collected line of a resource script names, before
// it is looked for; empty when the line names none. Blanks separate pieces,
// quotes group them and are removed.
//
//   line                                      piece
//   APP ICON res\app.ico                      res\app.ico     three pieces: the third
//   APP ICON "my app.ico"                     my app.ico
//   IDI_MAIN ICON DISCARDABLE "noter16.ico"   noter16.ico     load options before the last
//   IDB_X BITMAP moveable PURE x.bmp          x.bmp           several, in any case
//   APP ICON BIG x.ico                        (none)          a middle piece that is no option
//   APP ICON x.ico,                           (none)          a ',' anywhere
//   ICON x.ico                                (none)          fewer than three pieces
//   #x ICON x.ico                             (none)          first piece begins with '#'
//   IDB_L BITMAP "..\\..\\LEFT.BMP"           ..\..\LEFT.BMP  each "\\" stands for one '\'
//   IDB_L BITMAP a\\\b.bmp                    a\\b.bmp        pairs from the left
//
// The load options are PRELOAD, LOADONCALL, FIXED, MOVEABLE, DISCARDABLE, PURE
// and IMPURE.
std::string ResourceLinePiece(std::string_view line);
