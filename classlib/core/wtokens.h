#pragma once

#include <string_view>
#include <vector>

#include "classlib/core/wstring.h"

// Options of the class library's token splitting.
enum class TokenEmpty { Keep, Drop };
enum class TokenQuotes { Keep, Remove };
enum class TokenEscapes { Off, On };

struct TokenRules {
    std::string_view delimiters;
    // Pairs of opening and closing quote characters, e.g. "\"\"''".
    std::string_view quotePairs;
    TokenEmpty empty = TokenEmpty::Drop;
    TokenQuotes quotes = TokenQuotes::Remove;
    TokenEscapes escapes = TokenEscapes::Off;
};

// Splits text into pieces left to right. Outside quotes a delimiter ends a
// piece; an opening quote not preceded by a backslash starts a quoted stretch
// in which delimiters are ordinary; with escapes on, inside quotes a
// backslash before either quote of the pair or another backslash stands for
// that character. Blanks are never trimmed.
std::vector<WString> SplitTokens(std::string_view text, const TokenRules& rules);
