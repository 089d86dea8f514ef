#include "platform/shell/ProgramLaunch.h"

#include "platform/base/FileFunctions.h"
#include "platform/base/PathMap.h"
#include "platform/base/WinError.h"

#include <cerrno>
#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <thread>

extern char** environ;

namespace {

CLaunchOverride* g_pLaunchOverride = nullptr;

} // namespace

CLaunchOverride::CLaunchOverride()
{
    g_pLaunchOverride = this;
}

CLaunchOverride::~CLaunchOverride()
{
    g_pLaunchOverride = nullptr;
}

std::string HostArgumentOfPath(LPCTSTR pszPath)
{
    std::string strHost;
    if (pszPath == nullptr || *pszPath == '\0' || !HostPathFromProgramPath(pszPath, strHost))
        return {};
    return strHost;
}

std::string FindHostProgram(LPCTSTR pszName)
{
    char szPath[MAX_PATH];
    DWORD nLength = SearchPath(nullptr, pszName, nullptr, MAX_PATH, szPath, nullptr);
    std::string strHostPath;
    if (nLength == 0 || nLength >= MAX_PATH || !HostPathFromProgramPath(szPath, strHostPath))
        return {};
    return strHostPath;
}

BOOL LaunchProgram(const std::vector<std::string>& args, const std::string& strWorkingFolder)
{
    if (args.empty() || args[0].empty()) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    if (g_pLaunchOverride) {
        g_pLaunchOverride->m_launches.push_back(args);
        g_pLaunchOverride->m_workingFolders.push_back(strWorkingFolder);
        if (g_pLaunchOverride->m_bFail) {
            SetLastError(ERROR_FILE_NOT_FOUND);
            return FALSE;
        }
        return TRUE;
    }

    std::vector<char*> argv;
    argv.reserve(args.size() + 1);
    for (const std::string& strArg : args)
        argv.push_back(const_cast<char*>(strArg.c_str()));
    argv.push_back(nullptr);

    if (!strWorkingFolder.empty()) {
        struct stat info { };
        if (stat(strWorkingFolder.c_str(), &info) != 0 || !S_ISDIR(info.st_mode)) {
            SetLastError(ERROR_DIRECTORY);
            return FALSE;
        }
    }
    posix_spawnattr_t attributes;
    posix_spawnattr_init(&attributes);
    // A session of its own, so the program outlives ours and does not share our terminal.
    posix_spawnattr_setflags(&attributes, POSIX_SPAWN_SETSID);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    if (!strWorkingFolder.empty())
        posix_spawn_file_actions_addchdir_np(&actions, strWorkingFolder.c_str());
    pid_t pid = 0;
    int nError = posix_spawnp(&pid, argv[0], &actions, &attributes, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    posix_spawnattr_destroy(&attributes);
    if (nError != 0) {
        SetLastError(Win32ErrorFromErrno(nError));
        return FALSE;
    }
    // Nobody waits for the program; this thread reaps it so it leaves no zombie.
    std::thread([pid] {
        while (waitpid(pid, nullptr, 0) < 0 && errno == EINTR) { }
    }).detach();
    return TRUE;
}
