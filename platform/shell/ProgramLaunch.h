#pragma once

// Starting other programs without waiting for them: the mail client that
// composes a message, the desktop's mail hand-off. Tests put a CLaunchOverride
// in place, which records what would have started instead of starting it.

#include "platform/base/WinTypes.h"

#include <string>
#include <vector>

// Starts a program in a session of its own and returns at once; the program is
// reaped when it ends. args[0] is a host path or a bare name looked up on the
// host's PATH; the other arguments reach the program unchanged. The program
// runs in strWorkingFolder (a host folder) when one is given, else in ours.
// FALSE with the last error set (ERROR_INVALID_PARAMETER for no arguments,
// ERROR_FILE_NOT_FOUND for a program that is not there, ERROR_DIRECTORY for a
// working folder that is not there).
BOOL LaunchProgram(const std::vector<std::string>& args, const std::string& strWorkingFolder = {});

// The host path of a program found as SearchPath finds it (program folder,
// current folder, then the host's PATH); empty when it is not there.
std::string FindHostProgram(LPCTSTR pszName);
// A program path as another program takes it in its arguments (the host
// path); empty when the path is empty or maps to nothing.
std::string HostArgumentOfPath(LPCTSTR pszPath);

// While one exists, LaunchProgram starts nothing: it records each command line
// here and answers with the result set here (TRUE unless told otherwise).
// Overrides do not nest.
class CLaunchOverride {
public:
    CLaunchOverride();
    ~CLaunchOverride();
    CLaunchOverride(const CLaunchOverride&) = delete;
    CLaunchOverride& operator=(const CLaunchOverride&) = delete;

    const std::vector<std::vector<std::string>>& GetLaunches() const { return m_launches; }
    // The working folder of each launch, in the same order; empty for ours.
    const std::vector<std::string>& GetWorkingFolders() const { return m_workingFolders; }
    // Makes the following launches fail with ERROR_FILE_NOT_FOUND.
    void FailLaunches() { m_bFail = true; }

private:
    friend BOOL LaunchProgram(const std::vector<std::string>& args, const std::string& strWorkingFolder);

    std::vector<std::vector<std::string>> m_launches;
    std::vector<std::string> m_workingFolders;
    bool m_bFail { false };
};
