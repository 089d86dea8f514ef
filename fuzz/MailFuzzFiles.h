#pragma once

// A temporary folder for the fuzz targets whose readers take paths (mail
// stores, and the catalogs that the rebuild replaces):
// each input is written to files here, read through the program's path model,
// and the folder goes with everything in it when the object goes.

#include "platform/base/PathMap.h"

#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

class CMailFuzzFolder {
public:
    CMailFuzzFolder()
    {
        std::string strTemplate = (std::filesystem::temp_directory_path() / "mailfuzz-XXXXXX").string();
        if (::mkdtemp(strTemplate.data()) != nullptr)
            m_path = strTemplate;
    }
    ~CMailFuzzFolder()
    {
        std::error_code ec;
        if (!m_path.empty())
            std::filesystem::remove_all(m_path, ec);
    }
    CMailFuzzFolder(const CMailFuzzFolder&) = delete;
    CMailFuzzFolder& operator=(const CMailFuzzFolder&) = delete;

    bool IsReady() const { return !m_path.empty(); }

    // Writes a file and returns its program path.
    std::string Write(const char* pszName, const uint8_t* pData, size_t nSize)
    {
        std::filesystem::path path = m_path / pszName;
        std::ofstream(path, std::ios::binary)
            .write(reinterpret_cast<const char*>(pData), static_cast<std::streamsize>(nSize));
        return ProgramPathFromHostPath(path.string());
    }

private:
    std::filesystem::path m_path;
};
