#include "platform/shell/ShellExecute.h"

#include "platform/base/DriveTable.h"
#include "platform/base/PathMap.h"
#include "platform/base/ProgramFolder.h"
#include "platform/base/TextFunctions.h"
#include "platform/base/WinError.h"
#include "platform/shell/DesktopApps.h"
#include "platform/shell/DesktopExec.h"
#include "platform/shell/ProgramLaunch.h"
#include "platform/shell/WindowsCommandLine.h"

#include <cctype>

#include <sys/stat.h>
#include <unistd.h>

namespace {

constexpr INT_PTR SE_SUCCESS = 42; // any value above 32 tells success

HINSTANCE Result(INT_PTR nValue)
{
    return reinterpret_cast<HINSTANCE>(nValue);
}

HINSTANCE Fail(int nShellError, DWORD dwError)
{
    SetLastError(dwError);
    return Result(nShellError);
}

HINSTANCE Launch(const std::vector<std::string>& args, const std::string& strWorkingFolder)
{
    if (LaunchProgram(args, strWorkingFolder))
        return Result(SE_SUCCESS);
    DWORD dwError = GetLastError();
    return Fail(dwError == ERROR_DIRECTORY ? SE_ERR_PNF : SE_ERR_FNF, dwError);
}

// "http:", "mailto:", "file:", ...: a scheme of two or more characters, a letter first.
bool IsUrl(std::string_view text)
{
    size_t nColon = text.find(':');
    if (nColon == std::string_view::npos || nColon < 2 || !std::isalpha(static_cast<unsigned char>(text[0])))
        return false;
    for (size_t i = 1; i < nColon; ++i) {
        auto ch = static_cast<unsigned char>(text[i]);
        if (!std::isalnum(ch) && ch != '+' && ch != '-' && ch != '.')
            return false;
    }
    return true;
}

// A parameter as another program takes it: an absolute program path on an
// existing drive or share becomes its host path.
std::string HostArgument(const std::string& strArg)
{
    bool bDrivePath = strArg.size() >= 3 && std::isalpha(static_cast<unsigned char>(strArg[0])) && strArg[1] == ':'
        && (strArg[2] == '\\' || strArg[2] == '/');
    bool bUncPath = strArg.starts_with("\\\\");
    if (!bDrivePath && !bUncPath)
        return strArg;
    if (bDrivePath && !GetDriveTable()->GetDrive(strArg[0]))
        return strArg;
    std::string strHost;
    return HostPathFromProgramPath(strArg.c_str(), strHost) ? strHost : strArg;
}

bool EndsWithNoCase(const std::string& strText, std::string_view suffix)
{
    return strText.size() >= suffix.size()
        && Utf8CompareNoCase(std::string_view(strText).substr(strText.size() - suffix.size()), suffix) == 0;
}

bool IsOwnProgram(const std::string& strFile)
{
    char szModule[MAX_PATH];
    DWORD nLength = GetModuleFileName(nullptr, szModule, MAX_PATH);
    return nLength > 0 && nLength < MAX_PATH && Utf8CompareNoCase(strFile, szModule) == 0;
}

std::string OwnExecutable()
{
    std::string strPath(4096, '\0');
    ssize_t nLength = readlink("/proc/self/exe", strPath.data(), strPath.size());
    strPath.resize(nLength > 0 ? static_cast<size_t>(nLength) : 0);
    return strPath;
}

// Starts a launcher with the parameters as its files or URLs.
HINSTANCE StartLauncher(
    const std::string& strHostPath, const std::vector<std::string>& params, const std::string& strWorkingFolder)
{
    std::optional<CDesktopApp> app = DesktopAppOfFile(strHostPath);
    if (!app)
        return Fail(SE_ERR_NOASSOC, ERROR_BAD_FORMAT);
    CExecTargets targets;
    for (const std::string& strParam : params)
        (IsUrl(strParam) ? targets.urls : targets.files).push_back(strParam);
    targets.strIcon = app->strIcon;
    targets.strName = app->strName;
    targets.strLauncherPath = app->strFile;
    std::vector<std::string> args;
    if (!ExpandDesktopExec(app->strExec, targets, args))
        return Fail(SE_ERR_NOASSOC, ERROR_BAD_FORMAT);
    return Launch(args, strWorkingFolder);
}

HINSTANCE Execute(LPCSTR lpOperation, LPCSTR lpFile, LPCSTR lpParameters, LPCSTR lpDirectory)
{
    if (lpOperation && *lpOperation && Utf8CompareNoCase(lpOperation, "open") != 0)
        return Fail(SE_ERR_NOASSOC, ERROR_NO_ASSOCIATION);
    if (!lpFile || !*lpFile)
        return Fail(SE_ERR_FNF, ERROR_FILE_NOT_FOUND);
    std::string strFile = lpFile;
    std::string strWorkingFolder;
    struct stat folderInfo { };
    if (lpDirectory && *lpDirectory
        && (!HostPathFromProgramPath(lpDirectory, strWorkingFolder) || stat(strWorkingFolder.c_str(), &folderInfo) != 0
            || !S_ISDIR(folderInfo.st_mode)))
        return Fail(SE_ERR_PNF, ERROR_PATH_NOT_FOUND);
    std::vector<std::string> params;
    for (const std::string& strParam : SplitWindowsCommandLine(lpParameters ? lpParameters : ""))
        params.push_back(HostArgument(strParam));

    // A drive path "c:x" has a one-letter scheme: it is no URL.
    if (IsUrl(strFile))
        return Launch({ "xdg-open", strFile }, strWorkingFolder);
    if (IsOwnProgram(strFile)) {
        std::vector<std::string> args = { OwnExecutable() };
        args.insert(args.end(), params.begin(), params.end());
        return Launch(args, strWorkingFolder);
    }
    std::string strHostPath;
    struct stat info { };
    bool bFound = HostPathFromProgramPath(strFile.c_str(), strHostPath) && stat(strHostPath.c_str(), &info) == 0;
    if (!bFound && strFile.find_first_of("\\/:") == std::string::npos) {
        strHostPath = FindHostProgram(strFile.c_str()); // a bare program name, as the search path finds it
        bFound = !strHostPath.empty() && stat(strHostPath.c_str(), &info) == 0;
    }
    if (!bFound)
        return Fail(SE_ERR_FNF, ERROR_FILE_NOT_FOUND);
    if (S_ISDIR(info.st_mode))
        return Launch({ "xdg-open", strHostPath }, strWorkingFolder);
    if (EndsWithNoCase(strHostPath, ".desktop"))
        return StartLauncher(strHostPath, params, strWorkingFolder);
    if (S_ISREG(info.st_mode) && access(strHostPath.c_str(), X_OK) == 0 && (info.st_mode & 0111)) {
        std::vector<std::string> args = { strHostPath };
        args.insert(args.end(), params.begin(), params.end());
        return Launch(args, strWorkingFolder);
    }
    std::string strType = ContentTypeOfName(strHostPath.substr(strHostPath.rfind('/') + 1));
    if (strType.empty() || !DefaultAppForType(strType))
        return Fail(SE_ERR_NOASSOC, ERROR_NO_ASSOCIATION);
    return Launch({ "xdg-open", strHostPath }, strWorkingFolder);
}

} // namespace

HINSTANCE ShellExecute(HWND, LPCSTR lpOperation, LPCSTR lpFile, LPCSTR lpParameters, LPCSTR lpDirectory, INT)
{
    return Execute(lpOperation, lpFile, lpParameters, lpDirectory);
}

BOOL ShellExecuteEx(LPSHELLEXECUTEINFO lpExecInfo)
{
    if (!lpExecInfo || lpExecInfo->cbSize == 0) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    lpExecInfo->hProcess = nullptr;
    lpExecInfo->hInstApp
        = Execute(lpExecInfo->lpVerb, lpExecInfo->lpFile, lpExecInfo->lpParameters, lpExecInfo->lpDirectory);
    return reinterpret_cast<INT_PTR>(lpExecInfo->hInstApp) > 32 ? TRUE : FALSE;
}
