#include <string>

#include "classlib/core/pathrules.h"
#include "cli/depsformats.h"
#include "cli/jsonstream.h"
#include "cli/sourcelanguage.h"

namespace {

// An absolute host path as the file system spells it (names a project gives
// are found without regard to case), in the platform's own separators.
std::string AbsoluteHostPath(HostFs& fs, std::string_view folder, std::string_view path) {
    std::string absolute =
        fs.Resolve(LexicallyFolded(PathInFolder(folder, WithHostSeparators(path))));
    return WithNativeSeparators(absolute);
}

class CompileCommandsVisitor : public ProjectVisitor {
public:
    CompileCommandsVisitor(JsonWriter& writer, HostFs& fs) : writer_(writer), fs_(fs) {}

    void BeginTarget(const TargetFacts& target) override {
        folder_ = target.folder;
        directory_ = AbsoluteHostPath(fs_, folder_, ".");
        includeSwitches_.clear();
        for (const std::string& piece : target.includeDirectories) {
            includeSwitches_.push_back("-I" + AbsoluteHostPath(fs_, folder_, piece));
        }
    }

    bool WantsDependencies() const override { return false; }

    void File(const FileVisit& file) override {
        if (file.depth != 0) {
            return;
        }
        const SourceLanguage language = LanguageOf(file.label);
        if (language == SourceLanguage::None) {
            return;
        }
        writer_.StartObject();
        writer_.Key("directory");
        WriteJsonString(writer_, directory_);
        const std::string path = AbsoluteHostPath(fs_, folder_, file.label);
        writer_.Key("file");
        WriteJsonString(writer_, path);
        writer_.Key("arguments");
        writer_.StartArray();
        writer_.String("clang");
        writer_.String("-x");
        writer_.String(language == SourceLanguage::C ? "c" : "c++");
        for (const std::string& include : includeSwitches_) {
            WriteJsonString(writer_, include);
        }
        WriteJsonString(writer_, path);
        writer_.EndArray();
        writer_.EndObject();
    }

private:
    JsonWriter& writer_;
    HostFs& fs_;
    std::string folder_;
    std::string directory_;
    std::vector<std::string> includeSwitches_;
};

}  // namespace

bool WriteCompileCommands(const LoadedProject& project, HostFs& fs, std::ostream& out) {
    {
        JsonBlockStream stream(out);
        JsonWriter writer(stream);
        writer.StartArray();
        CompileCommandsVisitor visitor(writer, fs);
        WalkProject(project, visitor);
        writer.EndArray();
        stream.Put('\n');
    }
    return static_cast<bool>(out);
}
