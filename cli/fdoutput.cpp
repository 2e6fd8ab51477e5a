#include "cli/fdoutput.h"

#include <cerrno>
#include <cstring>

#ifdef _WIN32
#include <io.h>
#else
#include <unistd.h>
#endif

namespace {

// Bytes written, or -1 with errno set.
long WriteSome(int fd, const char* data, std::size_t size) {
#ifdef _WIN32
    return ::_write(fd, data, static_cast<unsigned>(size < (1u << 30) ? size : (1u << 30)));
#else
    return static_cast<long>(::write(fd, data, size));
#endif
}

}  // namespace

FdOutputBuf::FdOutputBuf(int fd) : fd_(fd), buffer_(1 << 16) {
    setp(buffer_.data(), buffer_.data() + buffer_.size());
}

FdOutputBuf::~FdOutputBuf() {
    Flush();
}

FdOutputBuf::int_type FdOutputBuf::overflow(int_type c) {
    if (!Flush()) {
        return traits_type::eof();
    }
    if (!traits_type::eq_int_type(c, traits_type::eof())) {
        *pptr() = traits_type::to_char_type(c);
        pbump(1);
    }
    return traits_type::not_eof(c);
}

int FdOutputBuf::sync() {
    return Flush() ? 0 : -1;
}

// After a failure the rest is dropped: the reason of the first one stands.
bool FdOutputBuf::Flush() {
    const char* data = pbase();
    std::size_t size = static_cast<std::size_t>(pptr() - pbase());
    setp(buffer_.data(), buffer_.data() + buffer_.size());
    while (size > 0 && reason_.empty()) {
        const long put = WriteSome(fd_, data, size);
        if (put < 0 && errno == EINTR) {
            continue;
        }
        if (put <= 0) {
            reason_ = put < 0 ? std::strerror(errno) : "nothing was written";
            break;
        }
        data += put;
        size -= static_cast<std::size_t>(put);
    }
    return reason_.empty();
}
