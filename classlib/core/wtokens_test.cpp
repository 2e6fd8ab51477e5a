#include "classlib/core/wtokens.h"

#include <string>
#include <vector>

#include <gtest/gtest.h>

namespace {

constexpr TokenRules kPlain{" ,", "\"\"", TokenEmpty::Drop, TokenQuotes::Remove, TokenEscapes::Off};
constexpr TokenRules kKeepEmpty{",", "\"\"", TokenEmpty::Keep, TokenQuotes::Remove,
                                TokenEscapes::Off};
constexpr TokenRules kKeepQuotes{" ", "\"\"''", TokenEmpty::Drop, TokenQuotes::Keep,
                                 TokenEscapes::Off};
constexpr TokenRules kEscapes{" ", "\"\"", TokenEmpty::Drop, TokenQuotes::Remove, TokenEscapes::On};
constexpr TokenRules kEscapesKeepQuotes{" ", "\"\"", TokenEmpty::Drop, TokenQuotes::Keep,
                                        TokenEscapes::On};
constexpr TokenRules kBrackets{" ", "<>", TokenEmpty::Drop, TokenQuotes::Remove, TokenEscapes::On};

}  // namespace

TEST(SplitTokens, PiecesFollowTheRules) {
    const struct {
        const char* name;
        const char* text;
        TokenRules rules;
        std::vector<std::string> pieces;
    } rows[] = {
        {"DelimitersEndPieces", "a b,c", kPlain, {"a", "b", "c"}},
        {"RunsAndEndsGiveNoEmptyPiece", " ,a,, b, ", kPlain, {"a", "b"}},
        {"BlanksAreNotTrimmed", " a ,b ", kKeepEmpty, {" a ", "b "}},
        {"EmptyPiecesKept", ",a,,b,", kKeepEmpty, {"", "a", "", "b", ""}},
        {"EmptyTextKeptIsOnePiece", "", kKeepEmpty, {""}},
        {"EmptyTextDropped", "", kPlain, {}},
        {"QuotedDelimitersAreOrdinary", "\"a b\",c", kPlain, {"a b", "c"}},
        {"QuoteMayBeginMidPiece", "x\"a b\"y z", kPlain, {"xa by", "z"}},
        {"QuotesKept", "x\"a b\"y 'c d'", kKeepQuotes, {"x\"a b\"y", "'c d'"}},
        {"OtherPairIsOrdinaryInside", "\"it's a\" b", kKeepQuotes, {"\"it's a\"", "b"}},
        {"BackslashBeforeQuoteDoesNotOpen", "\\\"a b", kPlain, {"\\\"a", "b"}},
        {"EscapedQuoteInside", "\"a \\\" b\" c", kEscapes, {"a \" b", "c"}},
        {"EscapedBackslashInside", "\"a\\\\b\"", kEscapes, {"a\\b"}},
        {"OtherBackslashKept", "\"a\\b\\n\"", kEscapes, {"a\\b\\n"}},
        {"EscapedQuoteKeptQuotes", "\"a\\\"b\"", kEscapesKeepQuotes, {"\"a\"b\""}},
        {"EscapesOffBackslashThenQuoteCloses", "\"a\\\"b c\"", kPlain, {"a\\b", "c"}},
        {"EscapedOpeningOfDistinctPair", "<a \\< \\> b> c", kBrackets, {"a < > b", "c"}},
        {"EscapesOnlyInsideQuotes", "a\\\\b", kEscapes, {"a\\\\b"}},
        {"UnterminatedRunsToTheEnd", "a \"b c", kPlain, {"a", "b c"}},
        {"EmptyQuotesDropped", "\"\" a", kPlain, {"a"}},
        {"TrailingBackslashInsideQuotes", "\"a\\", kEscapes, {"a\\"}},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        std::vector<std::string> pieces;
        for (const WString& piece : SplitTokens(row.text, row.rules)) {
            pieces.push_back(piece.Str());
        }
        EXPECT_EQ(pieces, row.pieces) << row.text;
    }
}
