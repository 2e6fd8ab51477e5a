// NormalizePath and the token splitting on arbitrary text and flags.
//
// Input layout: byte 0 holds the splitting flags (bit 0 keep empty pieces, bit 1 keep quotes,
// bit 2 escapes on), byte 1 the number of delimiter bytes, byte 2 the number of quote-pair bytes;
// those bytes follow, and the rest is the text. NormalizePath takes the text, with the delimiter
// bytes as the project folder.
#include <string>

#include "classlib/core/wtokens.h"
#include "depscan/normalizepath.h"
#include "fuzz/fuzzsupport.h"

void FuzzInput(std::string_view text) {
    if (text.size() < 3) {
        return;
    }
    const auto flags = static_cast<unsigned char>(text[0]);
    const std::size_t delimiterCount = static_cast<unsigned char>(text[1]) % 8;
    const std::size_t quoteCount = static_cast<unsigned char>(text[2]) % 8;
    text.remove_prefix(3);
    TokenRules rules;
    rules.delimiters = text.substr(0, delimiterCount);
    text.remove_prefix(rules.delimiters.size());
    rules.quotePairs = text.substr(0, quoteCount);
    text.remove_prefix(rules.quotePairs.size());
    rules.empty = (flags & 1) != 0 ? TokenEmpty::Keep : TokenEmpty::Drop;
    rules.quotes = (flags & 2) != 0 ? TokenQuotes::Keep : TokenQuotes::Remove;
    rules.escapes = (flags & 4) != 0 ? TokenEscapes::On : TokenEscapes::Off;

    const std::vector<WString> pieces = SplitTokens(text, rules);
    std::size_t total = 0;
    std::string joined;  // keeping everything, with one delimiter, splitting loses nothing
    for (const WString& piece : pieces) {
        total += piece.GetLength();
        FUZZ_CHECK(rules.empty == TokenEmpty::Keep || !piece.IsEmpty());
        joined += (&piece == &pieces.front() ? "" : rules.delimiters.substr(0, 1));
        joined += piece.View();
    }
    FUZZ_CHECK(total <= text.size());
    FUZZ_CHECK(pieces.size() <= text.size() + 1);
    FUZZ_CHECK(joined == text || rules.empty == TokenEmpty::Drop ||
               rules.quotes == TokenQuotes::Remove || rules.escapes == TokenEscapes::On ||
               rules.delimiters.size() != 1);

    const std::string_view folder = rules.delimiters;
    WString path(text);
    NormalizePath(path, folder);
    FUZZ_CHECK(path.GetLength() <= text.size());
    FUZZ_CHECK(path.View().find('/') == std::string_view::npos);
    std::string again(text);
    NormalizePathText(again, folder);
    FUZZ_CHECK(again == path.Str());
    WString withoutFolder(text);
    NormalizePath(withoutFolder);
    FUZZ_CHECK(withoutFolder.GetLength() <= text.size());
}
