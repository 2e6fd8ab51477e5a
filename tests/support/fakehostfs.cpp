#include "tests/support/fakehostfs.h"

#include <algorithm>
#include <sstream>

namespace {

HostStatus Failure(HostStatus::Code code, std::string reason) {
    HostStatus status;
    status.code = code;
    status.reason = std::move(reason);
    return status;
}

std::string Slashed(std::string_view path) {
    std::string text(path);
    std::replace(text.begin(), text.end(), '\\', '/');
    return text;
}

// path is name, ends with "/name", or, for a folder's fault, lies below it.
bool Names(const std::string& path, const std::string& name, bool below) {
    return path == name || path.ends_with("/" + name) ||
           (below &&
            (path.starts_with(name + "/") || path.find("/" + name + "/") != std::string::npos));
}

}  // namespace

void FakeHostFs::ListAs(std::string_view name, HostEntry kind) {
    rules_.push_back({std::string(name), Fault::Listing, kind});
}

const FakeHostFs::Rule* FakeHostFs::Find(std::string_view path, Fault fault) const {
    const std::string slashed = Slashed(path);
    for (const Rule& rule : rules_) {
        if (rule.fault == fault && Names(slashed, rule.name, fault == Fault::Deny)) {
            return &rule;
        }
    }
    return nullptr;
}

HostStatus FakeHostFs::OpenFault(std::string_view path) const {
    if (Find(path, Fault::Deny) != nullptr) {
        return Failure(HostStatus::Code::Failed,
                       "cannot open " + Slashed(path) + ": Permission denied");
    }
    if (Find(path, Fault::Vanish) != nullptr) {
        return Failure(HostStatus::Code::NotFound,
                       "cannot open " + Slashed(path) + ": No such file or directory");
    }
    return HostStatus::Ok();
}

HostStatus FakeHostFs::WriteFault(std::string_view path) const {
    if (Find(path, Fault::Deny) != nullptr) {
        return Failure(HostStatus::Code::Failed, "cannot create a temporary file for " +
                                                     Slashed(path) + ": Permission denied");
    }
    if (Find(path, Fault::Rename) != nullptr) {
        return Failure(HostStatus::Code::Failed,
                       "cannot replace " + Slashed(path) + ": Operation not permitted");
    }
    return HostStatus::Ok();
}

HostEntry FakeHostFs::Kind(std::string_view path) {
    if (const Rule* listed = Find(path, Fault::Listing)) {
        return listed->kind;
    }
    return real_.Kind(path);
}

HostStatus FakeHostFs::ReadFile(std::string_view path, std::string& contents,
                                std::uint64_t maxBytes) {
    contents.clear();
    if (HostStatus fault = OpenFault(path); !fault.ok()) {
        return fault;
    }
    return real_.ReadFile(path, contents, std::min(maxBytes, readLimit_));
}

HostStatus FakeHostFs::CreateFolder(std::string_view path) {
    if (Find(path, Fault::Deny) != nullptr) {
        return Failure(HostStatus::Code::Failed,
                       "cannot create folder " + Slashed(path) + ": Permission denied");
    }
    return real_.CreateFolder(path);
}

HostStatus FakeHostFs::CopyFile(std::string_view source, std::string_view destination) {
    // Copies are streams of any size: no read limit here.
    std::string bytes;
    if (HostStatus fault = OpenFault(source); !fault.ok()) {
        return fault;
    }
    if (HostStatus read = real_.ReadFile(source, bytes, kDefaultMaxRead); !read.ok()) {
        return read;
    }
    FileIdentity from;
    FileIdentity to;
    if (real_.Identify(source, from).ok() && real_.Identify(destination, to).ok() && from == to) {
        return Failure(HostStatus::Code::Failed,
                       Slashed(destination) + ": source and destination are the same file");
    }
    return WriteFileAtomically(destination, [&](std::ostream& out) {
        out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
        return true;
    });
}

HostStatus FakeHostFs::WriteFileAtomically(std::string_view path,
                                           const std::function<bool(std::ostream&)>& writer) {
    if (HostStatus fault = WriteFault(path); !fault.ok()) {
        return fault;
    }
    bool full = false;
    const HostStatus written = real_.WriteFileAtomically(path, [&](std::ostream& out) {
        std::ostringstream text;
        if (!writer(text)) {
            return false;
        }
        const std::string bytes = text.str();
        full = bytes.size() > space_;
        const std::uint64_t fits = std::min<std::uint64_t>(bytes.size(), space_);
        out.write(bytes.data(), static_cast<std::streamsize>(fits));
        space_ -= fits;
        return !full;
    });
    if (full) {
        return Failure(HostStatus::Code::Failed,
                       "cannot write " + Slashed(path) + ": No space left on device");
    }
    return written;
}
