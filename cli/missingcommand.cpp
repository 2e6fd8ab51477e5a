#include <string>

#include "cli/commands.h"
#include "project/treewalk.h"

namespace {

class MissingVisitor : public ProjectVisitor {
public:
    explicit MissingVisitor(std::ostream& out) : out_(out) {}

    void BeginTarget(const TargetFacts& target) override { target_ = target.name; }

    void Missing(const MissingName& missing) override {
        std::string line;
        AppendAsLine(line, target_);
        line += ": ";
        AppendAsLine(line, missing.namingFile);
        line += ": ";
        AppendAsLine(line, missing.name);
        line += '\n';
        out_ << line;
        ++count_;
    }

    int Count() const { return count_; }

private:
    std::ostream& out_;
    std::string target_;
    int count_ = 0;
};

}  // namespace

int RunMissingCommand(const std::string& project, ParseLiterals parseLiterals, const CliHost& host,
                      std::ostream& out, std::ostream& err) {
    return RunOnLoadedProject(
        project, parseLiterals, host, err, [&](const LoadedProject& loaded, int status) -> int {
            // Without the compiler folder every system header counts as missing.
            const WString& compilerFolder = loaded.notes.compilerFolder;
            if (compilerFolder.IsEmpty()) {
                ReportLine(err, "WATCOM is not set: the compiler's own headers cannot be found");
            } else if (host.fs.Kind(compilerFolder.View()) != HostEntry::Folder) {
                ReportLine(err, "WATCOM names no folder (" + compilerFolder.Str() +
                                    "): the compiler's own headers cannot be found");
            }
            MissingVisitor visitor(out);
            WalkProject(loaded, visitor);
            return visitor.Count() > 0 ? ExitSomeWorkFailed : status;
        });
}
