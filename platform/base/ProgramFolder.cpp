#include "platform/base/ProgramFolder.h"

#include <cstdlib>
#include <filesystem>

std::string GetProgramFolderHostPath()
{
    std::filesystem::path folder;
    if (const char* pszHome = std::getenv("ARCHIVORA_HOME"); pszHome && *pszHome)
        folder = pszHome;
    else if (const char* pszUserHome = std::getenv("HOME"); pszUserHome && *pszUserHome)
        folder = std::filesystem::path(pszUserHome) / ".local" / "share" / "archivora";
    else
        folder = std::filesystem::temp_directory_path() / "archivora";
    std::error_code ec;
    std::filesystem::create_directories(folder, ec);
    std::string strFolder = folder.lexically_normal().string();
    while (strFolder.size() > 1 && strFolder.back() == '/')
        strFolder.pop_back();
    return strFolder;
}
