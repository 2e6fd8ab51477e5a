#pragma once

#include <streambuf>
#include <string>
#include <vector>

// A buffered output stream buffer over a file descriptor (standard output)
// that keeps the system's reason when a write fails, so that the user is
// told why the output did not arrive.
class FdOutputBuf : public std::streambuf {
public:
    explicit FdOutputBuf(int fd);
    ~FdOutputBuf() override;
    FdOutputBuf(const FdOutputBuf&) = delete;
    FdOutputBuf& operator=(const FdOutputBuf&) = delete;

    // The system's text for the first failed write; empty while none failed.
    const std::string& FailureReason() const { return reason_; }

protected:
    int_type overflow(int_type c) override;
    int sync() override;

private:
    bool Flush();

    int fd_;
    std::vector<char> buffer_;
    std::string reason_;
};
