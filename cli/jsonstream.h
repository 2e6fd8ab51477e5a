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
    ~JsonBlockStream() {
        Release();
        Flush();
    }
    JsonBlockStream(const JsonBlockStream&) = delete;
    JsonBlockStream& operator=(const JsonBlockStream&) = delete;

    void Put(char c) {
        if (used_ == block_.size()) {
            MakeRoom(1);
        }
        block_[used_++] = c;
    }
    // Room for count characters, written with PutUnsafe.
    void Reserve(std::size_t count) {
        if (block_.size() - used_ < count) {
            MakeRoom(count);
        }
    }
    void PutUnsafe(char c) { block_[used_++] = c; }
    // Text written before, as it stands.
    void Write(std::string_view text) {
        Reserve(text.size());
        text.copy(block_.data() + used_, text.size());
        used_ += text.size();
    }
    // Passes the text on, all but the held text.
    void Flush();

    // While held, the text from the first Mark on stays in the stream (which
    // grows when it must) so that a part of it can be read back: Mark says
    // where that part starts, Since gives it.
    void Hold() {
        if (!held_) {
            held_ = true;
            heldFrom_ = used_;
        }
    }
    void Release() { held_ = false; }
    std::size_t Mark() const { return passed_ + used_; }
    std::string_view Since(std::size_t mark) const {
        return std::string_view(block_).substr(mark - passed_, passed_ + used_ - mark);
    }
    // How much text the stream holds.
    std::size_t Held() const { return held_ ? used_ - heldFrom_ : 0; }

private:
    void MakeRoom(std::size_t count);

    static constexpr std::size_t kBlockSize = 1 << 20;
    std::ostream& out_;
    std::string block_;
    std::size_t used_ = 0;
    std::size_t passed_ = 0;  // the text given to out_ before block_
    bool held_ = false;
    std::size_t heldFrom_ = 0;  // in block_
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
