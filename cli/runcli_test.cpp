#include "cli/runcli.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <sstream>
#include <string>
#include <vector>

#include "classlib/core/messagetext.h"
#include "classlib/core/wtokens.h"
#include "cli/commands.h"
#include "cli/fdoutput.h"
#include "tests/support/clirun.h"
#include "tests/support/environment.h"
#include "tests/support/fakehostfs.h"
#include "tests/support/projectwriter.h"
#include "tests/support/tempdir.h"
#include "tests/support/treesnapshot.h"

namespace {

namespace fs = std::filesystem;
using Args = CliArgs;

// The examples: the trees and dependency files as written by hand. The console project's target
// file lies in bin\ and its names reach back up with ..\ (and above the project folder with
// ..\..\): each file lands at its place below the destination, and the copy exports the same.
TEST(RunCli, ExamplesTreeExportAndCopy) {
    TempDir dir;
    for (const char* folder : {"shapes", "common"}) {  // the project lists files in common/
        fs::copy(ExamplesFolder() + "/" + folder, dir.Join(folder), fs::copy_options::recursive);
    }
    const std::string shapes = dir.Join("shapes/");
    const CliRun tree = Cli({"tree", shapes + "shapes.wpj"});
    EXPECT_EQ(tree.exitCode, 0);
    EXPECT_EQ(tree.err, "");
    EXPECT_EQ(tree.out, ReadWhole(shapes + "expected/shapes_tree.txt"));

    dir.Write("shapes/shapes_dep.Txt", std::string(100000, 'x'));
    const CliRun exported = Cli({"export", shapes + "shapes.wpj", "--parse-literals"});
    EXPECT_EQ(exported.exitCode, 0);
    EXPECT_EQ(Slashed(exported.out), Slashed(shapes + "shapes_dep.Txt\n"));
    EXPECT_EQ(ReadWhole(shapes + "shapes_dep.Txt"), ReadWhole(shapes + "expected/shapes_dep.Txt"));

    // The viewer's list names a folder through $(%zlib), relative to its target's folder.
    SetEnvironment("zlib", "../zlib");
    const CliRun viewer = Cli({"tree", shapes + "viewer/viewer.wpj"});
    UnsetEnvironment("zlib");
    EXPECT_EQ(viewer.out, ReadWhole(shapes + "viewer/expected/viewer_tree.txt"));

    const CliRun copy =
        Cli({"copy", shapes + "console/console.wpj", dir.Join("out"), "--parse-literals"});
    EXPECT_EQ(copy.exitCode, 0) << copy.err;
    EXPECT_EQ(Slashed(copy.out),
              Slashed(Filled("console.wpj\t%/out/console\tcopied\n"
                             "bin\\console.tgt\t%/out/console/bin\tcopied\n"
                             "..\\..\\src\\shapes.c\t%/out/src\tcopied\n"
                             "..\\src\\report.c\t%/out/console/src\tcopied\n"
                             "..\\..\\include\\shapes.h\t%/out/include\tcopied\n"
                             "..\\..\\include\\version.h\t%/out/include\tcopied\n"
                             "..\\..\\res\\canvas.ico\t%/out/res\tcopied\n"
                             "console.rc\t%/out/console/bin\tcopied\n"
                             "..\\..\\data\\palette.txt\t%/out/data\tcopied\n",
                             dir)));
    EXPECT_EQ(Cli({"export", dir.Join("out/console/console.wpj"), "--parse-literals"}).exitCode, 0);
    EXPECT_EQ(ReadWhole(dir.Join("out/console/console_dep.Txt")),
              ReadWhole(shapes + "console/expected/console_dep.Txt"));
    // Counted without expanding: the expanded nodes are the lines of the export.
    EXPECT_EQ(Cli({"stats", dir.Join("out/console/console.wpj"), "--parse-literals"}).out,
              "target: Target: console  Windows NT character mode executable (32-bit Executable) "
              "[console.tgt]\nsources: 4\nunique files: 5\ninclude edges: 3\nfiles not found: 2\n"
              "expanded nodes: 28\n\ntotal\ntargets: 1\nsources: 4\nunique files: 5\n"
              "include edges: 3\nfiles not found: 2\nexpanded nodes: 29\n");
}

// p.wpj names t.tgt with the given sources (a.c including a.h, and b.c, are written) and release
// include directories, in the folder (ending in '/') of the temporary folder.
void WriteProject(const TempDir& dir, std::vector<std::string> items = {"a.c", "b.c"},
                  std::string includeDirectories = "", const std::string& folder = "") {
    projectwriter::TargetLayout layout;
    layout.items = std::move(items);
    layout.includeDirectories = std::move(includeDirectories);
    dir.Write(folder + "p.wpj", projectwriter::ProjectFileText({"t.tgt"}));
    dir.Write(folder + "t.tgt", projectwriter::TargetFileText(layout));
    dir.Write(folder + "a.c", "#include \"a.h\"\n");
    dir.Write(folder + "a.h", "");
    dir.Write(folder + "b.c", "");
}

struct CliCase {
    const char* name;
    const char* args;  // split at blanks, "" an empty one; '%' stands for the temporary folder
    void (*prepare)(TempDir&, FakeHostFs&);
    int exitCode;
    const char* err;  // whole, '%' for the temporary folder
    std::size_t nodeLimit = kDefaultNodeLimit;
};

// What each command says on standard error, whole, and its exit code: 2 for
// bad usage and files that are no project, 1 for work that failed.
TEST(RunCli, ExitCodeAndStandardError) {
    const CliCase cases[] = {
        {"NulSeparatedProject", "tree %/n.wpj",
         [](TempDir& dir, FakeHostFs&) {
             dir.Write("n.wpj", std::string("38\0projectIdent\0", 17));
         },
         0, ""},
        {"MissingProject", "tree %/none.wpj", nullptr, 2,
         "tamsk-cli: cannot read project file: cannot open %/none.wpj: No such file or "
         "directory\n"},
        {"ThroughAMissingFolder", "tree %/none/../p.wpj", nullptr, 2,
         "tamsk-cli: cannot read project file: cannot open %/none/../p.wpj: No such file or "
         "directory\n"},
        {"NotAProject", "export %/a.c", nullptr, 2,
         "tamsk-cli: not a Watcom IDE project file: %/a.c\n"},
        {"UnknownCommand", "bogus %/p.wpj", nullptr, 2,
         "tamsk-cli: unknown command \"bogus\"; the commands are tree, export, copy, deps, "
         "missing, includers, cycles, stats\n"},
        {"EmptyDestination", "copy %/p.wpj \"\"", nullptr, 2,
         "tamsk-cli: the destination folder must not be empty\n"},
        {"ExtraArgument", "tree %/p.wpj x\x1b[2J\ry", nullptr, 2,
         "tamsk-cli: The following argument was not expected: x [2J y; run with --help for more "
         "information\n"},
        {"UnreadableTarget", "tree %/p.wpj", [](TempDir&, FakeHostFs& fs) { fs.DenyOpen("t.tgt"); },
         1, "tamsk-cli: cannot read target file: cannot open %/t.tgt: Permission denied\n"},
        {"TooLargeToScan", "copy %/p.wpj %/out",
         [](TempDir& dir, FakeHostFs& fs) {
             dir.Write("b.c", std::string(5000, 'b'));
             fs.LimitReads(4096);
         },
         1, "tamsk-cli: %/b.c: larger than 4096 bytes; listed, not scanned\n"},
        {"ScanWorkLimit", "tree %/p.wpj", nullptr, 1,
         "tamsk-cli: warning: the walk over the tree stopped at its work limit after 10 "
         "nodes; the output is incomplete\n",
         10},
        {"ExportWorkLimit", "export %/p.wpj", nullptr, 1,
         "tamsk-cli: warning: the walk over the tree stopped at its work limit after 10 "
         "nodes; the output is incomplete\n",
         10},
        {"WalkWorkLimit", "cycles %/p.wpj",
         [](TempDir& dir, FakeHostFs&) {
             // Each file read once, b.c walked sixteen times: the walk passes the limit.
             dir.Write("a.c",
                       "#include \"a.h\"\n#include \"a.h\"\n"
                       "#include \"a.h\"\n#include \"a.h\"\n");
             dir.Write("a.h",
                       "#include \"b.c\"\n#include \"b.c\"\n#include \"b.c\"\n"
                       "#include \"b.c\"\n");
         },
         1,
         "tamsk-cli: warning: the walk over the tree stopped at its work limit after 20 "
         "nodes; the output is incomplete\n",
         20},
        {"ReaderWorkLimit", "tree %/p.wpj", nullptr, 1,
         "tamsk-cli: warning: the load stopped at its work limit after 4 nodes; the tree "
         "is incomplete\n",
         5},
        {"FailedCopyRow", "copy %/p.wpj %/out",
         [](TempDir&, FakeHostFs& fs) { fs.FailRename("out/a.h"); }, 1,
         "tamsk-cli: cannot copy a.h: cannot replace %/out/a.h: Operation not permitted\n"},
        {"ExportOntoAListedFile", "export %/p.wpj",
         [](TempDir& dir, FakeHostFs&) {
             WriteProject(dir, {"p_dep.Txt"});
             dir.Write("p_dep.Txt", "a source of the project");
         },
         1,
         "tamsk-cli: cannot write the dependency file: %/p_dep.Txt: is a file this project "
         "reads; left untouched\n"},
        {"UnknownDepsFormat", "deps %/p.wpj --format xml", nullptr, 2,
         "tamsk-cli: unknown format \"xml\"; the formats are json, make, dot, compile-commands\n"},
        {"EmptyOutputFile", "deps %/p.wpj --format json -o \"\"", nullptr, 2,
         "tamsk-cli: the output file must not be empty\n"},
        {"DepsOntoATargetFile", "deps %/p.wpj --format json -o %/t.tgt", nullptr, 1,
         "tamsk-cli: cannot write %/t.tgt: is a file this project reads; left untouched\n"},
        {"DepsWriteFails", "deps %/p.wpj --format dot -o %/p.dot",
         [](TempDir&, FakeHostFs& fs) { fs.FailRename("p.dot"); }, 1,
         "tamsk-cli: cannot write the output: cannot replace %/p.dot: Operation not permitted\n"},
        {"IncludedNowhere", "includers %/p.wpj %/none.h", nullptr, 1,
         "tamsk-cli: %/none.h is included nowhere in this project\n"},
    };
    const TokenRules blanks{" ", "\"\"", TokenEmpty::Keep, TokenQuotes::Remove, TokenEscapes::Off};
    for (const CliCase& c : cases) {
        SCOPED_TRACE(c.name);
#ifdef _WIN32  // the reason is the system's own text, which differs between Windows releases
        if (std::string_view(c.err).find("No such file or directory") != std::string_view::npos) {
            continue;
        }
#endif
        TempDir dir;
        FakeHostFs fs;
        WriteProject(dir);
        if (c.prepare != nullptr) {
            c.prepare(dir, fs);
        }
        Args args;
        for (const WString& arg : SplitTokens(c.args, blanks)) {
            args.push_back(Filled(arg.Str(), dir));
        }
        const CliRun run = Cli(args, &fs, c.nodeLimit);
        EXPECT_EQ(run.exitCode, c.exitCode) << run.out;
        // On Windows every path of a message is written with backslashes.
        EXPECT_EQ(run.err, WithPathSeparatorsOf(Filled(c.err, dir), kHostPathStyle));
    }
}

// The compiler folder lies inside the project folder: its headers are left out
// however the project path was typed, as the path is made absolute first.
TEST(RunCli, TheTreeDoesNotDependOnHowThePathWasTyped) {
    TempDir dir;
    WriteProject(dir, {"a.c"}, "$(%watcom)\\h");
    dir.Write("a.c", "#include <x.h>\n#include \"watcom\\h\\x.h\"\n");
    dir.Write("watcom/h/x.h", "");
    SetEnvironment("WATCOM", dir.Join("watcom"));
    const fs::path previous = fs::current_path();
    fs::current_path(dir.path());
    std::ostringstream relative, absolute, err;
    NativeHostFs fs;
    EXPECT_EQ(RunCli({"tamsk-cli", "tree", "p.wpj"}, relative, err, CliHost{fs}), 0);
    EXPECT_EQ(RunCli({"tamsk-cli", "tree", dir.Join("p.wpj")}, absolute, err, CliHost{fs}), 0);
    // A WATCOM that names no folder is said before the headers it leaves missing.
    SetEnvironment("WATCOM", dir.Join("a.c"));
    std::ostringstream missing;
    EXPECT_EQ(RunCli({"tamsk-cli", "missing", "p.wpj"}, missing, err, CliHost{fs}), 1);
    fs::current_path(previous);
    UnsetEnvironment("WATCOM");
    EXPECT_EQ(relative.str(), absolute.str());
    EXPECT_EQ(absolute.str().find("x.h"), std::string::npos) << absolute.str();
    EXPECT_EQ(err.str(),
              WithPathSeparatorsOf("tamsk-cli: WATCOM names no folder (" + dir.Join("a.c") +
                                       "): the compiler's own headers cannot be found\n",
                                   kHostPathStyle));
}

// The dependency file goes beside the project file as the system finds it: a folder typed in
// another case is the one on disk, and ".." after a link leads where the system says, not
// where the text would fold to (A/B/link/../pa is X/../pa, that is pa, never A/B/pa).
TEST(RunCli, TheProjectIsTheOneTheSystemOpens) {
    TempDir dir;
    WriteProject(dir, {"a.c", "b.c"}, "", "Proj/");
    const CliRun exported = Cli({"export", dir.Join("PROJ/p.wpj")});
    EXPECT_EQ(exported.exitCode, 0) << exported.err;
    EXPECT_EQ(Slashed(exported.out), Slashed(dir.Join("Proj/p_dep.Txt") + "\n"));
    EXPECT_EQ(treesnapshot::Paths(dir.Join("Proj")), "a.c a.h b.c p.wpj p_dep.Txt t.tgt");
#ifndef _WIN32
    WriteProject(dir, {"b.c"}, "", "A/B/pa/");
    fs::create_directories(dir.Join("X"));
    fs::create_directory_symlink(dir.Join("X"), dir.Join("A/B/link"));
    fs::rename(dir.Join("Proj"), dir.Join("pa"));
    const CliRun throughLink = Cli({"tree", dir.Join("A/B/link/../pa/p.wpj")});
    EXPECT_EQ(throughLink.exitCode, 0) << throughLink.err;
    EXPECT_EQ(throughLink.out, Cli({"tree", dir.Join("pa/p.wpj")}).out);
#endif
}

#ifdef __linux__
// Output that cannot be written says why, on one line of standard error, and every line written
// holds no control character (the dependency file's path comes from the project's name).
TEST(RunCli, OutputLinesAreWholeLinesAndTheirFailureIsReported) {
    TempDir dir;
    WriteProject(dir);
    fs::rename(dir.Join("p.wpj"), dir.Join("p\x1b[2J.wpj"));
    const CliRun exported = Cli({"export", dir.Join("p\x1b[2J.wpj")});
    EXPECT_EQ(exported.out, dir.Join("p [2J_dep.Txt\n"));

    const int full = ::open("/dev/full", O_WRONLY);
    ASSERT_GE(full, 0);
    FdOutputBuf buffer(full);
    std::ostream out(&buffer);
    std::ostringstream err;
    NativeHostFs native;
    EXPECT_EQ(RunCli({"tamsk-cli", "tree", dir.Join("p\x1b[2J.wpj")}, out, err, CliHost{native}),
              1);
    EXPECT_EQ(err.str(), "tamsk-cli: cannot write to standard output: No space left on device\n");
    ::close(full);
}
#endif

// --help names every command with an example of it.
TEST(RunCli, HelpShowsAnExampleOfEveryCommand) {
    const CliRun help = Cli({"--help"});
    EXPECT_EQ(help.exitCode, 0);
    for (const char* command :
         {"tree", "export", "copy", "deps", "missing", "includers", "cycles"}) {
        EXPECT_NE(help.out.find(std::string("\n  tamsk-cli ") + command + " "), std::string::npos)
            << command;
    }
}

}  // namespace
