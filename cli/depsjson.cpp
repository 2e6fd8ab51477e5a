#include <optional>
#include <string>
#include <unordered_map>
#include <vector>

#include <rapidjson/stringbuffer.h>

#include "classlib/core/utf16.h"
#include "cli/depsformats.h"
#include "cli/jsonstream.h"

namespace {

// The text kept of files' includes arrays, and the text of the includes
// arrays being written that is to be kept.
constexpr std::size_t kKeptTextBudget = 3u << 20;
constexpr std::size_t kOpenTextLimit = 512u << 10;

// Streams the document as the walk goes: the nesting of a source's files
// follows their depths, so only the open levels are kept (by the writer).
// A file's includes are the same wherever it stands in a target when the walk
// says so; the document is compact, so their text is too, and it is written
// once per target and copied where the file recurs.
class JsonVisitor : public ProjectVisitor {
public:
    JsonVisitor(JsonWriter& writer, JsonBlockStream& stream) : writer_(writer), stream_(stream) {
        keptText_.reserve(kKeptTextBudget);
    }

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
        kept_.clear();
        keptText_.clear();
    }

    // Each file is {"file", "includes": [...]}; a file at depth d closes the
    // files open at depth d and below.
    void File(const FileVisit& file) override {
        CloseFilesTo(file.depth);
        ++files_;
        if (!keeping_.empty() && stream_.Held() >= kOpenTextLimit) {
            StopKeeping();  // too large to keep: the text goes out
        }
        writer_.StartObject();
        RawKey(R"("file")");
        const std::string& quoted = Quoted(file);
        writer_.RawValue(quoted.data(), quoted.size(), rapidjson::kStringType);
        RawKey(R"("includes")");
        writer_.StartArray();
        open_ = file.depth + 1;
    }

    // The file's includes as kept, or, met first, their text to be kept.
    std::size_t CopyBelow(const FileVisit& file, std::size_t room) override {
        if (const auto found = kept_.find(file.file); found != kept_.end()) {
            const Kept& kept = found->second;
            if (kept.files == 0 || kept.files > room) {
                return 0;
            }
            // The first elements of the array just opened: no separator before them,
            // and nothing follows them in it, so the writer need not count them.
            stream_.Write(std::string_view(keptText_).substr(kept.at, kept.size));
            files_ += kept.files;
            return kept.files;
        }
        keeping_.push_back({file.depth, file.file, stream_.Mark(), files_});
        stream_.Hold();
        return 0;
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
            const std::string utf8 = Utf8OrLatin1(file.label);
            writer.String(utf8.data(), static_cast<rapidjson::SizeType>(utf8.size()));
            quoted.assign(buffer.GetString(), buffer.GetSize());
        }
        return quoted;
    }
    void CloseFilesTo(int depth) {
        for (; open_ > depth; --open_) {
            if (!keeping_.empty() && keeping_.back().depth == open_ - 1) {
                KeepClosing();
            }
            writer_.EndArray();
            writer_.EndObject();
        }
    }
    // The includes of the innermost file being kept are complete.
    void KeepClosing() {
        const Keeping done = keeping_.back();
        keeping_.pop_back();
        const std::string_view text = stream_.Since(done.start);
        if (keptText_.size() + text.size() <= kKeptTextBudget) {
            kept_.try_emplace(done.file, Kept{keptText_.size(), text.size(), files_ - done.files});
            keptText_.append(text);
        }
        if (keeping_.empty()) {
            stream_.Release();
        }
    }
    void StopKeeping() {
        keeping_.clear();
        stream_.Release();
    }
    void EndSources() {
        CloseFilesTo(0);
        writer_.EndArray();
    }

    JsonWriter& writer_;
    JsonBlockStream& stream_;
    Part part_ = Part::Sources;
    int open_ = 0;
    // The files written or copied so far: what a kept text stands for.
    std::size_t files_ = 0;
    // The elements of a file's includes array, as written: where in keptText_.
    struct Kept {
        std::size_t at = 0;
        std::size_t size = 0;
        std::size_t files = 0;
    };
    std::unordered_map<std::uint32_t, Kept> kept_;  // by file, of the target under way
    std::string keptText_;                          // one after another, never reallocated
    struct Keeping {
        int depth;
        std::uint32_t file;
        std::size_t start;  // in the held stream
        std::size_t files;
    };
    std::vector<Keeping> keeping_;  // innermost last
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
        JsonVisitor visitor(writer, stream);
        WalkProject(project, visitor);
        writer.EndArray();
        writer.EndObject();
        stream.Put('\n');
    }
    return static_cast<bool>(out);
}
