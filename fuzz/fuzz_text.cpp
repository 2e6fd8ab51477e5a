// NormalizePath and the token splitting on arbitrary text and flags.
//
// Input layout: byte 0 holds the splitting flags (bit 0 keep empty pieces,
// bit 1 keep quotes, bit 2 escapes on), byte 1 the number of delimiter
// bytes, byte 2 the number of quote-pair bytes; those bytes follow, and the
// rest is the text. NormalizePath takes the text, with the delimiter bytes
// as the project folder.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "classlib/core/wtokens.h"
#include "depscan/normalizepath.h"
#include "fuzz/fuzzsupport.h"

namespace {

std::string_view Take(std::string_view& input, std::size_t count) {
    const std::string_view piece = input.substr(0, count);
    input.remove_prefix(piece.size());
    return piece;
}

void CheckSplitting(std::string_view text, const TokenRules& rules) {
    const std::vector<WString> pieces = SplitTokens(text, rules);
    std::size_t total = 0;
    for (const WString& piece : pieces) {
        total += piece.GetLength();
        if (rules.empty == TokenEmpty::Drop) {
            FUZZ_CHECK(!piece.IsEmpty());
        }
    }
    FUZZ_CHECK(total <= text.size());
    FUZZ_CHECK(pieces.size() <= text.size() + 1);

    // Keeping everything, with one delimiter, splitting loses nothing.
    if (rules.empty == TokenEmpty::Keep && rules.quotes == TokenQuotes::Keep &&
        rules.escapes == TokenEscapes::Off && rules.delimiters.size() == 1) {
        std::string joined;
        for (std::size_t i = 0; i < pieces.size(); ++i) {
            if (i > 0) {
                joined += rules.delimiters[0];
            }
            joined += pieces[i].View();
        }
        FUZZ_CHECK(joined == text);
    }
}

void CheckNormalizing(std::string_view text, std::string_view folder) {
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

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::string_view input(reinterpret_cast<const char*>(data), size);
    if (input.size() < 3) {
        return 0;
    }
    const auto flags = static_cast<unsigned char>(input[0]);
    const auto delimiterCount = static_cast<unsigned char>(input[1]) % 8;
    const auto quoteCount = static_cast<unsigned char>(input[2]) % 8;
    input.remove_prefix(3);
    const std::string_view delimiters = Take(input, delimiterCount);
    const std::string_view quotePairs = Take(input, quoteCount);

    TokenRules rules;
    rules.delimiters = delimiters;
    rules.quotePairs = quotePairs;
    rules.empty = (flags & 1) != 0 ? TokenEmpty::Keep : TokenEmpty::Drop;
    rules.quotes = (flags & 2) != 0 ? TokenQuotes::Keep : TokenQuotes::Remove;
    rules.escapes = (flags & 4) != 0 ? TokenEscapes::On : TokenEscapes::Off;
    CheckSplitting(input, rules);

    CheckNormalizing(input, delimiters);
    return 0;
}
