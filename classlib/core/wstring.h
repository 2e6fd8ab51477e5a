#pragma once

#include <cstddef>
#include <string>
#include <string_view>

#include "classlib/core/wobject.h"

#if defined(__GNUC__) || defined(__clang__)
#define TAMSK_PRINTF_LIKE(formatIndex, firstArgument) \
    __attribute__((format(printf, formatIndex, firstArgument)))
#else
#define TAMSK_PRINTF_LIKE(formatIndex, firstArgument)
#endif

// An owned, counted string of 8-bit characters with value semantics.
// GetText() never returns null; an empty string yields "".
class WString : public WObject {
public:
    WString() = default;
    WString(const char* text, long length = -1);  // NOLINT(google-explicit-constructor)
    WString(std::string_view text) : text_(text) {}  // NOLINT(google-explicit-constructor)
    WString(std::string text) : text_(std::move(text)) {}  // NOLINT(google-explicit-constructor)

    void Assign(const char* text, long length = -1);
    void Assign(std::string_view text) { text_.assign(text); }
    void Clear() { text_.clear(); }

    const char* GetText() const { return text_.c_str(); }
    std::string_view View() const { return text_; }
    const std::string& Str() const { return text_; }
    std::size_t GetLength() const { return text_.size(); }
    bool IsEmpty() const { return text_.empty(); }
    // The character at index, or 0 outside the string.
    char GetCharacter(long index) const;

    WString& Concat(const WString& other) { return Concat(other.View()); }
    WString& Concat(const char* text) { return Concat(std::string_view(text ? text : "")); }
    WString& Concat(std::string_view text);
    WString& Concat(char c);

    // printf-style: Format replaces the contents, ConcatFormat appends.
    void Format(const char* format, ...) TAMSK_PRINTF_LIKE(2, 3);
    void ConcatFormat(const char* format, ...) TAMSK_PRINTF_LIKE(2, 3);

    // <0, 0, >0 like strcmp; without case sensitivity ASCII letters fold to lower case.
    int Compare(const WString& other, bool caseSensitive = true) const;

    // Only 'A'..'Z' and 'a'..'z' change.
    void ToUppercase();
    void ToLowercase();

    // Writable buffer of at least max(minLength, 32) characters; UnlockBuffer
    // takes the new length from the terminator.
    char* LockBuffer(std::size_t minLength);
    void UnlockBuffer();

    // The value of a process environment variable, empty when it is not set.
    static WString GetEnvironmentVariable(const char* name);

    bool operator==(const WString& other) const { return text_ == other.text_; }
    bool operator!=(const WString& other) const { return text_ != other.text_; }

private:
    std::string text_;
};

WString operator+(const char* text, const WString& string);
WString operator+(const WString& string, const char* text);
WString operator+(const WString& left, const WString& right);
