#include <gtest/gtest.h>
#include <rapidjson/document.h>
#include <rapidjson/error/en.h>

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <set>
#include <string>
#include <vector>

#include "tests/support/clirun.h"
#include "tests/support/projectwriter.h"
#include "tests/support/tempdir.h"

namespace {

namespace fs = std::filesystem;

// The graph example in a temporary folder: two targets sharing a source, an
// include cycle, names found nowhere, a source that does not exist and a
// header included from nowhere. The expected outputs were written by hand.
std::string CopyExample(const TempDir& dir, const char* name = "graph") {
    fs::copy(ExamplesFolder() + "/" + name, dir.Join(name), fs::copy_options::recursive);
    return dir.Join(name);
}

rapidjson::Document ParsedJson(const std::string& text) {
    rapidjson::Document document;
    document.Parse<rapidjson::kParseValidateEncodingFlag>(text.c_str());
    EXPECT_FALSE(document.HasParseError()) << rapidjson::GetParseError_En(document.GetParseError())
                                           << " at " << document.GetErrorOffset();
    return document;
}

// Slashed for JSON text: on Windows an escaped backslash becomes a slash.
std::string JsonSlashed(const std::string& text) {
#ifdef _WIN32
    std::string slashed;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const bool escaped = text[i] == '\\' && i + 1 < text.size() && text[i + 1] == '\\';
        slashed += escaped ? '/' : text[i];
        i += escaped ? 1 : 0;
    }
    return slashed;
#else
    return text;
#endif
}

std::string Str(const rapidjson::Value& value) {
    return value.IsNull() ? std::string("(null)") : std::string(value.GetString());
}

// The tree's lines rebuilt from the JSON document, so that it can be
// compared with the tree command's output.
void AppendFile(std::string& lines, const rapidjson::Value& file, int depth) {
    lines += std::string(static_cast<std::size_t>(depth), ' ') + Str(file["file"]) + "\n";
    for (const rapidjson::Value& include : file["includes"].GetArray()) {
        AppendFile(lines, include, depth + 1);
    }
}

std::string TreeFromJson(const rapidjson::Document& document) {
    const std::string project = Str(document["project"]);
    std::string lines =
        "Project: " + project.substr(0, project.rfind('.')) + " [" + project + "]\n";
    for (const rapidjson::Value& target : document["targets"].GetArray()) {
        const std::string file = Str(target["file"]);
        lines += " Target: " + Str(target["name"]);
        if (!target["imageType"].IsNull()) {
            lines += "  " + Str(target["imageType"]) + " [" +
                     file.substr(file.find_last_of("\\/") + 1) + "]";
        }
        lines += "\n  Target Name: " + Str(target["targetName"]) +
                 "\n  Default Include directories: " + Str(target["defaultIncludeDirectories"]) +
                 "\n";
        for (const char* group : {"Debug", "Release"}) {
            std::string switches;
            for (const rapidjson::Value& line : target["switches"].GetArray()) {
                if (Str(line["group"]) == group) {
                    switches += "   (" + Str(line["tool"]) + ") " + Str(line["text"]) + "\n";
                }
            }
            if (!switches.empty()) {
                lines += "  " + std::string(group) + " Switches\n" + switches;
            }
        }
        lines += "  Dependency Filelist\n";
        for (const rapidjson::Value& source : target["sources"].GetArray()) {
            AppendFile(lines, source, 3);
        }
        lines += "  Filelist\n";
        for (const auto& group : target["files"].GetObject()) {
            lines += "   " + std::string(group.name.GetString()) + "\n";
            for (const rapidjson::Value& path : group.value.GetArray()) {
                lines += "    " + Str(path) + "\n";
            }
        }
    }
    return lines;
}

struct ToolRun {
    int exitCode = -1;
    std::string output;  // standard output and error together
};

// Runs a command line through the shell; the tools the tests hand the outputs
// to are installed by scripts/install-deps.sh.
ToolRun RunTool(const std::string& command) {
    ToolRun run;
    FILE* pipe = popen((command + " 2>&1").c_str(), "r");
    if (pipe == nullptr) {
        return run;
    }
    char buffer[4096];
    for (std::size_t n; (n = fread(buffer, 1, sizeof buffer, pipe)) > 0;) {
        run.output.append(buffer, n);
    }
    run.exitCode = pclose(pipe);
    return run;
}

#ifdef _WIN32
#define SKIP_WITHOUT_TOOL(name) GTEST_SKIP() << "the tools run on Linux"
#else
bool HasTool(const char* name) {
    return RunTool(std::string("command -v ") + name).exitCode == 0;
}

#define SKIP_WITHOUT_TOOL(name)                                                            \
    if (!HasTool(name)) {                                                                  \
        GTEST_SKIP() << name << " is not installed (scripts/install-deps.sh installs it)"; \
    }
#endif

// Every output of the graph example against what was written by hand.
TEST(DepsCommands, GraphExample) {
    TempDir dir;
    const std::string graph = CopyExample(dir);
    const std::string project = graph + "/graph.wpj";
    const std::string expected = graph + "/expected/";
    const auto filledAtGraph = [&](const std::string& text) {
        return Substituted(text, {{'%', graph}});
    };

    const CliRun json = Cli({"deps", project, "--format", "json"});
    EXPECT_EQ(json.exitCode, 0) << json.err;
    EXPECT_EQ(ParsedJson(json.out), ParsedJson(ReadWhole(expected + "graph.json")));
    const CliRun make = Cli({"deps", project, "--format", "make"});
    EXPECT_EQ(Slashed(make.out), Slashed(filledAtGraph(ReadWhole(expected + "graph.mk"))));
    const CliRun dot = Cli({"deps", project, "--format", "dot"});
    EXPECT_EQ(dot.out, ReadWhole(expected + "graph.dot"));
    const CliRun database = Cli({"deps", project, "--format", "compile-commands"});
    EXPECT_EQ(ParsedJson(JsonSlashed(database.out)),
              ParsedJson(Substituted(ReadWhole(expected + "compile_commands.json"),
                                     {{'%', Slashed(graph)}})));

    const CliRun missing = Cli({"missing", project});
    EXPECT_EQ(missing.exitCode, 1);
    EXPECT_EQ(missing.out,
              "app: src\\main.c: stdio.h\n"
              "app: src\\draw.c: nowhere.h\n"
              "tool: src\\draw.c: units.h\n"
              "tool: src\\draw.c: nowhere.h\n"
              "tool: tool.tgt: src\\gone.c\n");
    EXPECT_EQ(missing.err,
              "tamsk-cli: WATCOM is not set: the compiler's own headers cannot be found\n");

    // Written as the user may type it: other case, forward slashes.
    const CliRun includers = Cli({"includers", project, graph + "/INC/Units.h"});
    EXPECT_EQ(includers.exitCode, 0) << includers.err;
    EXPECT_EQ(includers.out,
              "app: src\\main.c > inc\\app.h > inc\\units.h\n"
              "app: src\\draw.c > inc\\units.h\n"
              "tool: src\\tool.c > inc\\units.h\n");

    const CliRun cycles = Cli({"cycles", project});
    EXPECT_EQ(cycles.exitCode, 0);
    EXPECT_EQ(cycles.out, "inc\\ring_a.h > inc\\ring_b.h > inc\\ring_a.h\ninclude cycles: 1\n");
}

// The JSON document holds the whole tree: rebuilt from it, the tree's lines
// come back as the tree command prints them. A name that is no UTF-8 is read
// as Latin-1, so the document stays valid.
TEST(DepsCommands, JsonHoldsTheTree) {
    TempDir dir;
    for (const char* folder : {"shapes", "common"}) {
        CopyExample(dir, folder);
    }
    const std::string project = dir.Join("shapes/shapes.wpj");
    const CliRun json = Cli({"deps", project, "--format", "json", "--parse-literals"});
    EXPECT_EQ(json.exitCode, 0) << json.err;
    EXPECT_EQ(TreeFromJson(ParsedJson(json.out)), Cli({"tree", project, "--parse-literals"}).out);

    // A project of one target whose one source is a.c, in folder; returns its file.
    const auto oneSource = [&dir](const std::string& folder) {
        projectwriter::TargetLayout layout;
        layout.items = {"a.c"};
        dir.Write(folder + "/p.wpj", projectwriter::ProjectFileText({"t.tgt"}));
        dir.Write(folder + "/t.tgt", projectwriter::TargetFileText(layout));
        return dir.Join(folder + "/p.wpj");
    };
    // x.h and y.h include each other: below y.h, x.h is cut at y.h, not as it was met first.
    const std::string cycle = oneSource("cycle");
    dir.Write("cycle/a.c", "#include \"x.h\"\n#include \"y.h\"\n");
    dir.Write("cycle/x.h", "#include \"y.h\"\n");
    dir.Write("cycle/y.h", "#include \"x.h\"\n");
    EXPECT_EQ(TreeFromJson(ParsedJson(Cli({"deps", cycle, "--format", "json"}).out)),
              Cli({"tree", cycle}).out);

#ifndef _WIN32  // Windows names its files in UTF-16: a byte that is no UTF-8 names none
    const std::string odd = oneSource("odd");
    dir.Write("odd/a.c", "#include \"caf\xE9.h\"\n");
    dir.Write("odd/caf\xE9.h", "");
    const rapidjson::Document oddJson = ParsedJson(Cli({"deps", odd, "--format", "json"}).out);
    EXPECT_EQ(Str(oddJson["targets"][0]["sources"][0]["includes"][0]["file"]), "caf\xC3\xA9.h");
#endif
}

// GNU make reads the rules: a touched header makes exactly its includers'
// objects out of date, and a deleted one stops nothing. Names with blanks,
// '#' and '$', and prerequisites with '%', come through make's escapes.
TEST(DepsCommands, MakeRulesReadByGnuMake) {
    SKIP_WITHOUT_TOOL("make");
    TempDir dir;
    const std::string graph = CopyExample(dir);
    // The scan reads no blank or '#' in an include name, but an item may hold them.
    dir.Write("graph/src/a b#$.c", "#include \"x$%y.h\"\n");
    dir.Write("graph/inc/x$%y.h", "");
    dir.Write("graph/app.tgt",
              ReadWhole(graph + "/app.tgt") +
                  projectwriter::RenderLines(projectwriter::Item("src\\a b#$.c"), "\r\n"));
    ASSERT_EQ(
        Cli({"deps", graph + "/graph.wpj", "--format", "make", "-o", graph + "/deps.mk"}).exitCode,
        0);
    dir.Write(
        "graph/Makefile",
        "all: main.obj draw.obj tool.obj a\\ b\\#$$.obj\ninclude deps.mk\n%.obj:\n\techo $@\n");
    const auto old = fs::file_time_type::clock::now() - std::chrono::hours(2);
    const auto touchAll = [&] {
        for (const auto& entry : fs::recursive_directory_iterator(graph)) {
            fs::last_write_time(entry.path(), old);
        }
        for (const char* object : {"main.obj", "draw.obj", "tool.obj", "a b#$.obj"}) {
            dir.Write("graph/" + std::string(object), "");
        }
    };
    struct Case {
        const char* header;
        const char* outOfDate;
    } const cases[] = {
        {"inc/units.h", "echo main.obj\necho draw.obj\necho tool.obj\n"},
        {"inc/ring_b.h", "echo main.obj\n"},
        {"inc/app.h", "echo main.obj\n"},
        {"inc/x$%y.h", "echo a b#$.obj\n"},
        {"inc/lonely.h", ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.header);
        touchAll();
        fs::last_write_time(graph + "/" + c.header, fs::file_time_type::clock::now());
        const ToolRun run = RunTool("make -s -n -C '" + graph + "'");
        EXPECT_EQ(run.exitCode, 0) << run.output;
        EXPECT_EQ(run.output, std::string(c.outOfDate));
    }
    touchAll();
    fs::remove(graph + "/inc/ring_b.h");
    const ToolRun deleted = RunTool("make -s -n -C '" + graph + "'");
    EXPECT_EQ(deleted.exitCode, 0) << deleted.output;
    EXPECT_EQ(deleted.output, "echo main.obj\n");
}

// Graphviz reads the graph without a word, also with a source shared by
// several targets (it stands in one cluster only).
TEST(DepsCommands, DotReadByGraphviz) {
    SKIP_WITHOUT_TOOL("dot");
    TempDir dir;
    for (const char* folder : {"graph", "shapes", "common"}) {
        CopyExample(dir, folder);
    }
    for (const char* project : {"graph/graph.wpj", "shapes/shapes.wpj"}) {
        SCOPED_TRACE(project);
        const std::string output = dir.Join(project) + ".dot";
        ASSERT_EQ(Cli({"deps", dir.Join(project), "--format", "dot", "-o", output}).exitCode, 0);
        const ToolRun run = RunTool("dot -Tsvg -o /dev/null '" + output + "'");
        EXPECT_EQ(run.exitCode, 0);
        EXPECT_EQ(run.output, "");
    }
}

// The make rules and the graph pass by what lies below a header met before only where it cannot
// differ: x.h names cfg.h, found only through the chain, beside each source in its own folder.
TEST(DepsCommands, NamesFoundThroughTheChainDifferPerSource) {
    TempDir dir;
    projectwriter::TargetLayout layout;
    layout.items = {"one\\a.c", "two\\b.c"};
    layout.includeDirectories = "common";
    dir.Write("p.wpj", projectwriter::ProjectFileText({"t.tgt"}));
    dir.Write("t.tgt", projectwriter::TargetFileText(layout));
    for (const char* source : {"one/a.c", "two/b.c"}) {
        dir.Write(source, "#include \"x.h\"\n");
    }
    dir.Write("common/x.h", "#include \"cfg.h\"\n");
    dir.Write("one/cfg.h", "");
    dir.Write("two/cfg.h", "");
    const std::string project = dir.Join("p.wpj");
    const CliRun make = Cli({"deps", project, "--format", "make"});
    EXPECT_EQ(make.exitCode, 0) << make.err;
    EXPECT_NE(Slashed(make.out).find("a.obj: one/a.c common/x.h one/cfg.h\n"), std::string::npos)
        << make.out;
    EXPECT_NE(Slashed(make.out).find("b.obj: two/b.c common/x.h two/cfg.h\n"), std::string::npos)
        << make.out;
    const CliRun dot = Cli({"deps", project, "--format", "dot"});
    EXPECT_NE(dot.out.find("[label=\"one\\\\cfg.h\"]"), std::string::npos) << dot.out;
    EXPECT_NE(dot.out.find("[label=\"two\\\\cfg.h\"]"), std::string::npos) << dot.out;
}

// Hostile projects: a clique of headers (every directed cycle once, however
// many times the scan cut it), a name missing from every place that names it
// (once per naming file).
TEST(DepsCommands, HostileProjects) {
    TempDir dir;
    projectwriter::TargetLayout layout;
    layout.items = {"a.c", "b.c"};
    dir.Write("p.wpj", projectwriter::ProjectFileText({"t.tgt"}));
    dir.Write("t.tgt", projectwriter::TargetFileText(layout));
    const std::vector<std::string> clique = {"h1.h", "h2.h", "h3.h", "h4.h"};
    for (const std::string& header : clique) {
        std::string text = "#include \"gone.h\"\n";
        for (const std::string& other : clique) {
            text += other != header ? "#include \"" + other + "\"\n" : "";
        }
        dir.Write(header, text);
    }
    dir.Write("a.c", "#include \"h1.h\"\n#include \"gone.h\"\n");
    dir.Write("b.c", "#include \"h3.h\"\n");

    const CliRun cycles = Cli({"cycles", dir.Join("p.wpj")});
    std::vector<std::string> lines;
    std::set<std::string> distinct;
    for (std::size_t start = 0, end; (end = cycles.out.find('\n', start)) != std::string::npos;
         start = end + 1) {
        lines.push_back(cycles.out.substr(start, end - start));
        distinct.insert(lines.back());
    }
    // 6 cycles of two headers, 8 of three, 6 of four.
    ASSERT_EQ(lines.size(), 21u) << cycles.out;
    EXPECT_EQ(lines.back(), "include cycles: 20");
    EXPECT_EQ(distinct.size(), 21u);
    EXPECT_EQ(lines.front(), "h1.h > h2.h > h1.h");

    const CliRun missing = Cli({"missing", dir.Join("p.wpj")});
    EXPECT_EQ(missing.exitCode, 1);
    EXPECT_EQ(missing.out,
              "t: h1.h: gone.h\nt: h2.h: gone.h\nt: h3.h: gone.h\nt: h4.h: gone.h\n"
              "t: a.c: gone.h\n");
}

}  // namespace
