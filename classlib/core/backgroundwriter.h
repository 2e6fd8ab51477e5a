#pragma once

#include <condition_variable>
#include <deque>
#include <mutex>
#include <ostream>
#include <string>
#include <string_view>
#include <thread>
#include <vector>

// Writes blocks to a stream on a thread of its own, so that the next block is
// made while the last one is written: a large project's dependency file is
// hundreds of megabytes. Write copies the block and waits only while two are
// still waiting. The stream is not touched by anyone else until Finish has
// returned (its state then tells whether everything was written). The first
// block is written at once and the thread starts with the second: a file of
// one block has nothing to overlap, and most are one block. When no thread
// can be started, Write writes at once.
class BackgroundWriter {
public:
    explicit BackgroundWriter(std::ostream& out);
    ~BackgroundWriter();
    BackgroundWriter(const BackgroundWriter&) = delete;
    BackgroundWriter& operator=(const BackgroundWriter&) = delete;

    void Write(std::string_view block);
    // Returns once every block is written.
    void Finish();

private:
    static constexpr std::size_t kMostWaiting = 2;
    void Start();
    void Run();

    std::ostream& out_;
    std::mutex mutex_;
    std::condition_variable changed_;
    std::deque<std::string> waiting_;
    std::vector<std::string> spare_;  // written blocks, their memory used again
    bool finishing_ = false;
    std::size_t blocks_ = 0;  // blocks given to Write
    std::thread thread_;
};
