#pragma once

#include <string_view>

// What a file's extension says about how it is compiled, letter case aside.
enum class SourceLanguage { None, C, CPlusPlus };

// C for .c and .h; C++ for .cpp, .cxx, .cc, .c++, .cp, .hpp, .hxx, .hh, .h++;
// None for everything else (resource scripts, libraries, data).
SourceLanguage LanguageOf(std::string_view path);

// The extension of what a source builds: ".obj" for C and C++ sources and
// assembler files, ".res" for resource scripts; empty for headers, libraries
// and anything else that builds nothing by itself.
std::string_view ObjectExtensionOf(std::string_view path);
