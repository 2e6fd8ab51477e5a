#include "cli/jsonstream.h"

#include <algorithm>
#include <cstring>

JsonBlockStream::JsonBlockStream(std::ostream& out) : out_(out), block_(kBlockSize, '\0') {}

void JsonBlockStream::Flush() {
    const std::size_t passing = held_ ? heldFrom_ : used_;
    out_.write(block_.data(), static_cast<std::streamsize>(passing));
    passed_ += passing;
    used_ -= passing;
    if (held_) {
        std::memmove(block_.data(), block_.data() + passing, used_);
        heldFrom_ = 0;
    }
}

void JsonBlockStream::MakeRoom(std::size_t count) {
    Flush();
    if (block_.size() - used_ < count) {
        block_.resize(std::max(block_.size() * 2, used_ + count));
    }
}

bool IsValidUtf8(std::string_view text) {
    std::size_t i = 0;
    while (i < text.size()) {
        const auto lead = static_cast<unsigned char>(text[i]);
        int extra = 0;
        unsigned int codePoint = 0;
        if (lead < 0x80) {
            ++i;
            continue;
        } else if (lead >= 0xC2 && lead <= 0xDF) {
            extra = 1;
            codePoint = lead & 0x1Fu;
        } else if (lead >= 0xE0 && lead <= 0xEF) {
            extra = 2;
            codePoint = lead & 0x0Fu;
        } else if (lead >= 0xF0 && lead <= 0xF4) {
            extra = 3;
            codePoint = lead & 0x07u;
        } else {
            return false;
        }
        if (i + static_cast<std::size_t>(extra) >= text.size()) {
            return false;
        }
        for (int k = 1; k <= extra; ++k) {
            const auto c = static_cast<unsigned char>(text[i + static_cast<std::size_t>(k)]);
            if ((c & 0xC0u) != 0x80u) {
                return false;
            }
            codePoint = (codePoint << 6) | (c & 0x3Fu);
        }
        // Overlong forms, surrogates and code points above U+10FFFF are no UTF-8.
        const unsigned int least[] = {0, 0x80, 0x800, 0x10000};
        if (codePoint < least[extra] || (codePoint >= 0xD800 && codePoint <= 0xDFFF) ||
            codePoint > 0x10FFFF) {
            return false;
        }
        i += static_cast<std::size_t>(extra) + 1;
    }
    return true;
}

std::string AsUtf8(std::string_view text) {
    if (IsValidUtf8(text)) {
        return std::string(text);
    }
    std::string utf8;
    utf8.reserve(text.size() * 2);
    for (const char c : text) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte < 0x80) {
            utf8 += c;
        } else {
            utf8 += static_cast<char>(0xC0 | (byte >> 6));
            utf8 += static_cast<char>(0x80 | (byte & 0x3F));
        }
    }
    return utf8;
}

void WriteJsonString(JsonWriter& writer, std::string_view text) {
    if (IsValidUtf8(text)) {
        writer.String(text.data(), static_cast<rapidjson::SizeType>(text.size()));
        return;
    }
    const std::string utf8 = AsUtf8(text);
    writer.String(utf8.data(), static_cast<rapidjson::SizeType>(utf8.size()));
}
