#pragma once

#include <cstddef>
#include <cstring>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <utility>

// A character of a label as a line shows it: a line break or other control
// character (below 0x20, and 0x7F) in a name would start a line of its own,
// which could pass for a node, so each is shown as a blank. The tree keeps
// the true name, by which the file is opened.
inline char AsLineCharacter(char c) {
    const auto u = static_cast<unsigned char>(c);
    return u < 0x20 || u == 0x7F ? ' ' : c;
}

// Appends label as the text of one line (see AsLineCharacter).
inline void AppendAsLine(std::string& text, std::string_view label) {
    const std::size_t start = text.size();
    text.append(label);
    for (std::size_t i = start; i < text.size(); ++i) {
        text[i] = AsLineCharacter(text[i]);
    }
}

// The lines of a tree as text, the one form of every text of a tree (the
// dump, the tree command, the dependency file): each item one line of as many
// blanks as its level, its label (AsLineCharacter) and the line end. A large
// project writes tens of millions of short lines, so they gather in one
// growing buffer with no call per piece, which goes to the sink in large
// blocks; without a sink the text stays whole.
class WTreeLineWriter {
public:
    using Sink = std::function<void(std::string_view block)>;

    explicit WTreeLineWriter(std::string_view lineEnd = "\n", Sink sink = {});
    ~WTreeLineWriter();
    WTreeLineWriter(const WTreeLineWriter&) = delete;
    WTreeLineWriter& operator=(const WTreeLineWriter&) = delete;

    void Line(int level, std::string_view label) {
        const std::size_t indent = level > 0 ? static_cast<std::size_t>(level) : 0;
        char* at = Room(indent + label.size() + lineEnd_.size());
        std::memset(at, ' ', indent);
        at += indent;
        for (const char c : label) {
            *at++ = AsLineCharacter(c);
        }
        std::memcpy(at, lineEnd_.data(), lineEnd_.size());
        size_ += indent + label.size() + lineEnd_.size();
    }
    // Lines made before, as they stand.
    void Text(std::string_view lines) {
        std::memcpy(Room(lines.size()), lines.data(), lines.size());
        size_ += lines.size();
    }

    // The text not yet given to the sink.
    std::string_view View() const { return {data_.get(), size_}; }
    std::size_t Size() const { return size_; }
    // Gives the text to the sink once it has reached a block's size; the
    // caller says when no part of it is still wanted here.
    void Pass() {
        if (size_ >= kBlockSize) {
            Finish();
        }
    }
    // Gives all the text to the sink (none: keeps it).
    void Finish();

    static constexpr std::size_t kBlockSize = 1u << 20;

private:
    // Room for n more bytes at the end, growing the buffer when needed.
    char* Room(std::size_t n) {
        if (capacity_ - size_ < n) {
            Grow(n);
        }
        return data_.get() + size_;
    }
    void Grow(std::size_t n);

    std::string lineEnd_;
    Sink sink_;
    std::unique_ptr<char[]> data_;
    std::size_t size_ = 0;
    std::size_t capacity_ = 0;
};
