#include <string>
#include <unordered_set>
#include <vector>

#include "classlib/core/pathrules.h"
#include "cli/depsformats.h"
#include "cli/sourcelanguage.h"
#include "project/projecttree.h"
#include "project/treewalk.h"

namespace {

constexpr std::size_t kBlockSize = 1 << 20;

// Where a name stands in a rule: '%' makes a target a pattern and is escaped
// there, while make takes a prerequisite's "\\%" literally.
enum class MakePlace { Target, Prerequisite };

// A name as make reads it: host separators, control characters as blanks,
// and the escapes for what make would otherwise take apart ('#' starts a
// comment, '$' a variable, blanks separate names, ':' ends the targets). A
// drive's colon on Windows stays.
void AppendMakeName(std::string& line, std::string_view name, MakePlace place) {
#ifdef _WIN32
    const std::string host = WithNativeSeparators(name);
#else
    const std::string host = WithHostSeparators(name);
#endif
    std::string plain;
    AppendAsLine(plain, host);
    for (std::size_t i = 0; i < plain.size(); ++i) {
        const char c = plain[i];
        if (c == '$') {
            line += "$$";
            continue;
        }
        const bool driveColon = c == ':' && i == 1 && IsAbsolutePath(plain);
        if (c == ' ' || c == '#' || (c == '%' && place == MakePlace::Target) ||
            (c == ':' && !driveColon)) {
            line += '\\';
        }
        line += c;
    }
}

// name as the file system spells it, relative to folder as it was: make
// looks for exactly that spelling, and projects name their files in any case.
std::string SpeltOnDisk(HostFs& fs, std::string_view folder, std::string_view name) {
    const std::string resolvedFolder = fs.Resolve(folder);
    const std::string resolved = fs.Resolve(PathInFolder(folder, WithHostSeparators(name)));
    if (!IsAbsolutePath(name) && resolved.size() > resolvedFolder.size() &&
        resolved.starts_with(resolvedFolder) &&
        (resolvedFolder.ends_with('/') || resolved[resolvedFolder.size()] == '/')) {
        const std::size_t skip = resolvedFolder.size() + (resolvedFolder.ends_with('/') ? 0 : 1);
        return resolved.substr(skip);
    }
    return IsAbsolutePath(name) ? resolved : std::string(name);
}

class MakeVisitor : public ProjectVisitor {
public:
    MakeVisitor(HostFs& fs, std::ostream& out) : fs_(fs), out_(out) {
        block_.reserve(kBlockSize + 4096);
    }

    void BeginTarget(const TargetFacts& target) override {
        EndRule();
        folder_ = target.folder;
        names_.clear();
        block_ += "\n# ";
        AppendAsLine(block_, target.reference);
        block_ += ": names relative to ";
        AppendAsLine(block_, target.folder);
        block_ += '\n';
    }

    void File(const FileVisit& file) override {
        if (file.depth == 0) {
            EndRule();
            BeginRule(file);
            return;
        }
        if (file.labelId >= metBy_.size()) {
            metBy_.resize(static_cast<std::size_t>(file.labelId) + 1, 0);
        }
        if (!ruleOpen_ || metBy_[file.labelId] == source_) {
            return;
        }
        metBy_[file.labelId] = source_;
        Name& name = NameOf(file);
        block_ += ' ';
        block_ += name.prerequisite;
        if (!name.listed) {
            name.listed = true;
            if (headerNames_.insert(name.spelt).second) {
                headers_.push_back(name.spelt);
            }
        }
        FlushIfFull();
    }

    // Every file below a file expanded before for this source was listed then.
    bool PassBelow(const FileVisit& file) override {
        if (!file.sameEverywhere) {
            return false;
        }
        if (file.file >= expandedBy_.size()) {
            expandedBy_.resize(static_cast<std::size_t>(file.file) + 1, 0);
        }
        const bool before = expandedBy_[file.file] == source_;
        expandedBy_[file.file] = source_;
        return before;
    }

    void EndTarget(const TargetFacts&) override { EndRule(); }

    void Finish() {
        EndRule();
        if (!headers_.empty()) {
            block_ += "\n# Every header once, so that a deleted header does not stop the build.\n";
        }
        for (const std::string& header : headers_) {
            AppendMakeName(block_, header, MakePlace::Target);
            block_ += ":\n";
            FlushIfFull();
        }
        out_.write(block_.data(), static_cast<std::streamsize>(block_.size()));
    }

private:
    // A source compiled to an object gets a rule; a header or a library
    // listed among the sources builds nothing.
    void BeginRule(const FileVisit& source) {
        ++source_;
        const std::string_view object = ObjectExtensionOf(source.label);
        ruleOpen_ = !object.empty();
        if (!ruleOpen_) {
            return;
        }
        AppendMakeName(block_, BaseNameOf(source.label).Str() + std::string(object),
                       MakePlace::Target);
        block_ += ": ";
        block_ += NameOf(source).prerequisite;
    }
    // A label's name as the file system spells it and as a prerequisite,
    // worked out once per target.
    struct Name {
        std::string spelt;
        std::string prerequisite;
        bool listed = false;  // among the headers given an empty rule
    };
    Name& NameOf(const FileVisit& file) {
        if (file.labelId >= names_.size()) {
            names_.resize(static_cast<std::size_t>(file.labelId) + 1);
        }
        Name& name = names_[file.labelId];
        if (name.prerequisite.empty()) {
            name.spelt = SpeltOnDisk(fs_, folder_, file.label);
            AppendMakeName(name.prerequisite, name.spelt, MakePlace::Prerequisite);
        }
        return name;
    }
    void EndRule() {
        if (ruleOpen_) {
            block_ += '\n';
            ruleOpen_ = false;
        }
    }
    void FlushIfFull() {
        if (block_.size() >= kBlockSize) {
            out_.write(block_.data(), static_cast<std::streamsize>(block_.size()));
            block_.clear();
        }
    }

    HostFs& fs_;
    std::ostream& out_;
    std::string folder_;
    std::vector<Name> names_;  // by label, for the current target
    std::string block_;
    bool ruleOpen_ = false;
    std::uint32_t source_ = 0;          // the current source's number
    std::vector<std::uint32_t> metBy_;  // by label: the last source whose rule names it
    // By the target's file: the last source that expanded it (sources are
    // numbered across targets, so no number recurs).
    std::vector<std::uint32_t> expandedBy_;
    std::unordered_set<std::string> headerNames_;
    std::vector<std::string> headers_;  // in the order first met
};

}  // namespace

bool WriteMakeRules(const LoadedProject& project, HostFs& fs, std::ostream& out) {
    out << "# Dependencies of ";
    std::string name;
    AppendAsLine(name, ProjectFileName(project));
    out << name << ", written by tamsk-cli deps --format make\n";
    MakeVisitor visitor(fs, out);
    WalkProject(project, visitor);
    visitor.Finish();
    return static_cast<bool>(out);
}
