#include <string>

#include "cli/commands.h"
#include "cli/depsformats.h"
#include "project/projectfiles.h"

namespace {

bool WriteFormat(const LoadedProject& project, DepsFormat format, HostFs& fs, std::ostream& out) {
    switch (format) {
        case DepsFormat::Json:
            return WriteDepsJson(project, out);
        case DepsFormat::Make:
            return WriteMakeRules(project, fs, out);
        case DepsFormat::Dot:
            return WriteDot(project, out);
        case DepsFormat::CompileCommands:
            return WriteCompileCommands(project, fs, out);
    }
    return false;
}

}  // namespace

int RunDepsCommand(const std::string& project, DepsFormat format, const std::string& outputPath,
                   ParseLiterals parseLiterals, const CliHost& host, std::ostream& out,
                   std::ostream& err) {
    return RunOnLoadedProject(
        project, parseLiterals, host, err, [&](const LoadedProject& loaded, int status) -> int {
            if (outputPath.empty()) {
                return WriteFormat(loaded, format, host.fs, out) ? status : ExitSomeWorkFailed;
            }
            if (IsReadByProject(loaded.tree, outputPath, host.fs)) {
                ReportLine(err, "cannot write " + ReadByProjectRefusal(outputPath));
                return ExitSomeWorkFailed;
            }
            const HostStatus written = host.fs.WriteFileAtomically(
                outputPath,
                [&](std::ostream& file) { return WriteFormat(loaded, format, host.fs, file); });
            if (!written.ok()) {
                ReportLine(err, "cannot write the output: " + written.reason);
                return ExitSomeWorkFailed;
            }
            return status;
        });
}
