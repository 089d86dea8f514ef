#pragma once

// A program folder the benchmarks that start the program share: the catalog of
// the data set, set up, and a layout of one maximised view.

#include "platform/base/CString.h"

#include <filesystem>

namespace bench {

// The program path of a file of the folder.
CString ProgramPath(const std::filesystem::path& folder, const char* pszName);

// Writes the catalog files and the layout; false (after saying why) on failure.
bool PrepareProgramFolder(const std::filesystem::path& folder);

} // namespace bench
