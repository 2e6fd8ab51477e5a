#pragma once

#include <cstddef>
#include <cstdint>
#include <deque>
#include <memory>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "classlib/core/hostfs.h"
#include "classlib/core/wstring.h"
#include "classlib/core/wtreestore.h"
#include "depscan/filefindings.h"
#include "depscan/filelist.h"
#include "depscan/includeresolution.h"
#include "depscan/scannotes.h"
#include "project/projecttree.h"

// How one dependency scan runs.
struct ScanOptions {
    // The scan stops adding nodes here (see ::kDefaultNodeLimit).
    static constexpr std::size_t kDefaultNodeLimit = ::kDefaultNodeLimit;

    ParseLiterals parseLiterals = ParseLiterals::Off;
    WString compilerFolder;  // the value of WATCOM for this run
    std::size_t nodeLimit = kDefaultNodeLimit;
    ScanNotes* notes = nullptr;  // filled when given

    // The options of a load: WATCOM read now, the default limit.
    static ScanOptions ForLoad(ParseLiterals parseLiterals);
};

// The scan of one loaded project. Every file is read at most once per target
// folder, whatever the number of places that include it; includes, resource
// lines and literals found in it are kept and expanded again at each place,
// so the tree is the same as if the file were read anew there.
class DependencyScanner {
public:
    DependencyScanner(WTreeStore& tree, std::string_view projectFolder, HostFs& fs,
                      ScanOptions options);
    ~DependencyScanner();
    DependencyScanner(const DependencyScanner&) = delete;
    DependencyScanner& operator=(const DependencyScanner&) = delete;

    // Starts a target: its folder, against which its names are read and
    // found, and its include directory list (macro already expanded).
    // targetItem is the target's node, for the notes.
    void BeginTarget(std::string_view targetFolder, std::string_view includeDirectoryList,
                     WTreeItem targetItem = kNoItem);

    // Scans the file at path (relative to the target folder, or absolute)
    // and, depth first in file order, every file it includes, adding their
    // dependency nodes under parent and their paths to fileList (when given).
    // A file that cannot be read as a regular file gets nothing; a library is
    // listed but not read; a file already being scanned higher up the same
    // include chain gets its node, marked in the tree (WTreeStore::IsMarked),
    // but is not scanned again. True when a
    // dependency node was added under parent.
    bool ScanFile(WTreeItem parent, FileList* fileList, std::string_view path);

    // Whether the file at path (as ScanFile takes it) is one that can be read
    // as a regular file; the scan has read it already.
    bool IsReadable(std::string_view path);

    ScanOutcome Outcome() const { return {!stopped_, nodesAdded_, problems_}; }
    bool Stopped() const { return stopped_; }

    // No label, no file.
    static constexpr std::uint32_t kNone = 0xFFFFFFFFu;

private:
    // One file on the host, however it is named: read once per load.
    struct HostFile {
        bool scanned = false;
        bool readable = false;
        std::uint32_t onChain = 0;  // frames of the current include chain scanning it
        std::vector<Finding> findings;
    };

    // A finding resolved for the current target.
    struct NamedFile;
    struct Resolved {
        Finding::Kind kind = Finding::Kind::Include;
        bool throughChain = false;  // a quoted name to be searched next to the includers
        bool missing = false;       // the name found no file (not one left out)
        WTreeLabel label = kNone;   // the node's text; none: the finding adds nothing
        std::uint32_t listedStamp = 0;
        // For an include: the file it names, already read.
        NamedFile* target = nullptr;
        HostFile* targetHost = nullptr;
    };

    // A file as the scan names it (one label): its spelling decides its class, the
    // folder next to which its quoted includes are searched, and its list entry.
    struct NamedFile {
        WTreeLabel label = kNone;
        std::uint32_t host = kNone;
        FileClass fileClass = FileClass::Source;
        std::uint32_t resolvedStamp = 0;
        std::uint32_t listedStamp = 0;
        std::vector<Resolved> resolved;
    };

    // One file of the include chain being expanded. Entries of the deques and
    // a file's resolved findings stay in place while the frame lives.
    struct Frame {
        NamedFile* file;
        Resolved* findings;
        std::uint32_t count;
        std::uint32_t next;
        WTreeItem parent;
        WTreeItem last;  // the insertion point: the node added last under parent
    };

    std::uint32_t NamedFor(WTreeLabel label);
    HostFile& Scanned(std::uint32_t named);
    std::vector<Resolved>& ResolvedFindings(NamedFile& file);
    Resolved ResolveFinding(const NamedFile& file, const Finding& finding);
    bool ResolveThroughChain(const Finding& finding, Resolved& resolved);
    void SetTarget(Resolved& resolved);
    Frame FrameFor(NamedFile& file, WTreeItem parent);
    bool MayAdd();
    WTreeItem AddDependencyNode(WTreeLabel label, Frame& frame);
    void List(FileList* fileList, WTreeLabel label, std::uint32_t& listedStamp);
    std::string IdentityOf(std::string_view path);
    void NoteMissing(const Frame& frame, const Finding& finding);

    WTreeStore& tree_;
    std::string projectFolder_;
    std::string folder_;  // the current target's folder
    HostFs& fs_;
    ScanOptions options_;
    std::unique_ptr<IncludeResolver> resolver_;
    std::uint32_t targetStamp_ = 0;
    WTreeItem targetItem_ = kNoItem;

    std::deque<HostFile> hostFiles_;
    std::unordered_map<std::string, std::uint32_t> hostFileByKey_;
    std::deque<NamedFile> namedFiles_;
    // A label names a different file in each target folder.
    std::unordered_map<std::string, std::vector<std::uint32_t>> namedByFolder_;
    std::vector<std::uint32_t>* namedByLabel_ = nullptr;
    std::vector<Frame> stack_;

    std::size_t nodesAdded_ = 0;
    std::vector<std::string> problems_;
    bool stopped_ = false;
};

// The dependency scan of a whole loaded project, target by target, source by
// source, as the last step of a load. Each target's names resolve against its
// folder (TargetFolderOf); the process's current folder is never changed.
ScanOutcome BuildDependencies(WTreeStore& tree, const WString& projectFolder, HostFs& fs,
                              const ScanOptions& options);
