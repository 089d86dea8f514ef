#pragma once

// The resource compiler: reads a resource script and the ID headers it
// includes, and produces a resource module. resources/FORMAT.md describes the
// script language and the module it becomes.

#include "platform/base/WinTypes.h"

#include <filesystem>
#include <string>
#include <vector>

struct RcOutput {
    std::vector<BYTE> module;                  // the module file's bytes
    std::vector<std::filesystem::path> inputs; // every file read: script, headers, images, data
};

// Compiles `script`. FALSE with strError worded "file:line: message" when the
// script, a header it includes or a file it names is missing or malformed.
[[nodiscard]] bool CompileResourceScript(const std::filesystem::path& script, RcOutput& output, std::string& strError);
