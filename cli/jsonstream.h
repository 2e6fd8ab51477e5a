#pragma once

#include <rapidjson/writer.h>

#include <ostream>
#include <string>
#include <string_view>

// An output stream for RapidJSON's writer that gathers the text into large
// blocks before it reaches the std::ostream: the documents of a large project
// run to hundreds of megabytes and are never held whole.
class JsonBlockStream {
public:
    using Ch = char;
    explicit JsonBlockStream(std::ostream& out);
    ~JsonBlockStream() { Flush(); }
    JsonBlockStream(const JsonBlockStream&) = delete;
    JsonBlockStream& operator=(const JsonBlockStream&) = delete;

    void Put(char c) {
        if (used_ == block_.size()) {
            Flush();
        }
        block_[used_++] = c;
    }
    // Room for count characters, written with PutUnsafe.
    void Reserve(std::size_t count) {
        if (block_.size() - used_ < count) {
            Flush();
            if (block_.size() < count) {
                block_.resize(count);
            }
        }
    }
    void PutUnsafe(char c) { block_[used_++] = c; }
    void Flush();

private:
    static constexpr std::size_t kBlockSize = 1 << 20;
    std::ostream& out_;
    std::string block_;
    std::size_t used_ = 0;
};

// The writer reserves room before it writes a value, so the stream checks
// once per value instead of once per character.
namespace rapidjson {
template <>
inline void PutReserve(JsonBlockStream& stream, std::size_t count) {
    stream.Reserve(count);
}
template <>
inline void PutUnsafe(JsonBlockStream& stream, char c) {
    stream.PutUnsafe(c);
}
}  // namespace rapidjson

using JsonWriter = rapidjson::Writer<JsonBlockStream>;

// Writes text as a JSON string. Names are 8-bit text in an unknown code page:
// valid UTF-8 is written as it stands, anything else read as Latin-1, so that
// every document is valid JSON.
void WriteJsonString(JsonWriter& writer, std::string_view text);

// text when it is valid UTF-8, else its bytes read as Latin-1 in UTF-8.
std::string AsUtf8(std::string_view text);
bool IsValidUtf8(std::string_view text);
