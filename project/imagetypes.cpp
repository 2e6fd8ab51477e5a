#include "project/imagetypes.h"

#include <span>
#include <string_view>

// An image-type code is read by position: 1 platform, 2 kind of image on
// that platform, 3 bitness, 4 file type. Characters are compared exactly,
// case included; a position past the end of the code matches nothing.

namespace {

struct KindRow {
    char kind;
    const char* text;
};

struct PlatformRow {
    char platform;
    const char* text;
    // Kinds of image on this platform; empty where position 2 is not read.
    std::span<const KindRow> kinds;
};

const KindRow kAutocadKinds[] = {
    {'d', " device interface"}, {'e', " executable"}, {'f', " floating-point device interface"}};
const KindRow kDosKinds[] = {{'c', " .com file"},
                             {'e', " .exe file"},
                             {'f', " Flashtek, register based calling conventions"},
                             {'p', " Pharlap"},
                             {'r', " Rational DOS 4G"},
                             {'s', " Flashtek, stack based calling conventions"},
                             {'t', " Pharlap tnt"}};
const KindRow kNtKinds[] = {{'a', " MFC DLL linkage"},    {'c', " character mode executable"},
                            {'m', " MFC static linkage"}, {'o', " MFC Unicode DLL linkage"},
                            {'p', " PowerBuilder DLL"},   {'u', " MFC Unicode static linkage"},
                            {'w', " windowed executable"}};
const KindRow kOs2Kinds[] = {
    {'c', " PM Compatible"}, {'f', " Full screen"}, {'p', " PM"}, {'v', " Virtual device"}};
const KindRow kWindowsKinds[] = {{'a', " MFC 2.X application, DLL linkage"},
                                 {'m', " MFC 2.X application, static linkage"},
                                 {'p', " PowerBuilder DLL"},
                                 {'s', " application (not Visual Programmer)"}};

const PlatformRow kPlatforms[] = {
    {'a', "Autocad ADS", kAutocadKinds}, {'d', "DOS", kDosKinds},  {'l', "Netware NLM", {}},
    {'n', "Windows NT", kNtKinds},       {'o', "OS/2", kOs2Kinds}, {'q', "QNX", {}},
    {'w', "Windows 3.x", kWindowsKinds},
};

struct CharacterText {
    char character;
    const char* text;
};

// The bitness text opens the parenthesis that the file-type text closes.
const CharacterText kBitness[] = {{'2', " (32-bit "}, {'6', " (16-bit "}};

const CharacterText kFileTypes[] = {
    {'d', "Dll)"}, {'e', "Executable)"}, {'h', "Help file)"}, {'i', "Inf file)"}, {'s', "Library)"},
};

constexpr const char* kUnknown = "Unknown";
constexpr const char* kUnknownTarget = "Unknown Target";

// Default include directories. A row without kinds matches any kind; rows are
// tried in order, so specific kinds stand before their platform's catch-all.
struct IncludeRow {
    char platform;
    std::string_view kinds;  // empty: any kind
    const char* directories;
};

const IncludeRow kIncludeDefaults[] = {
    {'d', "", "$(%watcom)\\h"},
    {'l', "", "$(%watcom)\\novh"},
    {'n', "amou", "$(%watcom)\\h;$(%watcom)\\h\\nt;$(%watcom)\\mfc\\include"},
    {'n', "", "$(%watcom)\\h;$(%watcom)\\h\\nt"},
    {'o', "6", "$(%watcom)\\h;$(%watcom)\\h\\os21x"},
    {'o', "", "$(%watcom)\\h;$(%watcom)\\h\\os2"},
    {'w', "", "$(%watcom)\\h;$(%watcom)\\h\\win"},
};

constexpr const char* kFallbackIncludeDirectories = "$(%watcom)\\h";

// The character at a 1-based position, or 0 past the end of the code.
char CodeAt(std::string_view code, std::size_t position) {
    return position <= code.size() ? code[position - 1] : '\0';
}

template <typename Table>
const char* TextOf(const Table& table, char character) {
    if (character == '\0') {
        return nullptr;
    }
    for (const auto& row : table) {
        if (row.character == character) {
            return row.text;
        }
    }
    return nullptr;
}

const PlatformRow* PlatformOf(char platform) {
    if (platform == '\0') {
        return nullptr;
    }
    for (const PlatformRow& row : kPlatforms) {
        if (row.platform == platform) {
            return &row;
        }
    }
    return nullptr;
}

const char* KindText(const PlatformRow& platform, char kind) {
    if (kind == '\0') {
        return nullptr;
    }
    for (const KindRow& row : platform.kinds) {
        if (row.kind == kind) {
            return row.text;
        }
    }
    return nullptr;
}

std::string_view CodeText(const char* code) {
    return code != nullptr ? code : "";
}

}  // namespace

WString DescribeTargetType(const char* codeText) {
    const std::string_view code = CodeText(codeText);
    const PlatformRow* platform = PlatformOf(CodeAt(code, 1));
    if (platform == nullptr) {
        return WString(kUnknown);
    }
    WString description(platform->text);
    if (const char* kind = KindText(*platform, CodeAt(code, 2))) {
        description.Concat(kind);
    }
    if (const char* bitness = TextOf(kBitness, CodeAt(code, 3))) {
        description.Concat(bitness);
    }
    const char* fileType = TextOf(kFileTypes, CodeAt(code, 4));
    if (fileType == nullptr) {
        return WString(kUnknownTarget);
    }
    description.Concat(fileType);
    return description;
}

const char* DefaultIncludeDirectories(const char* codeText) {
    const std::string_view code = CodeText(codeText);
    const char platform = CodeAt(code, 1);
    const char kind = CodeAt(code, 2);
    if (platform == '\0') {
        return kFallbackIncludeDirectories;
    }
    for (const IncludeRow& row : kIncludeDefaults) {
        const bool kindMatches =
            row.kinds.empty() || (kind != '\0' && row.kinds.find(kind) != std::string_view::npos);
        if (row.platform == platform && kindMatches) {
            return row.directories;
        }
    }
    return kFallbackIncludeDirectories;
}
