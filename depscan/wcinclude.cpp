#include "depscan/wcinclude.h"

#include <algorithm>
#include <array>
#include <functional>
#include <vector>

#include "classlib/core/pathrules.h"
#include "classlib/core/wtokens.h"
#include "depscan/includeresolution.h"

namespace {

constexpr int kEnd = -1;
constexpr char kTextEnd = 0x1A;
constexpr std::string_view kIncludeWord = "include";

bool IsBlank(int c) {
    return c == ' ' || c == '\t';
}

// The load options that resource editors write between a resource's type and
// its file name.
bool IsMemoryOption(std::string_view piece) {
    static constexpr std::array<std::string_view, 7> kOptions = {
        "PRELOAD", "LOADONCALL", "FIXED", "MOVEABLE", "DISCARDABLE", "PURE", "IMPURE"};
    const std::string upper = AsciiUppered(piece);
    return std::find(kOptions.begin(), kOptions.end(), upper) != kOptions.end();
}

// Each pair of backslashes, from the left, read as one: the escaped form of a
// quoted name in a resource script.
std::string WithBackslashPairsHalved(std::string_view text) {
    std::string halved;
    for (std::size_t i = 0; i < text.size(); ++i) {
        halved += text[i];
        if (text[i] == '\\' && i + 1 < text.size() && text[i + 1] == '\\') {
            ++i;
        }
    }
    return halved;
}

}  // namespace

WCInclude::WCInclude(HostFs& fs, std::string_view baseFolder) : fs_(fs), baseFolder_(baseFolder) {}

bool WCInclude::Open(std::string_view hostPath) {
    Close();
    std::string contents;
    openStatus_ = fs_.ReadFile(hostPath, contents);
    if (!openStatus_.ok()) {
        return false;
    }
    OpenText(std::move(contents));
    return true;
}

void WCInclude::OpenText(std::string text) {
    contents_ = std::move(text);
    const std::size_t textEnd = contents_.find(kTextEnd);
    end_ = textEnd == std::string::npos ? contents_.size() : textEnd;
    open_ = true;
    ResetReading();
}

void WCInclude::Close() {
    contents_.clear();
    contents_.shrink_to_fit();
    open_ = false;
    end_ = 0;
    ResetReading();
}

void WCInclude::Rewind() {
    ResetReading();
}

void WCInclude::ResetReading() {
    position_ = 0;
    previousCharacter_ = 0;
    currentCharacter_ = 0;
    literalQuote_ = 0;
    literalEscape_ = false;
    saved_ = {};
}

int WCInclude::ReadRaw() {
    while (position_ < end_) {
        const char c = contents_[position_++];
        if (c != '\r') {
            return static_cast<unsigned char>(c);
        }
    }
    return kEnd;
}

void WCInclude::SkipLineComment() {
    // Stops before the newline, so that the newline is the next character.
    while (position_ < end_ && contents_[position_] != '\n') {
        ++position_;
    }
}

bool WCInclude::SkipBlockComment() {
    int before = 0;  // the star of the opening pair does not count
    for (int c = ReadRaw(); c != kEnd; c = ReadRaw()) {
        if (before == '*' && c == '/') {
            return true;
        }
        before = c;
    }
    return false;
}

// Tracks the literal that a returned character opens, continues or closes, so
// that a "//" or "/*" inside it stays text.
void WCInclude::FollowLiteral(int c) {
    if (literalQuote_ == 0) {
        if (c == '"' || c == '\'') {
            literalQuote_ = c;
        }
        return;
    }
    if (literalEscape_) {
        literalEscape_ = false;
    } else if (c == '\\') {
        literalEscape_ = true;
    } else if (c == literalQuote_ || c == '\n') {
        literalQuote_ = 0;
    }
}

int WCInclude::NextChar() {
    for (;;) {
        previousCharacter_ = currentCharacter_;
        int c = ReadRaw();
        if (c == '/' && literalQuote_ == 0) {
            const std::size_t afterSlash = position_;
            const int next = ReadRaw();
            if (next == '/') {
                SkipLineComment();
                c = ReadRaw();
            } else if (next == '*') {
                if (SkipBlockComment()) {
                    continue;
                }
                c = kEnd;
            } else {
                position_ = afterSlash;
            }
        }
        currentCharacter_ = c;
        if (c != kEnd) {
            FollowLiteral(c);
        }
        return c;
    }
}

bool IncludeMachine::Feed(int c) {
    if (c == '#') {
        state_ = IncludeState::AfterHash;
        return false;
    }
    switch (state_) {
        case IncludeState::Idle:
            break;
        case IncludeState::AfterHash:
            if (c == 'i') {
                state_ = IncludeState::Matching;
                matched_ = 1;
            } else if (!IsBlank(c)) {
                state_ = IncludeState::Idle;
            }
            break;
        case IncludeState::Matching:
            if (c == kIncludeWord[matched_]) {
                if (++matched_ == kIncludeWord.size()) {
                    state_ = IncludeState::AfterWord;
                }
            } else {
                state_ = IncludeState::Idle;
            }
            break;
        case IncludeState::AfterWord:
            if (c == '"' || c == '<') {
                state_ = IncludeState::Collecting;
                opener_ = static_cast<char>(c);
                name_.clear();
            } else if (!IsBlank(c)) {
                state_ = IncludeState::Idle;
            }
            break;
        case IncludeState::Collecting:
            if (c == '"' || c == '>') {
                const bool closes = c == opener_ || opener_ == '<';
                state_ = IncludeState::Idle;
                return closes;
            }
            if (IsBlank(c)) {
                state_ = IncludeState::Idle;
            } else {
                name_ += static_cast<char>(c);
            }
            break;
    }
    return false;
}

bool WCInclude::NextInclude(WString& name, char& opener) {
    if (!open_) {
        return false;
    }
    IncludeMachine machine;
    for (int c = NextChar(); c != kEnd; c = NextChar()) {
        if (machine.Feed(c)) {
            name.Assign(machine.name());
            opener = machine.opener();
            return true;
        }
    }
    return false;
}

namespace {

constexpr std::string_view kLineBlanks = " \t\r\n";
constexpr std::string_view kLineQuotes = "\"'";

// The pieces of a line that holds no quote: the runs between blanks. Most lines of a script
// hold none, and every line is examined, so they are cut here without the general splitter.
std::vector<std::string_view> UnquotedPieces(std::string_view line) {
    std::vector<std::string_view> pieces;
    for (std::size_t start = line.find_first_not_of(kLineBlanks); start != line.npos;) {
        const std::size_t end = std::min(line.find_first_of(kLineBlanks, start), line.size());
        pieces.push_back(line.substr(start, end - start));
        start = line.find_first_not_of(kLineBlanks, end);
    }
    return pieces;
}

std::string FileNamePiece(const std::vector<std::string_view>& pieces) {
    if (pieces.size() < 3 || pieces[0].starts_with('#') ||
        !std::all_of(pieces.begin() + 2, pieces.end() - 1, IsMemoryOption)) {
        return {};
    }
    return WithBackslashPairsHalved(pieces.back());
}

}  // namespace

std::string ResourceLinePiece(std::string_view line) {
    if (line.empty() || line.find(',') != std::string_view::npos) {
        return {};
    }
    if (line.find_first_of(kLineQuotes) == line.npos) {
        return FileNamePiece(UnquotedPieces(line));
    }
    const TokenRules rules{kLineBlanks, "\"\"''", TokenEmpty::Drop, TokenQuotes::Remove,
                           TokenEscapes::Off};
    const std::vector<WString> quoted = SplitTokens(line, rules);
    std::vector<std::string_view> pieces;
    for (const WString& piece : quoted) {
        pieces.push_back(piece.View());
    }
    return FileNamePiece(pieces);
}

bool WCInclude::NextResourceFile(const WString& targetFolder, WString& fileName,
                                 std::string_view scriptFolder) {
    if (!open_) {
        return false;
    }
    std::string line;
    for (;;) {
        const int c = NextChar();
        if (c != kEnd && c != '\n') {
            line += static_cast<char>(c == '\t' ? ' ' : c);
            continue;
        }
        const std::string piece = ResourceLinePiece(line);
        std::string file = piece.empty()
                               ? piece
                               : ResolveResourceFile(targetFolder.View(), scriptFolder, piece, fs_);
        if (!file.empty()) {
            fileName.Assign(file);
            return true;
        }
        if (c == kEnd) {
            return false;
        }
        line.clear();
    }
}

bool LiteralMachine::Feed(int c) {
    if (!inString_) {
        if (c == '#') {
            inDirective_ = true;
        } else if (c == '\n') {
            inDirective_ = false;
        } else if (c == '"' && !inDirective_) {
            inString_ = true;
            escapePending_ = false;
            text_.clear();
        }
        return false;
    }
    if (c == kEnd || (c == '"' && !escapePending_)) {
        inString_ = false;
        return true;
    }
    if (escapePending_) {
        text_ += '\\';
        if (c != '\\') {
            text_ += static_cast<char>(c);
        }
        escapePending_ = false;
    } else if (c == '\\') {
        escapePending_ = true;
    } else {
        text_ += static_cast<char>(c);
    }
    return false;
}

bool WCInclude::NamesFile(const std::string& literal) {
    // Only a regular file: "/", ".." or "." name folders, not files to list or copy.
    return !literal.empty() && fs_.Kind(PathInFolder(baseFolder_, literal)) == HostEntry::File;
}

bool WCInclude::NextStringLiteral(WString& text) {
    text.Clear();
    LiteralMachine machine;
    for (;;) {
        const int c = NextChar();
        if (c == kEnd && !machine.InLiteral()) {
            return false;
        }
        if (machine.Feed(c)) {
            if (NamesFile(machine.text())) {
                text.Assign(machine.text());
            }
            return true;
        }
    }
}

// Outside comments and literals, with no directive begun, only these
// characters change what comes next: a comment's or a literal's start, a
// directive's '#', and the line end that ends a directive's line. Everything
// else is passed by at once: it is most of a source file.
void WCInclude::SkipPlainText() {
    static constexpr auto kPlain = [] {
        std::array<bool, 256> plain{};
        plain.fill(true);
        for (const unsigned char c : {'/', '"', '\'', '#', '\n'}) {
            plain[c] = false;
        }
        return plain;
    }();
    const char* const text = contents_.data();
    std::size_t at = position_;
    while (at < end_ && kPlain[static_cast<unsigned char>(text[at])]) {
        ++at;
    }
    position_ = at;
}

void WCInclude::FindIncludesAndLiterals(
    const std::function<void(const std::string& name, char opener)>& include,
    const std::function<void(const std::string& literal)>& literal) {
    if (!open_) {
        return;
    }
    Rewind();
    IncludeMachine includes;
    LiteralMachine literals;
    for (;;) {
        if (includes.state() == IncludeState::Idle && !literals.InLiteral() && literalQuote_ == 0) {
            SkipPlainText();
        }
        const int c = NextChar();
        if (c != kEnd && includes.Feed(c)) {
            include(includes.name(), includes.opener());
        }
        if (literal && (c != kEnd || literals.InLiteral()) && literals.Feed(c) &&
            NamesFile(literals.text())) {
            literal(literals.text());
        }
        if (c == kEnd) {
            return;
        }
    }
}

void WCInclude::SavePosition() {
    saved_ = {position_, literalQuote_, literalEscape_};
}

void WCInclude::RestorePosition() {
    position_ = saved_.position;
    literalQuote_ = saved_.literalQuote;
    literalEscape_ = saved_.literalEscape;
}
