// Compiling a set of window descriptions into the template block.
#pragma once

#include "ui/framework/template_block.h"

#include <string>
#include <vector>

namespace tc {

struct CompileOptions {
    std::vector<std::string> descriptions; // one window each
    std::string assetDirectory;
    std::string blockPath;   // the block itself
    std::string sourcePath;  // a C++ source defining app::kTemplateBlock
    std::string depfilePath; // optional: the files read, for the build
    std::string defaultIconPath; // optional: the program's icon, embedded beside the block
    std::vector<std::string> handlerNames;
    std::size_t handlerEntrySize = 0;
};

// The windows of the descriptions, ordered by window id as the block wants
// them; the error text is empty on success.
struct CompiledWindows {
    std::vector<ui::WindowTemplate> windows;
    std::vector<std::string> filesRead;
    std::string error;
};
CompiledWindows CompileWindows(const CompileOptions& options);

// Compiles and writes the outputs; returns an error text, empty on success.
std::string Compile(const CompileOptions& options);

} // namespace tc
