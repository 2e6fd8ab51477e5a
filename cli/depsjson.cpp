#include <optional>
#include <string>
#include <vector>

#include <rapidjson/stringbuffer.h>

#include "cli/depsformats.h"
#include "cli/jsonstream.h"

namespace {

// Streams the document as the walk goes: the nesting of a source's files
// follows their depths, so only the open levels are kept (by the writer).
class JsonVisitor : public ProjectVisitor {
public:
    explicit JsonVisitor(JsonWriter& writer) : writer_(writer) {}

    void BeginTarget(const TargetFacts& target) override {
        writer_.StartObject();
        Field("file", target.reference);
        Field("name", std::string_view(target.name));
        Field("imageType", target.imageType);
        Field("targetName", target.targetName);
        Field("defaultIncludeDirectories", target.defaultIncludeDirectories);
        writer_.Key("switches");
        writer_.StartArray();
        for (const SwitchFacts& line : target.switches) {
            writer_.StartObject();
            Field("group", line.group);
            Field("tool", line.tool);
            Field("text", line.text);
            writer_.EndObject();
        }
        writer_.EndArray();
        writer_.Key("sources");
        writer_.StartArray();
        part_ = Part::Sources;
        open_ = 0;
    }

    // Each file is {"file", "includes": [...]}; a file at depth d closes the
    // files open at depth d and below.
    void File(const FileVisit& file) override {
        CloseFilesTo(file.depth);
        writer_.StartObject();
        RawKey(R"("file")");
        const std::string& quoted = Quoted(file);
        writer_.RawValue(quoted.data(), quoted.size(), rapidjson::kStringType);
        RawKey(R"("includes")");
        writer_.StartArray();
        open_ = file.depth + 1;
    }

    void ListedFile(std::string_view extension, std::string_view path) override {
        if (part_ == Part::Sources) {
            EndSources();
            writer_.Key("files");
            writer_.StartObject();
            part_ = Part::Files;
        }
        if (extension != extension_) {
            if (!extension_.empty()) {
                writer_.EndArray();
            }
            extension_ = extension;
            WriteJsonString(writer_, extension);  // as a key
            writer_.StartArray();
        }
        WriteJsonString(writer_, path);
    }

    void EndTarget(const TargetFacts&) override {
        if (part_ == Part::Sources) {
            EndSources();
            writer_.Key("files");
            writer_.StartObject();
        } else if (!extension_.empty()) {
            writer_.EndArray();
        }
        writer_.EndObject();  // files
        writer_.EndObject();  // the target
        extension_.clear();
    }

private:
    enum class Part { Sources, Files };

    void Field(const char* key, std::string_view value) {
        writer_.Key(key);
        WriteJsonString(writer_, value);
    }
    void Field(const char* key, const std::optional<std::string_view>& value) {
        writer_.Key(key);
        if (value) {
            WriteJsonString(writer_, *value);
        } else {
            writer_.Null();
        }
    }
    // A key known to need no escapes, written as it stands (millions of nodes).
    void RawKey(std::string_view quoted) {
        writer_.RawValue(quoted.data(), quoted.size(), rapidjson::kStringType);
    }
    // The label as a JSON string, made once per label: millions of nodes share
    // a few thousand labels.
    const std::string& Quoted(const FileVisit& file) {
        if (file.labelId >= quoted_.size()) {
            quoted_.resize(file.labelId + 1);
        }
        std::string& quoted = quoted_[file.labelId];
        if (quoted.empty()) {
            rapidjson::StringBuffer buffer;
            rapidjson::Writer<rapidjson::StringBuffer> writer(buffer);
            const std::string utf8 = AsUtf8(file.label);
            writer.String(utf8.data(), static_cast<rapidjson::SizeType>(utf8.size()));
            quoted.assign(buffer.GetString(), buffer.GetSize());
        }
        return quoted;
    }
    void CloseFilesTo(int depth) {
        for (; open_ > depth; --open_) {
            writer_.EndArray();
            writer_.EndObject();
        }
    }
    void EndSources() {
        CloseFilesTo(0);
        writer_.EndArray();
    }

    JsonWriter& writer_;
    Part part_ = Part::Sources;
    int open_ = 0;
    std::string extension_;
    std::vector<std::string> quoted_;  // by label id
};

}  // namespace

bool WriteDepsJson(const LoadedProject& project, std::ostream& out) {
    {
        JsonBlockStream stream(out);
        JsonWriter writer(stream);
        writer.StartObject();
        writer.Key("version");
        writer.Int(kDepsJsonVersion);
        writer.Key("project");
        WriteJsonString(writer, ProjectFileName(project));
        writer.Key("targets");
        writer.StartArray();
        JsonVisitor visitor(writer);
        WalkProject(project, visitor);
        writer.EndArray();
        writer.EndObject();
        stream.Put('\n');
    }
    return static_cast<bool>(out);
}
