#pragma once

#include <condition_variable>
#include <cstdint>
#include <deque>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "classlib/core/hostfs.h"
#include "depscan/fileclass.h"
#include "depscan/filefindings.h"

// One file to read and scan, named as the load names it.
struct ScanJob {
    std::string hostPath;  // the file, as the target's folder and the name give it
    std::string folder;    // the target's folder, against which literals are tested
    FileClass fileClass = FileClass::Source;
};

// What reading and scanning one file gave.
struct ScanResult {
    bool readable = false;  // a readable regular file (a library: one that is there)
    std::string problem;    // why a readable file was listed but not scanned (too large)
    std::vector<Finding> findings;
};

// Reads and scans a file: a library is only looked for, anything else is
// read whole and its findings taken.
ScanResult ScanHostFile(HostFs& fs, const ScanJob& job, ParseLiterals parseLiterals);

// Reads and scans files on a thread of its own, in the order they are asked
// for, while the load resolves the names of the files read before: reading
// and scanning is close to half of a load, and the files to read are mostly
// known well before their findings are needed (a target names all its
// sources at once). The host layer must allow reads from two threads. Without
// read-ahead, or when no thread can be started, each file is read by Take, on
// the caller's thread.
class ScanWorker {
public:
    ScanWorker(HostFs& fs, ParseLiterals parseLiterals, bool readAhead);
    ~ScanWorker();
    ScanWorker(const ScanWorker&) = delete;
    ScanWorker& operator=(const ScanWorker&) = delete;

    // Queues a file; the ticket takes its result.
    std::uint32_t Submit(ScanJob job);
    // The result of a ticket, once it is there; each ticket is taken once.
    ScanResult Take(std::uint32_t ticket);

private:
    struct Slot {
        ScanJob job;
        ScanResult result;
        bool done = false;
    };
    void Run();

    HostFs& fs_;
    ParseLiterals parseLiterals_;
    std::mutex mutex_;
    std::condition_variable queued_;    // a job came, or the worker is to stop
    std::condition_variable finished_;  // a result came
    std::deque<Slot> slots_;            // by ticket
    std::size_t next_ = 0;              // the next ticket the thread scans
    bool stopping_ = false;
    std::thread thread_;
};
