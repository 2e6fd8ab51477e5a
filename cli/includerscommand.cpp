#include <string>
#include <vector>

#include "classlib/core/pathrules.h"
#include "cli/commands.h"
#include "cli/filekeys.h"
#include "project/treewalk.h"

namespace {

// Finds, per source, the shallowest place of the file in its expanded tree;
// the chain down to it is the one printed.
class IncludersVisitor : public ProjectVisitor {
public:
    IncludersVisitor(std::string fileKey, std::ostream& out)
        : fileKey_(std::move(fileKey)), out_(out) {}

    void BeginTarget(const TargetFacts& target) override {
        EndSource();
        target_ = target.name;
        folder_ = target.folder;
        matches_.clear();
    }

    void File(const FileVisit& file) override {
        if (file.depth == 0) {
            EndSource();
        }
        const auto depth = static_cast<std::size_t>(file.depth);
        if (chain_.size() <= depth) {
            chain_.resize(depth + 1);
        }
        chain_[depth] = file.label;
        if (best_.empty() || depth + 1 < best_.size()) {
            if (Matches(file.labelId, file.label)) {
                best_.assign(chain_.begin(),
                             chain_.begin() + static_cast<std::ptrdiff_t>(depth) + 1);
            }
        }
    }

    void EndTarget(const TargetFacts&) override { EndSource(); }

    int Count() const { return count_; }

private:
    enum class Match : unsigned char { Unknown, Yes, No };

    bool Matches(WTreeLabel labelId, std::string_view label) {
        if (matches_.size() <= labelId) {
            matches_.resize(static_cast<std::size_t>(labelId) + 1, Match::Unknown);
        }
        Match& match = matches_[labelId];
        if (match == Match::Unknown) {
            match = FileKeyOf(folder_, label) == fileKey_ ? Match::Yes : Match::No;
        }
        return match == Match::Yes;
    }

    void EndSource() {
        if (best_.empty()) {
            return;
        }
        std::string line;
        AppendAsLine(line, target_);
        line += ": ";
        for (std::size_t i = 0; i < best_.size(); ++i) {
            if (i > 0) {
                line += " > ";
            }
            AppendAsLine(line, best_[i]);
        }
        line += '\n';
        out_ << line;
        ++count_;
        best_.clear();
    }

    std::string fileKey_;
    std::ostream& out_;
    std::string target_;
    std::string folder_;
    std::vector<Match> matches_;           // by label, for the current target
    std::vector<std::string_view> chain_;  // labels by depth
    std::vector<std::string_view> best_;   // the shortest chain of the current source
    int count_ = 0;
};

}  // namespace

int RunIncludersCommand(const std::string& project, const std::string& file,
                        ParseLiterals parseLiterals, const CliHost& host, std::ostream& out,
                        std::ostream& err) {
    return RunOnLoadedProject(
        project, parseLiterals, host, err, [&](const LoadedProject& loaded, int status) -> int {
            IncludersVisitor visitor(FileKeyOf(HostFs::CurrentFolder(), file), out);
            WalkProject(loaded, visitor);
            if (visitor.Count() == 0) {
                std::string line;
                AppendAsLine(line, file);
                ReportLine(err, line + " is included nowhere in this project");
                return ExitSomeWorkFailed;
            }
            return status;
        });
}
