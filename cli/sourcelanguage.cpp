#include "cli/sourcelanguage.h"

#include <array>

#include "classlib/core/pathrules.h"

namespace {

constexpr std::array<std::string_view, 2> kCExtensions = {".c", ".h"};
constexpr std::array<std::string_view, 9> kCPlusPlusExtensions = {
    ".cpp", ".cxx", ".cc", ".c++", ".cp", ".hpp", ".hxx", ".hh", ".h++"};
constexpr std::array<std::string_view, 6> kHeaderExtensions = {".h",  ".hpp", ".hxx",
                                                               ".hh", ".h++", ".inc"};
constexpr std::array<std::string_view, 2> kScriptExtensions = {".rc", ".dlg"};

template <std::size_t N>
bool IsOneOf(std::string_view extension, const std::array<std::string_view, N>& list) {
    for (const std::string_view entry : list) {
        if (extension == entry) {
            return true;
        }
    }
    return false;
}

// The lower-cased extension of the file name, the dot included.
std::string LowerExtension(std::string_view path) {
    const std::string_view name = FileNameOfPath(path);
    const std::size_t dot = name.rfind('.');
    return dot == std::string_view::npos ? std::string() : AsciiLowered(name.substr(dot));
}

}  // namespace

SourceLanguage LanguageOf(std::string_view path) {
    const std::string extension = LowerExtension(path);
    if (IsOneOf(extension, kCExtensions)) {
        return SourceLanguage::C;
    }
    if (IsOneOf(extension, kCPlusPlusExtensions)) {
        return SourceLanguage::CPlusPlus;
    }
    return SourceLanguage::None;
}

std::string_view ObjectExtensionOf(std::string_view path) {
    const std::string extension = LowerExtension(path);
    if (IsOneOf(extension, kScriptExtensions)) {
        return ".res";
    }
    if (LanguageOf(path) != SourceLanguage::None && !IsOneOf(extension, kHeaderExtensions)) {
        return ".obj";
    }
    if (extension == ".asm") {
        return ".obj";
    }
    return {};
}
