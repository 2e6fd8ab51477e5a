#include "cli/runcli.h"

#include <CLI/CLI.hpp>
#include <algorithm>
#include <array>
#include <map>

#include "cli/commands.h"
#include "cli/fdoutput.h"
#include "project/projectfilescan.h"

namespace {

constexpr std::array<std::string_view, 8> kCommands = {"tree",    "export",    "copy",   "deps",
                                                       "missing", "includers", "cycles", "stats"};
constexpr std::string_view kCommandList =
    "the commands are tree, export, copy, deps, missing, includers, cycles, stats";

// An example per command, shown by --help.
constexpr const char* kExamples =
    "Examples:\n"
    "  tamsk-cli tree shapes.wpj\n"
    "  tamsk-cli export shapes.wpj --parse-literals\n"
    "  tamsk-cli copy shapes.wpj /tmp/shapes-copy\n"
    "  tamsk-cli deps shapes.wpj --format json -o shapes.json\n"
    "  tamsk-cli deps shapes.wpj --format make -o shapes.dep\n"
    "  tamsk-cli deps shapes.wpj --format dot | dot -Tsvg -o shapes.svg\n"
    "  tamsk-cli deps shapes.wpj --format compile-commands -o compile_commands.json\n"
    "  tamsk-cli missing shapes.wpj\n"
    "  tamsk-cli includers shapes.wpj include/shapes.h\n"
    "  tamsk-cli cycles shapes.wpj\n"
    "  tamsk-cli stats shapes.wpj\n";

const std::map<std::string, DepsFormat> kDepsFormats = {
    {"json", DepsFormat::Json},
    {"make", DepsFormat::Make},
    {"dot", DepsFormat::Dot},
    {"compile-commands", DepsFormat::CompileCommands},
};

struct Options {
    std::string project;
    std::string destination;
    std::string file;
    std::string format;
    std::string output;
    bool parseLiterals = false;
};

ParseLiterals ParseFlag(const Options& options) {
    return options.parseLiterals ? ParseLiterals::On : ParseLiterals::Off;
}

void AddProjectArguments(CLI::App& command, Options& options) {
    command.add_option("PROJECT", options.project, "Watcom IDE project file (*.wpj)")->required();
    command.add_flag("--parse-literals", options.parseLiterals,
                     "Also list files named in string literals of the sources");
}

// A subcommand that works on a project.
CLI::App* AddProjectCommand(CLI::App& app, const char* name, const char* description,
                            Options& options) {
    CLI::App* command = app.add_subcommand(name, description);
    AddProjectArguments(*command, options);
    return command;
}

// A first argument that is meant as a command but names none.
bool IsUnknownCommand(const std::string& word) {
    return !word.starts_with('-') &&
           std::find(kCommands.begin(), kCommands.end(), word) == kCommands.end();
}

int RunCommand(const std::vector<std::string>& args, std::ostream& out, std::ostream& err,
               const CliHost& host) {
    if (args.size() < 2) {
        ReportLine(err, "a command is needed; " + std::string(kCommandList));
        return ExitUsage;
    }
    if (IsUnknownCommand(args[1])) {
        ReportLine(err, "unknown command \"" + args[1] + "\"; " + std::string(kCommandList));
        return ExitUsage;
    }
    CLI::App app{"tamsk-cli: show, export and copy Watcom IDE projects", "tamsk-cli"};
    app.footer(kExamples);
    app.set_version_flag("--version", std::string("tamsk-cli ") + TAMSK_VERSION);
    app.require_subcommand(1);
    // The same command line on every host: "/path" is a path, never a "/option".
    app.allow_windows_style_options(false);

    Options options;
    CLI::App* tree = AddProjectCommand(
        app, "tree", "Print the project tree, one blank of indent per level", options);
    CLI::App* exportCommand = AddProjectCommand(
        app, "export", "Write the tree to <project path without extension>_dep.Txt", options);
    CLI::App* copy = AddProjectCommand(
        app, "copy", "Copy the project file, its target files and every listed file into DEST",
        options);
    CLI::App* stats = AddProjectCommand(
        app, "stats", "Print what the project is made of: per target and in total, name: value",
        options);
    copy->add_option("DEST", options.destination, "Destination folder")->required();
    CLI::App* deps = AddProjectCommand(
        app, "deps",
        "Write the dependencies as JSON, make rules, a Graphviz graph or a compilation "
        "database (to standard output, or to FILE)",
        options);
    deps->add_option("--format", options.format, "json, make, dot or compile-commands")->required();
    deps->add_option("-o,--output", options.output,
                     "Write to FILE (through a temporary file beside it) instead");
    CLI::App* missing = AddProjectCommand(
        app, "missing", "List every name that resolves to no file: target, naming file, name",
        options);
    CLI::App* includers = AddProjectCommand(
        app, "includers", "List every source whose tree holds FILE, with the shortest chain to it",
        options);
    includers->add_option("FILE", options.file, "The file looked for")->required();
    CLI::App* cycles = AddProjectCommand(
        app, "cycles", "List every include cycle that the scan cut, once each, and their count",
        options);

    std::vector<std::string> reversed(args.rbegin(), args.rend() - (args.empty() ? 0 : 1));
    try {
        app.parse(reversed);
    } catch (const CLI::CallForHelp& e) {
        out << app.help();
        return ExitOk;
    } catch (const CLI::CallForVersion& e) {
        out << e.what() << "\n";
        return ExitOk;
    } catch (const CLI::ParseError& e) {
        ReportLine(err, std::string(e.what()) + "; run with --help for more information");
        return ExitUsage;
    }
    const std::string project = AbsoluteProjectPath(options.project);
    if (tree->parsed()) {
        return RunTreeCommand(project, ParseFlag(options), host, out, err);
    }
    if (exportCommand->parsed()) {
        return RunExportCommand(project, ParseFlag(options), host, out, err);
    }
    if (deps->parsed()) {
        const auto format = kDepsFormats.find(options.format);
        if (format == kDepsFormats.end()) {
            ReportLine(err, "unknown format \"" + options.format +
                                "\"; the formats are json, make, dot, compile-commands");
            return ExitUsage;
        }
        if (deps->count("--output") > 0 && options.output.empty()) {
            ReportLine(err, "the output file must not be empty");
            return ExitUsage;
        }
        return RunDepsCommand(project, format->second, options.output, ParseFlag(options), host,
                              out, err);
    }
    if (missing->parsed()) {
        return RunMissingCommand(project, ParseFlag(options), host, out, err);
    }
    if (includers->parsed()) {
        return RunIncludersCommand(project, options.file, ParseFlag(options), host, out, err);
    }
    if (cycles->parsed()) {
        return RunCyclesCommand(project, ParseFlag(options), host, out, err);
    }
    if (stats->parsed()) {
        return RunStatsCommand(project, ParseFlag(options), host, out, err);
    }
    if (options.destination.empty()) {
        ReportLine(err, "the destination folder must not be empty");
        return ExitUsage;
    }
    return RunCopyCommand(project, options.destination, ParseFlag(options), host, out, err);
}

}  // namespace

int RunCli(const std::vector<std::string>& args, std::ostream& out, std::ostream& err,
           const CliHost& host) {
    const int code = RunCommand(args, out, err, host);
    // Output that did not arrive is work that failed (a full disk, a closed pipe).
    out.flush();
    if (!out) {
        const auto* buffer = dynamic_cast<const FdOutputBuf*>(out.rdbuf());
        const std::string reason = buffer != nullptr && !buffer->FailureReason().empty()
                                       ? buffer->FailureReason()
                                       : "the output stream failed";
        ReportLine(err, "cannot write to standard output: " + reason);
    }
    err.flush();
    if ((!out || !err) && code == ExitOk) {
        return ExitSomeWorkFailed;
    }
    return code;
}

int RunCli(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
    NativeHostFs fs;
    return RunCli(args, out, err, CliHost{fs});
}

int RunCliProcess(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
#if defined(__SANITIZE_ADDRESS__)
    return RunCli(args, out, err);
#else
    // A large project is millions of small pieces: freeing them one by one
    // costs a sixth of an export, and the process ends right after.
    auto* fs = new NativeHostFs;
    return RunCli(args, out, err, CliHost{*fs, kDefaultNodeLimit, true});
#endif
}
