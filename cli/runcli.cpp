#include "cli/runcli.h"

#include <CLI/CLI.hpp>
#include <algorithm>
#include <array>

#include "cli/commands.h"
#include "project/projectfilescan.h"

namespace {

constexpr std::array<std::string_view, 3> kCommands = {"tree", "export", "copy"};

struct Options {
    std::string project;
    std::string destination;
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

// A first argument that is meant as a command but names none.
bool IsUnknownCommand(const std::string& word) {
    return !word.starts_with('-') &&
           std::find(kCommands.begin(), kCommands.end(), word) == kCommands.end();
}

int RunCommand(const std::vector<std::string>& args, std::ostream& out, std::ostream& err,
               const CliHost& host) {
    if (args.size() < 2) {
        ReportLine(err, "a command is needed; the commands are tree, export, copy");
        return ExitUsage;
    }
    if (IsUnknownCommand(args[1])) {
        ReportLine(err, "unknown command \"" + args[1] + "\"; the commands are tree, export, copy");
        return ExitUsage;
    }
    CLI::App app{"tamsk-cli: show, export and copy Watcom IDE projects", "tamsk-cli"};
    app.set_version_flag("--version", std::string("tamsk-cli ") + TAMSK_VERSION);
    app.require_subcommand(1);
    // The same command line on every host: "/path" is a path, never a "/option".
    app.allow_windows_style_options(false);

    Options options;
    CLI::App* tree =
        app.add_subcommand("tree", "Print the project tree, one blank of indent per level");
    AddProjectArguments(*tree, options);
    CLI::App* exportCommand =
        app.add_subcommand("export", "Write the tree to <project path without extension>_dep.Txt");
    AddProjectArguments(*exportCommand, options);
    CLI::App* copy = app.add_subcommand(
        "copy", "Copy the project file, its target files and every listed file into DEST");
    AddProjectArguments(*copy, options);
    copy->add_option("DEST", options.destination, "Destination folder")->required();

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
        err << "tamsk-cli: " << e.what() << "\nRun with --help for more information.\n";
        return ExitUsage;
    }
    const std::string project = AbsoluteProjectPath(options.project);
    if (tree->parsed()) {
        return RunTreeCommand(project, ParseFlag(options), host, out, err);
    }
    if (exportCommand->parsed()) {
        return RunExportCommand(project, ParseFlag(options), host, out, err);
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
