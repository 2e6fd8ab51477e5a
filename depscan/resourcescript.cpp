#include "depscan/resourcescript.h"

ResourceScriptReader::ResourceScriptReader(WCInclude& scanner) : scanner_(scanner) {}

bool ResourceScriptReader::Next(ScriptReference& reference) {
    while (!ended_) {
        const int c = scanner_.NextChar();
        const bool lineEnds = c == -1 || c == '\n';
        if (c == -1) {
            ended_ = true;
        } else if (c != '\n') {
            line_ += static_cast<char>(c == '\t' ? ' ' : c);
        }
        if (c != -1 && machine_.Feed(c)) {
            // Only a quote or '>' completes a directive, never a line end,
            // so the line goes on being collected.
            reference = {ScriptReference::Kind::Include, machine_.name(), machine_.opener()};
            return true;
        }
        if (lineEnds) {
            std::string piece = ResourceLinePiece(line_);
            line_.clear();
            if (!piece.empty()) {
                reference = {ScriptReference::Kind::ResourceFile, std::move(piece), 0};
                return true;
            }
        }
    }
    return false;
}
