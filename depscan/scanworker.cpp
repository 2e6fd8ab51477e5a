#include "depscan/scanworker.h"

#include <system_error>
#include <utility>

#include "depscan/wcinclude.h"

ScanResult ScanHostFile(HostFs& fs, const ScanJob& job, ParseLiterals parseLiterals) {
    ScanResult result;
    if (job.fileClass == FileClass::Library) {
        // Listed but never read: a regular file is all it takes.
        result.readable = fs.Kind(job.hostPath) == HostEntry::File;
        return result;
    }
    WCInclude scanner(fs, job.folder);
    result.readable = scanner.Open(job.hostPath);
    if (scanner.OpenStatus().code == HostStatus::Code::TooLarge) {
        // Size never hides a file: it is listed and copied, only not scanned.
        result.readable = true;
        result.problem = scanner.OpenStatus().reason + "; listed, not scanned";
    }
    if (scanner.IsOpen()) {
        result.findings = FindReferences(scanner, job.fileClass, parseLiterals);
    }
    return result;
}

ScanWorker::ScanWorker(HostFs& fs, ParseLiterals parseLiterals, bool readAhead)
    : fs_(fs), parseLiterals_(parseLiterals) {
    if (!readAhead) {
        return;
    }
    try {
        thread_ = std::thread([this] { Run(); });
    } catch (const std::system_error&) {
        // No thread to be had: Take reads each file itself.
    }
}

ScanWorker::~ScanWorker() {
    {
        const std::lock_guard<std::mutex> lock(mutex_);
        stopping_ = true;
    }
    queued_.notify_one();
    if (thread_.joinable()) {
        thread_.join();
    }
}

std::uint32_t ScanWorker::Submit(ScanJob job) {
    std::uint32_t ticket = 0;
    {
        const std::lock_guard<std::mutex> lock(mutex_);
        ticket = static_cast<std::uint32_t>(slots_.size());
        slots_.push_back({std::move(job), {}, false});
    }
    queued_.notify_one();
    return ticket;
}

ScanResult ScanWorker::Take(std::uint32_t ticket) {
    std::unique_lock<std::mutex> lock(mutex_);
    Slot& slot = slots_[ticket];
    if (!thread_.joinable() && !slot.done) {
        lock.unlock();
        slot.result = ScanHostFile(fs_, slot.job, parseLiterals_);
        lock.lock();
        slot.done = true;
    }
    finished_.wait(lock, [&] { return slot.done; });
    slot.job = {};
    return std::move(slot.result);
}

void ScanWorker::Run() {
    std::unique_lock<std::mutex> lock(mutex_);
    for (;;) {
        queued_.wait(lock, [&] { return stopping_ || next_ < slots_.size(); });
        if (stopping_) {
            return;  // whatever is left, no one waits for
        }
        Slot& slot = slots_[next_++];
        const ScanJob job = std::move(slot.job);
        lock.unlock();
        ScanResult result = ScanHostFile(fs_, job, parseLiterals_);
        lock.lock();
        slot.result = std::move(result);
        slot.done = true;
        finished_.notify_one();
    }
}
