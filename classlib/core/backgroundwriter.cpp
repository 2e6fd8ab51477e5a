#include "classlib/core/backgroundwriter.h"

#include <system_error>

BackgroundWriter::BackgroundWriter(std::ostream& out) : out_(out) {}

BackgroundWriter::~BackgroundWriter() {
    Finish();
}

void BackgroundWriter::Start() {
    try {
        thread_ = std::thread([this] { Run(); });
    } catch (const std::system_error&) {
        // No thread to be had: each block is written as it comes.
    }
}

void BackgroundWriter::Write(std::string_view block) {
    if (++blocks_ == 2) {
        Start();
    }
    if (!thread_.joinable()) {
        out_.write(block.data(), static_cast<std::streamsize>(block.size()));
        return;
    }
    std::unique_lock<std::mutex> lock(mutex_);
    changed_.wait(lock, [&] { return waiting_.size() < kMostWaiting; });
    std::string copy;
    if (!spare_.empty()) {
        copy = std::move(spare_.back());
        spare_.pop_back();
    }
    copy.assign(block);
    waiting_.push_back(std::move(copy));
    changed_.notify_all();
}

void BackgroundWriter::Finish() {
    if (!thread_.joinable()) {
        return;
    }
    {
        const std::lock_guard<std::mutex> lock(mutex_);
        finishing_ = true;
    }
    changed_.notify_all();
    thread_.join();
}

void BackgroundWriter::Run() {
    std::unique_lock<std::mutex> lock(mutex_);
    for (;;) {
        changed_.wait(lock, [&] { return finishing_ || !waiting_.empty(); });
        if (waiting_.empty()) {
            return;  // finishing, and all written
        }
        std::string block = std::move(waiting_.front());
        waiting_.pop_front();
        lock.unlock();
        out_.write(block.data(), static_cast<std::streamsize>(block.size()));
        lock.lock();
        spare_.push_back(std::move(block));
        changed_.notify_all();
    }
}
