#include "cli/jsonstream.h"

#include <algorithm>
#include <cstring>

#include "classlib/core/utf16.h"

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

void WriteJsonString(JsonWriter& writer, std::string_view text) {
    if (IsWellFormedUtf8(text)) {
        writer.String(text.data(), static_cast<rapidjson::SizeType>(text.size()));
        return;
    }
    const std::string utf8 = Utf8OrLatin1(text);
    writer.String(utf8.data(), static_cast<rapidjson::SizeType>(utf8.size()));
}
