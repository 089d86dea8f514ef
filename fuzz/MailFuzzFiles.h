#pragma once

// A temporary folder for the fuzz targets whose readers take paths (mail
// stores, and the catalogs that the rebuild replaces):
// each input is written to files here, read through the program's path model,
// and the folder goes with everything in it when the object goes.

#include "platform/base/PathMap.h"
#include "tests/support/ScratchFolder.h"

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <string>

class CMailFuzzFolder {
public:
    bool IsReady() const { return m_folder.IsValid(); }

    // Writes a file and returns its program path.
    std::string Write(const char* pszName, const uint8_t* pData, size_t nSize)
    {
        std::filesystem::path path = m_folder.Path() / pszName;
        std::ofstream(path, std::ios::binary)
            .write(reinterpret_cast<const char*>(pData), static_cast<std::streamsize>(nSize));
        return ProgramPathFromHostPath(path.string());
    }

private:
    ScratchFolder m_folder { "mailfuzz-" };
};
