#include "classlib/core/wtreelines.h"

#include <algorithm>

WTreeLineWriter::WTreeLineWriter(std::string_view lineEnd, Sink sink)
    : lineEnd_(lineEnd), sink_(std::move(sink)) {}

WTreeLineWriter::~WTreeLineWriter() = default;

void WTreeLineWriter::Grow(std::size_t n) {
    const std::size_t capacity = std::max({capacity_ * 2, size_ + n, std::size_t{4096}});
    auto data = std::make_unique_for_overwrite<char[]>(capacity);
    if (size_ > 0) {
        std::memcpy(data.get(), data_.get(), size_);
    }
    data_ = std::move(data);
    capacity_ = capacity;
}

void WTreeLineWriter::Finish() {
    if (sink_ && size_ > 0) {
        sink_(View());
        size_ = 0;
    }
}
