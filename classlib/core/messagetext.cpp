#include "classlib/core/messagetext.h"

#include <algorithm>

#include "classlib/core/pathrules.h"

namespace {

constexpr std::string_view kEllipsis = "\xE2\x80\xA6";  // "…" in UTF-8

bool IsAsciiLetter(char c) {
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
}

bool MayPrecedePath(std::string_view message, std::size_t at) {
    if (at == 0) {
        return true;
    }
    const char before = message[at - 1];
    return before == ' ' || before == '"' || before == '(' || before == '[';
}

bool StartsPath(std::string_view message, std::size_t at) {
    if (!MayPrecedePath(message, at)) {
        return false;
    }
    const std::string_view rest = message.substr(at);
    if (!rest.empty() && IsPathSeparator(rest[0])) {
        return rest.size() > 1 && rest[1] != ' ';
    }
    return rest.size() > 2 && IsAsciiLetter(rest[0]) && rest[1] == ':' && IsPathSeparator(rest[2]);
}

std::size_t PathEnd(std::string_view message, std::size_t start) {
    for (std::size_t at = start; at < message.size(); ++at) {
        const char c = message[at];
        if (c == '"') {
            return at;
        }
        if ((c == ':' || c == ';') && at + 1 < message.size() && message[at + 1] == ' ') {
            return at;
        }
    }
    return message.size();
}

bool IsContinuationByte(char c) {
    return (static_cast<unsigned char>(c) & 0xC0) == 0x80;
}

// The path cut to maxLength characters in its middle; a multi-byte character
// stays whole on either side.
std::string Shortened(std::string_view path, std::size_t maxLength) {
    const std::size_t kept = maxLength > 1 ? maxLength - 1 : 0;  // the ellipsis is one
    std::size_t head = kept / 2;
    std::size_t tail = path.size() - (kept - head);
    // Whole folder names where that costs at most half of either side.
    const std::size_t lastSeparator = head > 0 ? path.find_last_of("/\\", head - 1) : path.npos;
    if (lastSeparator != path.npos && lastSeparator + 1 >= head / 2) {
        head = lastSeparator + 1;
    }
    const std::size_t nextSeparator = path.find_first_of("/\\", tail);
    if (nextSeparator != path.npos && nextSeparator - tail <= (path.size() - tail) / 2) {
        tail = nextSeparator;
    }
    while (head > 0 && IsContinuationByte(path[head])) {
        --head;
    }
    while (tail < path.size() && IsContinuationByte(path[tail])) {
        ++tail;
    }
    std::string text(path.substr(0, head));
    text += kEllipsis;
    text += path.substr(tail);
    return text;
}

}  // namespace

std::string GroupedCount(std::size_t n) {
    const std::string digits = std::to_string(n);
    std::string text;
    for (std::size_t i = 0; i < digits.size(); ++i) {
        if (i > 0 && (digits.size() - i) % 3 == 0) {
            text += ',';
        }
        text += digits[i];
    }
    return text;
}

std::string CountOf(std::size_t n, std::string_view singular, std::string_view plural) {
    std::string text = GroupedCount(n);
    text += ' ';
    text += n == 1 ? singular : plural;
    return text;
}

std::vector<TextRange> PathsIn(std::string_view message) {
    std::vector<TextRange> paths;
    for (std::size_t at = 0; at < message.size(); ++at) {
        if (StartsPath(message, at)) {
            const std::size_t end = PathEnd(message, at);
            paths.push_back({at, end - at});
            at = end;
        }
    }
    return paths;
}

std::string WithPathSeparatorsOf(std::string_view message, PathStyle style) {
    std::string text(message);
    if (style == PathStyle::Windows) {
        for (const TextRange& path : PathsIn(message)) {
            for (std::size_t at = path.start; at < path.start + path.length; ++at) {
                text[at] = WithBackslash(text[at]);
            }
        }
    }
    return text;
}

std::string WithShortenedPaths(std::string_view message, std::size_t maxPathLength) {
    std::string text;
    std::size_t copied = 0;
    for (const TextRange& path : PathsIn(message)) {
        if (path.length <= maxPathLength) {
            continue;
        }
        text += message.substr(copied, path.start - copied);
        text += Shortened(message.substr(path.start, path.length), maxPathLength);
        copied = path.start + path.length;
    }
    text += message.substr(copied);
    return text;
}

StatusLineText StatusLineTextOf(std::string_view message,
                                const std::function<bool(std::string_view shown)>& fits) {
    StatusLineText text;
    text.whole = WithPathSeparatorsOf(message, kHostPathStyle);
    text.shown = text.whole;
    std::size_t longest = 0;
    for (const TextRange& path : PathsIn(text.whole)) {
        longest = std::max(longest, path.length);
    }
    // A tenth shorter each turn: the longest path first, then every path as
    // long as the shortened one.
    for (std::size_t length = longest; !fits(text.shown) && length > kShortestShownPath;) {
        length = std::max(kShortestShownPath, length - std::max<std::size_t>(1, length / 10));
        text.shown = WithShortenedPaths(text.whole, length);
    }
    return text;
}
