#pragma once

// What the fuzz targets that read the registry share: a program folder of the
// run's own (made once, named by ARCHIVORA_HOME) and one root's settings file
// replaced whole by the input.

#include "platform/base/RegistryFormat.h"
#include "tests/support/ScratchFolder.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <string_view>

// The settings folder of the run's program folder.
inline const std::filesystem::path& FuzzSettingsFolder()
{
    static ScratchFolder* pFolder = [] {
        auto* p = new ScratchFolder("registry-fuzz-");
        if (!p->IsValid() || setenv("ARCHIVORA_HOME", p->Path().c_str(), 1) != 0)
            std::abort();
        std::filesystem::create_directories(p->Path() / "settings");
        return p;
    }();
    static const std::filesystem::path settings = pFolder->Path() / "settings";
    return settings;
}

// Makes text the settings file pszFileName ("ClassesRoot.reg", ...) when it
// parses; false (nothing written) when it does not: the store would set such
// a file aside whole.
inline bool WriteFuzzRegistryFile(std::string_view text, const char* pszFileName)
{
    CRegistryNode root;
    std::string strError;
    if (!ParseRegistryText(text, root, strError))
        return false;
    const std::filesystem::path& settings = FuzzSettingsFolder();
    const std::filesystem::path file = settings / pszFileName;
    const std::filesystem::path next = settings / (std::string(pszFileName) + ".new");
    {
        std::ofstream out(next, std::ios::binary | std::ios::trunc);
        out.write(text.data(), static_cast<std::streamsize>(text.size()));
    }
    std::filesystem::rename(next, file);
    return true;
}
