#include "classlib/core/wstring.h"

#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "classlib/core/asciicase.h"
#include "classlib/core/environment.h"
#include "classlib/core/pathrules.h"

namespace {

// Appends printf output of any length: a first try into a small stack buffer,
// then exactly the size vsnprintf asked for.
void AppendFormatted(std::string& out, const char* format, va_list args) {
    if (format == nullptr) {
        return;
    }
    char small[256];
    va_list copy;
    va_copy(copy, args);
    const int needed = std::vsnprintf(small, sizeof small, format, copy);
    va_end(copy);
    if (needed < 0) {
        return;
    }
    const auto length = static_cast<std::size_t>(needed);
    if (length < sizeof small) {
        out.append(small, length);
        return;
    }
    const std::size_t start = out.size();
    out.resize(start + length + 1);
    std::vsnprintf(out.data() + start, length + 1, format, args);
    out.resize(start + length);
}

}  // namespace

WString::WString(const char* text, long length) { Assign(text, length); }

void WString::Assign(const char* text, long length) {
    if (text == nullptr) {
        text_.clear();
    } else if (length < 0) {
        text_.assign(text);
    } else {
        text_.assign(text, static_cast<std::size_t>(length));
    }
}

char WString::GetCharacter(long index) const {
    if (index < 0 || static_cast<std::size_t>(index) >= text_.size()) {
        return 0;
    }
    return text_[static_cast<std::size_t>(index)];
}

WString& WString::Concat(std::string_view text) {
    text_.append(text);
    return *this;
}

WString& WString::Concat(char c) {
    text_.push_back(c);
    return *this;
}

void WString::Format(const char* format, ...) {
    std::string result;
    va_list args;
    va_start(args, format);
    AppendFormatted(result, format, args);
    va_end(args);
    text_ = std::move(result);
}

void WString::ConcatFormat(const char* format, ...) {
    va_list args;
    va_start(args, format);
    AppendFormatted(text_, format, args);
    va_end(args);
}

int WString::Compare(const WString& other, bool caseSensitive) const {
    if (!caseSensitive) {
        return CompareIgnoringAsciiCase(text_, other.text_);
    }
    const int order = text_.compare(other.text_);
    return order < 0 ? -1 : (order > 0 ? 1 : 0);
}

void WString::ToUppercase() {
    for (char& c : text_) {
        c = AsciiUpper(c);
    }
}

void WString::ToLowercase() {
    for (char& c : text_) {
        c = AsciiLower(c);
    }
}

char* WString::LockBuffer(std::size_t minLength) {
    const std::size_t length = minLength < 32 ? 32 : minLength;
    if (text_.size() < length) {
        text_.resize(length, '\0');
    }
    return text_.data();
}

void WString::UnlockBuffer() { text_.resize(std::strlen(text_.c_str())); }

WString WString::GetEnvironmentVariable(const char* name) {
    if (name == nullptr) {
        return {};
    }
    return WString(EnvironmentValue(name).value_or(std::string()));
}

WString operator+(const char* text, const WString& string) {
    WString result(text);
    result.Concat(string);
    return result;
}

WString operator+(const WString& string, const char* text) {
    WString result(string);
    result.Concat(text);
    return result;
}

WString operator+(const WString& left, const WString& right) {
    WString result(left);
    result.Concat(right);
    return result;
}
