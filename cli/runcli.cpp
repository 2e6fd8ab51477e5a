#include "cli/runcli.h"

#include <CLI/CLI.hpp>

#include "cli/commands.h"

namespace {

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
}

void AddParseFlag(CLI::App& command, Options& options) {
    command.add_flag("--parse-literals", options.parseLiterals,
                     "Also list files named in string literals of the sources");
}

}  // namespace

int RunCli(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
    CLI::App app{"tamsk-cli: show, export and copy Watcom IDE projects", "tamsk-cli"};
    app.set_version_flag("--version", std::string("tamsk-cli ") + TAMSK_VERSION);
    app.require_subcommand(1);
    // The same command line on every host: "/path" is a path, never a "/option".
    app.allow_windows_style_options(false);

    Options options;
    CLI::App* tree = app.add_subcommand("tree", "Print the project tree, one blank of indent per level");
    AddProjectArguments(*tree, options);
    AddParseFlag(*tree, options);

    CLI::App* exportCommand = app.add_subcommand(
        "export", "Write the tree to <project path without extension>_dep.Txt");
    AddProjectArguments(*exportCommand, options);
    AddParseFlag(*exportCommand, options);

    CLI::App* copy = app.add_subcommand(
        "copy", "Copy the project file, its target files and every listed file into DEST");
    AddProjectArguments(*copy, options);
    copy->add_option("DEST", options.destination, "Destination folder")->required();
    AddParseFlag(*copy, options);

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

    if (tree->parsed()) {
        return RunTreeCommand(options.project, ParseFlag(options), out, err);
    }
    if (exportCommand->parsed()) {
        return RunExportCommand(options.project, ParseFlag(options), out, err);
    }
    return RunCopyCommand(options.project, options.destination, ParseFlag(options), out, err);
}
