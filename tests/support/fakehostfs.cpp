#include "tests/support/fakehostfs.h"

#include <algorithm>
#include <atomic>
#include <csignal>
#include <sstream>

#include "classlib/core/temporaryregistry.h"

namespace {

HostStatus Failure(std::string_view action, std::string_view path, std::string_view why,
                   HostStatus::Code code = HostStatus::Code::Failed) {
    std::string reason(action);
    reason.append(" ").append(path).append(": ").append(why);
    std::replace(reason.begin(), reason.end(), '\\', '/');
    return {code, reason};
}

std::atomic<int> signalAfterCreate{0};

void RaiseTheSignal() {
    if (const int signal = signalAfterCreate.load(); signal != 0) {
        std::raise(signal);
    }
}

}  // namespace

void FakeHostFs::RaiseAfterCreatingTemporary(int signal) {
    signalAfterCreate.store(signal);
    SetTemporaryCreatedHook(signal != 0 ? RaiseTheSignal : nullptr);
}

// path is name or ends with "/name"; a denied folder also covers what lies below it.
const FakeHostFs::Rule* FakeHostFs::Find(std::string_view path, Fault fault) const {
    std::string text(path);
    std::replace(text.begin(), text.end(), '\\', '/');
    for (const Rule& rule : rules_) {
        const bool below =
            fault == Fault::Deny && (text + "/").find("/" + rule.name + "/") != std::string::npos;
        if (rule.fault == fault &&
            (below || text == rule.name || text.ends_with("/" + rule.name))) {
            return &rule;
        }
    }
    return nullptr;
}

HostEntry FakeHostFs::Kind(std::string_view path) {
    const Rule* listed = Find(path, Fault::Listing);
    return listed != nullptr ? listed->kind : real_->Kind(path);
}

HostStatus FakeHostFs::ReadFile(std::string_view path, std::string& contents,
                                std::uint64_t maxBytes) {
    contents.clear();
    std::string read = real_->Resolve(path);
    {
        const std::lock_guard<std::mutex> lock(readsMutex_);  // a load reads on two threads
        reads_.push_back(std::move(read));
    }
    if (Find(path, Fault::Deny) != nullptr) {
        return Failure("cannot open", path, "Permission denied");
    }
    if (Find(path, Fault::Vanish) != nullptr) {
        return Failure("cannot open", path, "No such file or directory",
                       HostStatus::Code::NotFound);
    }
    return real_->ReadFile(path, contents, std::min(maxBytes, readLimit_));
}

HostStatus FakeHostFs::CreateFolder(std::string_view path) {
    if (Find(path, Fault::Deny) != nullptr) {
        return Failure("cannot create folder", path, "Permission denied");
    }
    return real_->CreateFolder(path);
}

// The faults first, then the real copy, which keeps its own rules (links, the same file).
HostStatus FakeHostFs::CopyFileBelow(std::string_view source, std::string_view folder,
                                     std::string_view relative) {
    const std::uint64_t limit = readLimit_;
    readLimit_ = kDefaultMaxRead;
    std::string bytes;
    const HostStatus read = ReadFile(source, bytes);
    readLimit_ = limit;
    if (!read.ok()) {
        return read;
    }
    std::string path(folder);
    const std::vector<std::string_view> components = PathComponents(relative);
    for (std::size_t i = 0; i < components.size(); ++i) {
        if (!path.empty() && path.back() != '/' && path.back() != '\\') {
            path += '/';
        }
        path.append(components[i]);
        if (i + 1 < components.size() && Find(path, Fault::Deny) != nullptr) {
            return Failure("cannot create folder", path, "Permission denied");
        }
    }
    if (Find(path, Fault::Deny) != nullptr) {
        return Failure("cannot create a temporary file for", path, "Permission denied");
    }
    if (Find(path, Fault::Rename) != nullptr) {
        return Failure("cannot replace", path, "Operation not permitted");
    }
    const std::uint64_t fits = std::min<std::uint64_t>(bytes.size(), space_);
    space_ -= fits;
    if (fits < bytes.size()) {
        return Failure("cannot write", path, "No space left on device");
    }
    return real_->CopyFileBelow(source, folder, relative);
}

HostStatus FakeHostFs::WriteFileAtomically(std::string_view path,
                                           const std::function<bool(std::ostream&)>& writer) {
    if (Find(path, Fault::Deny) != nullptr) {
        return Failure("cannot create a temporary file for", path, "Permission denied");
    }
    if (Find(path, Fault::Rename) != nullptr) {
        return Failure("cannot replace", path, "Operation not permitted");
    }
    bool full = false;
    const HostStatus written = real_->WriteFileAtomically(path, [&](std::ostream& out) {
        std::ostringstream text;
        if (!writer(text)) {
            return false;
        }
        const std::string bytes = text.str();
        const std::uint64_t fits = std::min<std::uint64_t>(bytes.size(), space_);
        full = fits < bytes.size();
        space_ -= fits;
        return out.write(bytes.data(), static_cast<std::streamsize>(fits)) && !full;
    });
    return full ? Failure("cannot write", path, "No space left on device") : written;
}
