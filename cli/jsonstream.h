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
        block_.push_back(c);
        if (block_.size() >= kBlockSize) {
            Flush();
        }
    }
    void Flush();

private:
    static constexpr std::size_t kBlockSize = 1 << 20;
    std::ostream& out_;
    std::string block_;
};

using JsonWriter = rapidjson::Writer<JsonBlockStream>;

// Writes text as a JSON string. Names are 8-bit text in an unknown code page:
// valid UTF-8 is written as it stands, anything else read as Latin-1, so that
// every document is valid JSON.
void WriteJsonString(JsonWriter& writer, std::string_view text);

// text when it is valid UTF-8, else its bytes read as Latin-1 in UTF-8.
std::string AsUtf8(std::string_view text);
bool IsValidUtf8(std::string_view text);
