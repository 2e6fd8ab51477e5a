#include "classlib/core/wtokens.h"

#include <string>

namespace {

// How a few inputs split with delimiters " ", quote pair "\"\"", quotes
// removed, escapes on and empty pieces dropped:
//
//   a  b            -> [a] [b]
//   x"a b"y         -> [xa by]        a quoted stretch may begin mid-piece
//   \"a b           -> [\"a] [b]      a quote after a backslash does not open
//   "a \" b"        -> [a " b]
//   "a\\b\c"        -> [a\b\c]        other backslashes are kept
//   "open ended     -> [open ended]   runs to the end of the text
class TokenSplitter {
public:
    TokenSplitter(std::string_view text, const TokenRules& rules) : text_(text), rules_(rules) {}

    std::vector<WString> Run() {
        for (pos_ = 0; pos_ < text_.size(); ++pos_) {
            const char c = text_[pos_];
            if (IsDelimiter(c)) {
                EndPiece();
            } else if (const std::size_t pair = OpeningQuote(c); pair != kNone) {
                ReadQuoted(pair);
            } else {
                piece_.push_back(c);
            }
        }
        EndPiece();
        return std::move(pieces_);
    }

private:
    static constexpr std::size_t kNone = std::string_view::npos;

    bool IsDelimiter(char c) const { return rules_.delimiters.find(c) != kNone; }

    // The index of the quote pair that c opens, unless a backslash comes right before it.
    std::size_t OpeningQuote(char c) const {
        if (pos_ > 0 && text_[pos_ - 1] == '\\') {
            return kNone;
        }
        for (std::size_t i = 0; i + 1 < rules_.quotePairs.size(); i += 2) {
            if (rules_.quotePairs[i] == c) {
                return i;
            }
        }
        return kNone;
    }

    // Reads from the opening quote at pos_ through its closing quote (or the
    // end of the text), leaving pos_ on the last character consumed.
    void ReadQuoted(std::size_t pair) {
        const char open = rules_.quotePairs[pair];
        const char close = rules_.quotePairs[pair + 1];
        const bool keepQuotes = rules_.quotes == TokenQuotes::Keep;
        const bool escapes = rules_.escapes == TokenEscapes::On;
        if (keepQuotes) {
            piece_.push_back(open);
        }
        for (++pos_; pos_ < text_.size(); ++pos_) {
            const char c = text_[pos_];
            if (escapes && c == '\\' && pos_ + 1 < text_.size()) {
                const char next = text_[pos_ + 1];
                if (next == open || next == close || next == '\\') {
                    piece_.push_back(next);
                    ++pos_;
                    continue;
                }
            }
            if (c == close) {
                if (keepQuotes) {
                    piece_.push_back(close);
                }
                return;
            }
            piece_.push_back(c);
        }
        pos_ = text_.size() - 1;  // unterminated: the stretch ran to the end
    }

    void EndPiece() {
        if (!piece_.empty() || rules_.empty == TokenEmpty::Keep) {
            pieces_.emplace_back(std::move(piece_));
        }
        piece_.clear();
    }

    std::string_view text_;
    const TokenRules& rules_;
    std::size_t pos_ = 0;
    std::string piece_;
    std::vector<WString> pieces_;
};

}  // namespace

std::vector<WString> SplitTokens(std::string_view text, const TokenRules& rules) {
    return TokenSplitter(text, rules).Run();
}
