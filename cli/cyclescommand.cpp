#include <algorithm>
#include <string>
#include <unordered_set>
#include <vector>

#include "cli/commands.h"
#include "cli/filekeys.h"
#include "project/treewalk.h"

namespace {

// A cycle, whichever of its files it was entered by: its file numbers
// rotated to start at the least, hashed twice over (64 bits each).
struct CycleKey {
    std::uint64_t a = 0;
    std::uint64_t b = 0;
    bool operator==(const CycleKey&) const = default;
};
struct CycleKeyHash {
    std::size_t operator()(const CycleKey& key) const {
        return static_cast<std::size_t>(key.a ^ (key.b * 0x9E3779B97F4A7C15ull));
    }
};

CycleKey KeyOf(const std::vector<std::uint32_t>& files) {
    const auto least = std::min_element(files.begin(), files.end());
    const std::size_t start = static_cast<std::size_t>(least - files.begin());
    CycleKey key{0xcbf29ce484222325ull, 0x84222325cbf29ce4ull};
    for (std::size_t i = 0; i < files.size(); ++i) {
        const std::uint64_t file = files[(start + i) % files.size()];
        key.a = (key.a ^ file) * 0x100000001B3ull;
        key.b = (key.b + file + 0x9E3779B97F4A7C15ull) * 0xBF58476D1CE4E5B9ull;
        key.b ^= key.b >> 31;
    }
    return key;
}

// Each node the scan cut closes a cycle: from the same file higher up its
// chain down to the node. Only the keys of the cycles printed are kept.
class CyclesVisitor : public ProjectVisitor {
public:
    explicit CyclesVisitor(std::ostream& out) : out_(out) {}

    void BeginTarget(const TargetFacts& target) override { files_.BeginTarget(target.folder); }

    void File(const FileVisit& file) override {
        const auto depth = static_cast<std::size_t>(file.depth);
        if (chain_.size() <= depth) {
            chain_.resize(depth + 1);
        }
        const std::uint32_t number = files_.NumberOf(file.labelId, file.label);
        chain_[depth] = {number, file.label};
        if (!file.cycleCut) {
            return;
        }
        std::size_t top = depth;
        while (top > 0 && chain_[top - 1].file != number) {
            --top;
        }
        top = top > 0 ? top - 1 : 0;  // no same file above (it cannot be): the whole chain
        members_.clear();
        for (std::size_t i = top; i < depth; ++i) {
            members_.push_back(chain_[i].file);
        }
        if (members_.empty() || !printed_.insert(KeyOf(members_)).second) {
            return;
        }
        std::string line;
        for (std::size_t i = top; i <= depth; ++i) {
            if (i > top) {
                line += " > ";
            }
            AppendAsLine(line, chain_[i].label);
        }
        line += '\n';
        out_ << line;
    }

    std::size_t Count() const { return printed_.size(); }

private:
    struct Link {
        std::uint32_t file = 0;
        std::string_view label;
    };

    std::ostream& out_;
    FileNumbers files_;
    std::vector<Link> chain_;  // by depth
    std::vector<std::uint32_t> members_;
    std::unordered_set<CycleKey, CycleKeyHash> printed_;
};

}  // namespace

int RunCyclesCommand(const std::string& project, ParseLiterals parseLiterals, const CliHost& host,
                     std::ostream& out, std::ostream& err) {
    return RunOnLoadedProject(project, parseLiterals, host, err,
                              [&](const LoadedProject& loaded, int status) -> int {
                                  CyclesVisitor visitor(out);
                                  WalkProject(loaded, visitor);
                                  out << "include cycles: " << visitor.Count() << "\n";
                                  return status;
                              });
}
