#include "depscan/fileclass.h"

#include "classlib/core/pathrules.h"

namespace {

bool OccursWithin(const std::string& piece, std::string_view text) {
    return !piece.empty() && text.find(piece) != std::string_view::npos;
}

}  // namespace

std::string ExtensionPiece(std::string_view path) {
    const std::size_t dot = path.rfind('.');
    if (dot == std::string_view::npos) {
        return {};
    }
    return AsciiLowered(path.substr(dot));
}

FileClass ClassifyFile(std::string_view path) {
    const std::string piece = ExtensionPiece(path);
    if (OccursWithin(piece, ".lib")) {
        return FileClass::Library;
    }
    if (OccursWithin(piece, ".rc,.dlg")) {
        return FileClass::ResourceScript;
    }
    return FileClass::Source;
}
