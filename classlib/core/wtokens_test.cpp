#include "classlib/core/wtokens.h"

#include <string>
#include <vector>

#include <gtest/gtest.h>

namespace {

struct SplitCase {
    const char* name;
    const char* text;
    TokenRules rules;
    std::vector<std::string> pieces;
};

constexpr TokenRules kPlain{" ,", "\"\"", TokenEmpty::Drop, TokenQuotes::Remove,
                            TokenEscapes::Off};
constexpr TokenRules kKeepEmpty{",", "\"\"", TokenEmpty::Keep, TokenQuotes::Remove,
                                TokenEscapes::Off};
constexpr TokenRules kKeepQuotes{" ", "\"\"''", TokenEmpty::Drop, TokenQuotes::Keep,
                                 TokenEscapes::Off};
constexpr TokenRules kEscapes{" ", "\"\"", TokenEmpty::Drop, TokenQuotes::Remove,
                              TokenEscapes::On};
constexpr TokenRules kEscapesKeepQuotes{" ", "\"\"", TokenEmpty::Drop, TokenQuotes::Keep,
                                        TokenEscapes::On};
constexpr TokenRules kBrackets{" ", "<>", TokenEmpty::Drop, TokenQuotes::Remove,
                               TokenEscapes::On};

std::vector<std::string> Split(const char* text, const TokenRules& rules) {
    std::vector<std::string> pieces;
    for (const WString& piece : SplitTokens(text, rules)) {
        pieces.push_back(piece.Str());
    }
    return pieces;
}

class SplitTokensTable : public ::testing::TestWithParam<SplitCase> {};

}  // namespace

TEST_P(SplitTokensTable, Splits) {
    const SplitCase& c = GetParam();
    EXPECT_EQ(Split(c.text, c.rules), c.pieces) << c.text;
}

INSTANTIATE_TEST_SUITE_P(
    Rules, SplitTokensTable,
    ::testing::Values(
        SplitCase{"DelimitersEndPieces", "a b,c", kPlain, {"a", "b", "c"}},
        SplitCase{"RunsAndEndsGiveNoEmptyPiece", " ,a,, b, ", kPlain, {"a", "b"}},
        SplitCase{"BlanksAreNotTrimmed", " a ,b ", kKeepEmpty, {" a ", "b "}},
        SplitCase{"EmptyPiecesKept", ",a,,b,", kKeepEmpty, {"", "a", "", "b", ""}},
        SplitCase{"EmptyTextKeptIsOnePiece", "", kKeepEmpty, {""}},
        SplitCase{"EmptyTextDropped", "", kPlain, {}},
        SplitCase{"QuotedDelimitersAreOrdinary", "\"a b\",c", kPlain, {"a b", "c"}},
        SplitCase{"QuoteMayBeginMidPiece", "x\"a b\"y z", kPlain, {"xa by", "z"}},
        SplitCase{"QuotesKept", "x\"a b\"y 'c d'", kKeepQuotes, {"x\"a b\"y", "'c d'"}},
        SplitCase{"OtherPairIsOrdinaryInside", "\"it's a\" b", kKeepQuotes,
                  {"\"it's a\"", "b"}},
        SplitCase{"BackslashBeforeQuoteDoesNotOpen", "\\\"a b", kPlain, {"\\\"a", "b"}},
        SplitCase{"EscapedQuoteInside", "\"a \\\" b\" c", kEscapes, {"a \" b", "c"}},
        SplitCase{"EscapedBackslashInside", "\"a\\\\b\"", kEscapes, {"a\\b"}},
        SplitCase{"OtherBackslashKept", "\"a\\b\\n\"", kEscapes, {"a\\b\\n"}},
        SplitCase{"EscapedQuoteKeptQuotes", "\"a\\\"b\"", kEscapesKeepQuotes, {"\"a\"b\""}},
        SplitCase{"EscapesOffBackslashThenQuoteCloses", "\"a\\\"b c\"", kPlain,
                  {"a\\b", "c"}},
        SplitCase{"EscapedOpeningOfDistinctPair", "<a \\< \\> b> c", kBrackets,
                  {"a < > b", "c"}},
        SplitCase{"EscapesOnlyInsideQuotes", "a\\\\b", kEscapes, {"a\\\\b"}},
        SplitCase{"UnterminatedRunsToTheEnd", "a \"b c", kPlain, {"a", "b c"}},
        SplitCase{"EmptyQuotesDropped", "\"\" a", kPlain, {"a"}},
        SplitCase{"TrailingBackslashInsideQuotes", "\"a\\", kEscapes, {"a\\"}}),
    [](const ::testing::TestParamInfo<SplitCase>& param) { return std::string(param.param.name); });
