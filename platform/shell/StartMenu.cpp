#include "platform/shell/StartMenu.h"

#include "platform/base/PathNames.h"
#include "platform/base/ProgramFolder.h"
#include "platform/base/TextFunctions.h"
#include "platform/base/WinError.h"
#include "platform/shell/DesktopApps.h"
#include "platform/shell/DesktopExec.h"

#include <cerrno>
#include <cstdio>
#include <fstream>
#include <map>
#include <set>

#include <sys/stat.h>

namespace {

constexpr const char* PRESENTED_MARK = "X-Archivora-Presented=true";

// An application's name as a file name: no characters names cannot hold, no
// trailing dots or blanks.
std::string FileNameOf(const std::string& strName)
{
    std::string strFile;
    for (char ch : strName)
        strFile += static_cast<unsigned char>(ch) < 0x20
                || std::string_view("<>:\"/\\|?*").find(ch) != std::string_view::npos
            ? '_'
            : ch;
    while (!strFile.empty() && (strFile.back() == '.' || strFile.back() == ' '))
        strFile.pop_back();
    return strFile;
}

// The text of a file; empty for anything else (the user's own subfolders).
std::string ReadText(const std::string& strPath)
{
    struct stat status { };
    if (stat(strPath.c_str(), &status) != 0 || !S_ISREG(status.st_mode))
        return {};
    std::ifstream file(strPath);
    return std::string(std::istreambuf_iterator<char>(file), {});
}

bool IsMarked(const std::string& strText)
{
    return strText.find(std::string("\n") + PRESENTED_MARK + "\n") != std::string::npos;
}

} // namespace

std::string StartMenuHostFolder()
{
    return JoinHostPath(GetProgramFolderHostPath(), "Start Menu");
}

DWORD PresentStartMenu()
{
    std::string strFolder = StartMenuHostFolder();
    if (mkdir(strFolder.c_str(), 0755) != 0 && errno != EEXIST)
        return Win32ErrorFromErrno(errno);
    // Names the files without the mark hold are not ours to take.
    std::map<std::string, std::string> existing; // file name -> text
    std::set<std::string> takenLower;
    for (const std::string& strName : ListHostFolder(strFolder)) {
        std::string strText = ReadText(JoinHostPath(strFolder, strName));
        if (!IsMarked(strText))
            takenLower.insert(Utf8ToLower(strName));
        existing[strName] = std::move(strText);
    }
    std::map<std::string, std::string> wanted; // file name -> text
    for (const CDesktopApp& app : AllDesktopApps()) {
        std::string strBase = FileNameOf(app.strName);
        if (!app.bShown || strBase.empty())
            continue;
        std::string strFile = strBase + ".desktop";
        for (int n = 2; takenLower.count(Utf8ToLower(strFile)); ++n)
            strFile = strBase + " (" + std::to_string(n) + ").desktop";
        takenLower.insert(Utf8ToLower(strFile));
        wanted[strFile] = "[Desktop Entry]\nType=Link\nName=" + app.strName + "\nURL=" + FileUrlOfHostPath(app.strFile)
            + "\n" + PRESENTED_MARK + "\n";
    }
    DWORD dwResult = ERROR_SUCCESS;
    for (const auto& [strName, strText] : existing) {
        if (IsMarked(strText) && !wanted.count(strName) && std::remove(JoinHostPath(strFolder, strName).c_str()) != 0)
            dwResult = Win32ErrorFromErrno(errno);
    }
    for (const auto& [strName, strText] : wanted) {
        auto it = existing.find(strName);
        if (it != existing.end() && it->second == strText)
            continue;
        std::string strPath = JoinHostPath(strFolder, strName);
        std::ofstream file(strPath, std::ios::trunc);
        file << strText;
        file.close();
        if (!file)
            dwResult = ERROR_WRITE_FAULT;
    }
    return dwResult;
}
