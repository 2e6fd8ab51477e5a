#include "project/linesource.h"

#include <cstring>

namespace {

constexpr char kDosEndOfFile = '\x1A';
constexpr std::size_t kMaxVersionDigits = 9;  // keeps the number inside an int

bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

std::size_t LeadingDigits(std::string_view text) {
    std::size_t count = 0;
    while (count < text.size() && IsDigit(text[count])) {
        ++count;
    }
    return count;
}

int ParseVersion(std::string_view digits) {
    if (digits.empty() || digits.size() > kMaxVersionDigits) {
        return -1;
    }
    int version = 0;
    for (char c : digits) {
        version = version * 10 + (c - '0');
    }
    return version;
}

}  // namespace

HostStatus LineSource::Load(HostFs& fs, std::string_view path) {
    std::string contents;
    HostStatus status = fs.ReadFile(path, contents);
    SetContents(status.ok() ? std::move(contents) : std::string());
    return status;
}

void LineSource::SetContents(std::string contents) {
    contents_ = std::move(contents);
    position_ = 0;
    const std::string_view text = contents_;
    const std::size_t digits = LeadingDigits(text);
    const bool nulAfterNumber = digits > 0 && digits < text.size() && text[digits] == '\0';
    form_ = nulAfterNumber ? LineForm::NulSeparated : LineForm::Lines;

    end_ = contents_.size();
    if (form_ == LineForm::Lines && end_ > 0 && contents_[end_ - 1] == kDosEndOfFile) {
        --end_;
    }

    version_ = -1;
    if (digits > 0) {
        std::string_view rest = text.substr(digits, end_ - digits);
        const bool numberIsWholeFirstLine = form_ == LineForm::NulSeparated || rest.empty() ||
                                            rest.starts_with("\n") || rest.starts_with("\r\n") ||
                                            (rest == "\r");
        if (numberIsWholeFirstLine) {
            version_ = ParseVersion(text.substr(0, digits));
        }
    }
}

bool LineSource::Next(std::string_view& line) {
    if (position_ >= end_) {
        return false;
    }
    return form_ == LineForm::Lines ? NextLine(line) : NextValue(line);
}

bool LineSource::NextLine(std::string_view& line) {
    const char* start = contents_.data() + position_;
    const std::size_t available = end_ - position_;
    const void* newline = std::memchr(start, '\n', available);
    if (newline == nullptr) {
        line = std::string_view(start, available);
        position_ = end_;
        return true;
    }
    std::size_t length = static_cast<const char*>(newline) - start;
    position_ += length + 1;
    if (length > 0 && start[length - 1] == '\r') {
        --length;
    }
    line = std::string_view(start, length);
    return true;
}

bool LineSource::NextValue(std::string_view& value) {
    const char* start = contents_.data() + position_;
    const std::size_t available = end_ - position_;
    const bool pairWithNul = available >= 2 && start[1] == '\0';
    if (start[0] == '\x01' && pairWithNul) {
        value = "1";
        position_ += 2;
        return true;
    }
    if (start[0] == '\0') {
        value = pairWithNul ? std::string_view("0") : std::string_view();
        position_ += pairWithNul ? 2 : 1;
        return true;
    }
    const void* terminator = std::memchr(start, '\0', available);
    if (terminator == nullptr) {
        value = std::string_view(start, available);
        position_ = end_;
        return true;
    }
    const std::size_t length = static_cast<const char*>(terminator) - start;
    value = std::string_view(start, length);
    position_ += length + 1;
    return true;
}
