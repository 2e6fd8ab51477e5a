#pragma once

#include <string>
#include <string_view>

#include "classlib/core/hostfs.h"

// How the values of a project or target file are separated.
enum class LineForm {
    Lines,         // one value per line (versions 39, 40, 42 and anything unknown)
    NulSeparated,  // each value ends with a NUL byte (versions 37 and 38)
};

// The lines of one project or target file, read whole once and handed out in
// order. Both forms of the IDE's files come out as the same sequence of
// "lines", so the readers above count positions without knowing the form.
//
// Line form:
//
// | bytes in the file                     | lines handed out                 |
// |---------------------------------------|----------------------------------|
// | "abc\n"                               | "abc"                            |
// | "abc\r\n"                             | "abc" (CR before LF dropped)     |
// | "abc\rdef\n"                          | "abc\rdef" (a lone CR stays)     |
// | "abc" at the end, no newline          | "abc" (all characters kept)      |
// | "abc\r" at the end, no newline        | "abc\r"                          |
// | a line of any length                  | the whole line, never split      |
// | "\n" (empty line)                     | ""                               |
// | 0x1A as the very last byte            | ignored (DOS end-of-file mark)   |
// | 0x1A anywhere else, NUL inside a line | kept as ordinary bytes           |
//
// NUL-separated form (a value never holds a NUL; 0x01 only stands alone):
//
// | bytes in the file                     | values handed out                |
// |---------------------------------------|----------------------------------|
// | "abc\0"                               | "abc"                            |
// | "a\r\nb\0"                            | "a\r\nb" (line breaks stay inside) |
// | 01 00 (true boolean)                  | "1"                              |
// | 00 00 (false boolean)                 | "0"                              |
// | 00 followed by a non-NUL byte or end  | "" (empty value)                 |
// | "abc" at the end, no NUL              | "abc"                            |
//
// A run of NULs after a value's own terminator is read as false booleans two
// bytes at a time; an odd NUL left over is an empty value. The IDE's files
// only ever hold runs of 1, 3 or 5 NULs (terminator plus zero, one or two
// false booleans), so the pairing is never ambiguous in practice.
//
// Telling the forms apart: a file that starts with decimal digits followed
// directly by a NUL byte is NUL-separated; every other file is line form.
class LineSource {
public:
    LineSource() = default;

    // Reads the whole file. On failure the source is empty.
    HostStatus Load(HostFs& fs, std::string_view path);
    // Takes the file's bytes directly (used where the bytes are at hand).
    void SetContents(std::string contents);

    // The next line, valid until the source is loaded again; false at the end.
    bool Next(std::string_view& line);

    LineForm Form() const { return form_; }
    // The number at the very start of the file (its first line or value), or
    // -1 when the file does not start with one.
    int Version() const { return version_; }

private:
    bool NextLine(std::string_view& line);
    bool NextValue(std::string_view& value);

    std::string contents_;
    std::size_t position_ = 0;
    std::size_t end_ = 0;  // contents_ up to end_ are read; a final 0x1A lies beyond
    LineForm form_ = LineForm::Lines;
    int version_ = -1;
};
