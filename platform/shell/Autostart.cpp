#include "platform/shell/Autostart.h"

#include "platform/base/PathNames.h"
#include "platform/base/WinError.h"
#include "platform/base/XdgFolders.h"
#include "platform/shell/WindowsCommandLine.h"

#include <cerrno>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <map>

#include <glib.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

constexpr const char* RUN_MARK = "X-Archivora-Run";
constexpr const char* COMMAND_MARK = "X-Archivora-Command";

std::string AutostartFolder()
{
    std::string strConfig = XdgConfigHome();
    return strConfig.empty() ? std::string() : JoinHostPath(strConfig, "autostart");
}

// A value name as a part of a file name.
std::string FileNamePart(const std::string& strName)
{
    std::string strPart;
    for (char ch : strName)
        strPart += static_cast<unsigned char>(ch) < 0x20 || ch == '/' ? '_' : ch;
    return strPart;
}

// One argument quoted for an Exec line.
std::string ExecArgument(const std::string& strArg)
{
    std::string strQuoted = "\"";
    for (char ch : strArg) {
        if (ch == '"' || ch == '`' || ch == '$' || ch == '\\')
            strQuoted += '\\';
        if (ch == '%')
            strQuoted += '%'; // a field code's sign, doubled
        strQuoted += ch;
    }
    return strQuoted + "\"";
}

// A value's text for a key-file: newlines and backslashes escaped.
std::string KeyFileValue(const std::string& strText)
{
    std::string strEscaped;
    for (char ch : strText) {
        switch (ch) {
        case '\\':
            strEscaped += "\\\\";
            break;
        case '\n':
            strEscaped += "\\n";
            break;
        case '\t':
            strEscaped += "\\t";
            break;
        case '\r':
            strEscaped += "\\r";
            break;
        default:
            strEscaped += ch;
            break;
        }
    }
    return strEscaped;
}

std::string OwnExecutable()
{
    std::string strPath(4096, '\0');
    ssize_t nLength = readlink("/proc/self/exe", strPath.data(), strPath.size());
    strPath.resize(nLength > 0 ? static_cast<size_t>(nLength) : 0);
    return strPath;
}

DWORD WriteLauncher(const std::string& strName, const std::string& strCommand)
{
    std::string strFolder = AutostartFolder();
    if (strFolder.empty())
        return ERROR_PATH_NOT_FOUND;
    std::vector<std::string> args = SplitWindowsCommandLine(strCommand);
    std::string strExec = ExecArgument(OwnExecutable());
    for (size_t i = 1; i < args.size(); ++i)
        strExec += " " + ExecArgument(args[i]);
    std::string strText = "[Desktop Entry]\nType=Application\nName=" + KeyFileValue(strName)
        + "\nExec=" + KeyFileValue(strExec) + "\n" + RUN_MARK + "=" + KeyFileValue(strName) + "\n" + COMMAND_MARK + "="
        + KeyFileValue(strCommand) + "\n";
    std::string strPath = AutostartLauncherPath(strName);
    std::string strTemporary = strPath + ".tmp";
    std::error_code ec;
    std::filesystem::create_directories(strFolder, ec);
    if (ec)
        return ERROR_ACCESS_DENIED;
    {
        std::ofstream file(strTemporary, std::ios::trunc);
        file << strText;
        file.close();
        if (!file) {
            std::remove(strTemporary.c_str());
            return ERROR_WRITE_FAULT;
        }
    }
    if (std::rename(strTemporary.c_str(), strPath.c_str()) != 0) {
        std::remove(strTemporary.c_str());
        return ERROR_ACCESS_DENIED;
    }
    return ERROR_SUCCESS;
}

// The marked launchers of the autostart folder that the desktop still runs:
// value name -> the value's text.
std::map<std::string, std::string> MarkedLaunchers()
{
    std::map<std::string, std::string> launchers;
    std::string strFolder = AutostartFolder();
    for (const std::string& strFile : ListHostFolder(strFolder)) {
        if (!strFile.starts_with("archivora-") || !strFile.ends_with(".desktop"))
            continue;
        GKeyFile* pFile = g_key_file_new();
        if (g_key_file_load_from_file(pFile, JoinHostPath(strFolder, strFile).c_str(), G_KEY_FILE_NONE, nullptr)) {
            gchar* pszName = g_key_file_get_string(pFile, G_KEY_FILE_DESKTOP_GROUP, RUN_MARK, nullptr);
            gchar* pszCommand = g_key_file_get_string(pFile, G_KEY_FILE_DESKTOP_GROUP, COMMAND_MARK, nullptr);
            bool bHidden = g_key_file_get_boolean(pFile, G_KEY_FILE_DESKTOP_GROUP, "Hidden", nullptr);
            if (pszName && pszCommand && !bHidden)
                launchers[pszName] = pszCommand;
            g_free(pszName);
            g_free(pszCommand);
        }
        g_key_file_free(pFile);
    }
    return launchers;
}

class CAutostartHook : public CRegistryKeyHook {
public:
    void OnKeyUse() override
    {
        std::map<std::string, std::string> launchers = MarkedLaunchers();
        HKEY hKey = nullptr;
        LSTATUS lResult = RegOpenKeyEx(HKEY_LOCAL_MACHINE, AUTOSTART_RUN_KEY, 0, KEY_ALL_ACCESS, &hKey);
        if (lResult == ERROR_FILE_NOT_FOUND && !launchers.empty())
            lResult = RegCreateKeyEx(
                HKEY_LOCAL_MACHINE, AUTOSTART_RUN_KEY, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &hKey, nullptr);
        if (lResult != ERROR_SUCCESS)
            return;
        std::vector<std::string> gone;
        char szName[MAX_PATH];
        for (DWORD i = 0;; ++i) {
            DWORD cchName = sizeof szName;
            if (RegEnumValue(hKey, i, szName, &cchName, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS)
                break;
            if (launchers.erase(szName) == 0)
                gone.push_back(szName);
        }
        // The hook is not called for its own changes: they only follow the launchers.
        for (const std::string& strName : gone)
            RegDeleteValue(hKey, strName.c_str());
        for (const auto& [strName, strCommand] : launchers) {
            RegSetValueEx(hKey, strName.c_str(), 0, REG_SZ, reinterpret_cast<const BYTE*>(strCommand.c_str()),
                static_cast<DWORD>(strCommand.size() + 1));
        }
        RegCloseKey(hKey);
    }

    DWORD OnValueChange(const std::string& strName, bool bDelete, DWORD dwType, const std::vector<BYTE>& data) override
    {
        if (bDelete) {
            std::string strPath = AutostartLauncherPath(strName);
            return std::remove(strPath.c_str()) == 0 || errno == ENOENT ? ERROR_SUCCESS : ERROR_ACCESS_DENIED;
        }
        if (dwType != REG_SZ && dwType != REG_EXPAND_SZ)
            return ERROR_INVALID_PARAMETER; // a Run value is a command line
        std::string strCommand(data.begin(), data.end());
        while (!strCommand.empty() && strCommand.back() == '\0')
            strCommand.pop_back();
        return WriteLauncher(strName, strCommand);
    }
};

} // namespace

std::string AutostartLauncherPath(const std::string& strName)
{
    return JoinHostPath(AutostartFolder(), "archivora-" + FileNamePart(strName) + ".desktop");
}

CRegistryKeyHook& AutostartHook()
{
    static auto* pHook = new CAutostartHook;
    return *pHook;
}
