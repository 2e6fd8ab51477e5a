#pragma once

#include <string>
#include <string_view>
#include <utility>
#include <vector>

// A fresh folder under the system's temporary folder, removed with everything
// in it when the object goes. Every test that touches the disk makes its own.
class TempDir {
public:
    TempDir();
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    // The folder, with '/' separators and no trailing separator.
    const std::string& path() const { return path_; }
    // path() + "/" + relative.
    std::string Join(std::string_view relative) const;
    // Writes bytes to relative (folders created as needed); returns the full path.
    std::string Write(std::string_view relative, std::string_view bytes) const;
    std::string MakeFolder(std::string_view relative) const;

private:
    std::string path_;
};

// text with each marker character replaced by its text: {{'%', dir.path()}}.
std::string Substituted(std::string_view text,
                        const std::vector<std::pair<char, std::string>>& markers);

// Whole contents of a file, or "<missing>" when it cannot be read.
std::string ReadWhole(const std::string& path);

// The shared corpus of IDE-written files, or empty when it is not there.
std::string CorpusFolder();
// The project's examples/ folder.
std::string ExamplesFolder();
// The source tree the tests were built from (test data beside the tests).
std::string SourceFolder();
