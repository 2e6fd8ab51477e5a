#pragma once

#include <cstdint>
#include <limits>
#include <memory>
#include <mutex>
#include <string>
#include <string_view>
#include <vector>

#include "classlib/core/hostfs.h"

// The host's file system with faults on demand, so that tests reach every failure without root,
// other users or resource limits. A fault names a file or folder by the end of its path
// ("src/a.c" matches ".../p/src/a.c"). It keeps a log of the files read.
class FakeHostFs : public HostFs {
public:
    // Over the host's file system.
    FakeHostFs() : FakeHostFs(std::make_unique<NativeHostFs>()) {}
    // Over another layer (MemoryHostFs for whole loads in memory).
    explicit FakeHostFs(std::unique_ptr<HostFs> backing) : real_(std::move(backing)) {}

    // All writes together may put this many bytes on the disk; the write that passes it fails.
    void SetDiskSpace(std::uint64_t bytes) { space_ = bytes; }
    // Opening name, or writing into it when it is a folder, is denied.
    void DenyOpen(std::string_view name) { rules_.push_back({std::string(name), Fault::Deny}); }
    // The last step of writing name, the rename into place, fails.
    void FailRename(std::string_view name) { rules_.push_back({std::string(name), Fault::Rename}); }
    // name is listed as it is, but gone when it is opened.
    void Vanish(std::string_view name) { rules_.push_back({std::string(name), Fault::Vanish}); }
    // The listing reports kind for name, whatever is on the disk.
    void ListAs(std::string_view name, HostEntry kind) {
        rules_.push_back({std::string(name), Fault::Listing, kind});
    }
    // Files above bytes are too large to read (copies, being streams, are not limited).
    void LimitReads(std::uint64_t bytes) { readLimit_ = bytes; }
    // Raises signal in the process right after each temporary file is created, before it is
    // registered for removal; 0 stops it. Process-wide: for a child process of a test.
    static void RaiseAfterCreatingTemporary(int signal);
    // Every file ReadFile was asked for (copies included), as the layer below spells it, in order.
    // Reads are only ever made from two threads at once while nothing is written.
    const std::vector<std::string>& Reads() const { return reads_; }

    using HostFs::ReadFile;
    std::string Resolve(std::string_view path) override { return real_->Resolve(path); }
    HostEntry Kind(std::string_view path) override;
    HostStatus ReadFile(std::string_view path, std::string& contents,
                        std::uint64_t maxBytes) override;
    HostStatus CreateFolder(std::string_view path) override;
    HostStatus CopyFileBelow(std::string_view source, std::string_view folder,
                             std::string_view relative) override;
    HostStatus WriteFileAtomically(std::string_view path,
                                   const std::function<bool(std::ostream&)>& writer) override;
    HostStatus Identify(std::string_view path, FileIdentity& identity) override {
        return real_->Identify(path, identity);
    }

private:
    enum class Fault { Deny, Rename, Vanish, Listing };
    struct Rule {
        std::string name;
        Fault fault;
        HostEntry kind = HostEntry::Missing;
    };
    const Rule* Find(std::string_view path, Fault fault) const;

    std::unique_ptr<HostFs> real_;
    std::vector<Rule> rules_;
    std::mutex readsMutex_;
    std::vector<std::string> reads_;
    std::uint64_t space_ = std::numeric_limits<std::uint64_t>::max();
    std::uint64_t readLimit_ = std::numeric_limits<std::uint64_t>::max();
};
