#include "platform/shell/HtmlHelp.h"

#include "platform/base/PathMap.h"
#include "platform/base/PathNames.h"
#include "platform/base/ResourceModule.h"
#include "platform/base/WinError.h"
#include "platform/controls/StandardControls.h"
#include "platform/shell/ProgramLaunch.h"
#include "platform/window/MessageBox.h"

#include <sys/stat.h>

namespace {

bool IsFile(const std::string& strHostPath)
{
    struct stat info { };
    return stat(strHostPath.c_str(), &info) == 0 && S_ISREG(info.st_mode);
}

// The host path of a page of the help pages' folder; empty when it is not there.
std::string FindPage(const std::string& strHelpFile, const std::string& strPage)
{
    size_t nSeparator = strHelpFile.find_last_of("\\/");
    std::string strFolder = nSeparator == std::string::npos ? std::string() : strHelpFile.substr(0, nSeparator + 1);
    std::string strName = strHelpFile.substr(nSeparator == std::string::npos ? 0 : nSeparator + 1);
    std::string strStem = strName.substr(0, strName.rfind('.'));
    // Beside the help file's path first, then where the program's read-only files are.
    std::string strHostPath;
    if (!strFolder.empty() && HostPathFromProgramPath((strFolder + strStem + "\\" + strPage).c_str(), strHostPath)
        && IsFile(strHostPath))
        return strHostPath;
    std::string strPages = FindProgramDataFile(strStem);
    if (strPages.empty())
        return {};
    // The page's name is matched as the path model matches names.
    std::string strProgramPages = ProgramPathFromHostPath(strPages);
    if (strProgramPages.empty() || !HostPathFromProgramPath((strProgramPages + "\\" + strPage).c_str(), strHostPath))
        return {};
    return IsFile(strHostPath) ? strHostPath : std::string();
}

} // namespace

HWND HtmlHelp(HWND hwndCaller, LPCSTR pszFile, UINT uCommand, DWORD_PTR)
{
    if (uCommand != HH_DISPLAY_TOPIC || !pszFile) {
        SetLastError(ERROR_NOT_SUPPORTED);
        return nullptr;
    }
    std::string strFile = pszFile;
    size_t nTopic = strFile.find("::");
    std::string strHelpFile = strFile.substr(0, nTopic);
    std::string strPage = nTopic == std::string::npos ? std::string() : strFile.substr(nTopic + 2);
    while (!strPage.empty() && (strPage.front() == '/' || strPage.front() == '\\'))
        strPage.erase(0, 1);
    std::string strHostPath = strPage.empty() ? std::string() : FindPage(strHelpFile, strPage);
    if (!strHostPath.empty() && LaunchProgram({ "xdg-open", strHostPath })) {
        SetLastError(ERROR_SUCCESS);
        return nullptr;
    }
    RegisterStandardControls(); // the message box's button
    std::string strText = "Help is not installed (" + strPage + ").";
    MessageBox(hwndCaller, strText.c_str(), "Help", MB_OK | MB_ICONINFORMATION);
    SetLastError(ERROR_FILE_NOT_FOUND);
    return nullptr;
}
