#pragma once

// The map between the program's paths and the host's. Inside the program every
// path is a Windows path: "C:\home\ana\report.odt", "\\server\share\x", or one
// relative to the current directory ("report.odt", "\x", "D:x"). Forward and
// back slashes both separate; "." and ".." are folded ("C:\.." is "C:\"), and a
// "\\?\" prefix is accepted. The drive table (DriveTable.h) maps each letter to
// a host folder and each mounted share to its mount point.
//
// Host names are looked up component by component: an exact match wins; else
// the component is matched case-insensitively (Unicode-aware), because the
// program lower-cases the paths it stores; when several names in a folder
// differ from it only in case, the first in byte order wins ("Report" before
// "rePort"). Failing that, a component of the form of a short name ("REPORT~1.ODT")
// is matched against the folder's short names (ShortNames.h). From the first
// component that matches nothing on, the rest are kept as given, so a path for
// a file still to be created maps too.
//
// The current directory is a program path kept by this module; it starts as
// the host's working directory, and changing it does not change the host's.

#include "platform/base/WinTypes.h"

#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

// An absolute program path split into its parts.
struct CProgramPath {
    TCHAR chDrive { 0 };                 // Upper-case drive letter, or 0 for a UNC path
    std::string strServer;               // UNC server
    std::string strShare;                // UNC share
    std::vector<std::string> components; // After the root, "." and ".." folded
    bool bTrailingSeparator { false };   // The text ended in a separator after a component

    // "C:\a\b", "C:\" for a drive root, "\\server\share\a"; no trailing separator.
    std::string ToString() const;
};

// Splits a program path, making it absolute through the current directory.
// FALSE with the last error set: ERROR_INVALID_PARAMETER for nullptr,
// ERROR_INVALID_NAME for an empty path, a bad drive or a component holding
// a character names cannot hold (< > : " | ? * and control characters),
// ERROR_BAD_NETPATH for a UNC name without a share.
BOOL ParseProgramPath(LPCTSTR pszPath, CProgramPath& path);

// Whether strName is one component of a program path as written: not empty,
// not "." or "..", without separators and without the characters names cannot
// hold. Such a name maps to the host name of the same bytes.
bool IsPlainProgramName(std::string_view strName);

// A program path found on the host.
struct CHostPath {
    std::string strRoot;            // Host folder of the drive or share
    std::string strProgramRoot;     // Its program path with a trailing separator: "C:\", "\\server\share\"
    std::vector<std::string> names; // Host names of the components below the root
    size_t nExisting { 0 };         // How many of `names`, from the first, exist

    bool IsRoot() const { return names.empty(); }
    bool Exists() const { return nExisting == names.size(); }
    std::string HostPath() const;
    std::string HostParent() const; // The host folder holding the last name
};

// Finds a program path on the host, as described above. FALSE with the last
// error set when no drive or share maps it (ERROR_INVALID_DRIVE, ERROR_BAD_NETPATH).
BOOL ResolveProgramPath(const CProgramPath& path, CHostPath& hostPath);

// Keeps, while it lives, the folders that ResolveProgramPath finds on the
// creating thread, so that a batch of paths in the same folders looks each
// folder up once instead of once per path; a folder in which a name is missed
// as written, or which is asked for many times, is listed once, and the names
// in it are then found in the listing (so paths through a missing folder list
// its parent once). For work that may take the file system as it was
// at its first lookup, such as one reply to one request. An inner batch hides
// an outer one until it ends.
class CPathLookupBatch {
public:
    CPathLookupBatch();
    ~CPathLookupBatch();
    CPathLookupBatch(const CPathLookupBatch&) = delete;
    CPathLookupBatch& operator=(const CPathLookupBatch&) = delete;

private:
    friend BOOL ResolveProgramPath(const CProgramPath& path, CHostPath& hostPath);

    struct CFolder {
        CHostPath path;
        int nLookups { 0 };
        bool bListed { false };
        std::vector<std::string> entries; // Once listed: the names, sorted by bytes
        // Once a name is missed by case: every name by its lower case.
        std::unordered_map<std::string, std::string> byLowerName;
    };

    // The host name of strName in the folder, "" when it has none; the
    // folder is listed once it has been asked for often enough.
    std::string FindName(CFolder& folder, const std::string& strName) const;

    CPathLookupBatch* m_pPrevious;
    // By host root and program components of a folder.
    std::unordered_map<std::string, CFolder> m_folders;
};

// Whether pszPath, read without regard to case, names more than one file or
// folder: a name on its way is one of several in its host folder that differ
// only in case ("Report.txt" and "report.txt"). The program keeps paths in
// lower case, so such a path cannot tell which of them it meant. FALSE for a
// path that does not exist or maps to no drive.
BOOL IsPathCaseAmbiguous(LPCTSTR pszPath);

// The host path for `pszPath`. FALSE with the last error set when the path is
// malformed (see ParseProgramPath) or no drive or share maps it.
BOOL HostPathFromProgramPath(LPCTSTR pszPath, std::string& strHostPath);
// The host path of pszPath with every component as written, looked up in
// nothing: what HostPathFromProgramPath gives whenever that path exists.
// FALSE as HostPathFromProgramPath for a bad path, drive or share.
BOOL HostPathAsWritten(LPCTSTR pszPath, std::string& strHostPath);
// The same for a parsed path, as a host path whose names are the components
// as written; nExisting is 0, as nothing is looked at.
BOOL HostPathAsWritten(const CProgramPath& path, CHostPath& hostPath);

// The program path for a host path (a relative one counts from the host's
// working directory), through the drive whose host folder holds it most closely
// ("/home/ana/x" -> "C:\home\ana\x"; the lower letter when two drives share a
// folder), else through a share. Empty when no drive or share holds it.
std::string ProgramPathFromHostPath(const std::string& strHostPath);

// The full program path of `lpFileName`, with "." and ".." folded and a trailing
// separator kept. `lpFilePart` (optional) receives a pointer to the last
// component in the buffer, or nullptr when the path ends in a separator.
// Returns the length, or the size needed including the zero when the buffer is
// too small; 0 with the last error set on failure.
DWORD GetFullPathName(LPCTSTR lpFileName, DWORD nBufferLength, LPTSTR lpBuffer, LPTSTR* lpFilePart);

// The current directory, as GetFullPathName returns lengths.
DWORD GetCurrentDirectory(DWORD nBufferLength, LPTSTR lpBuffer);
// Makes an existing folder current. FALSE with ERROR_FILE_NOT_FOUND (or
// ERROR_PATH_NOT_FOUND) when it does not exist, ERROR_DIRECTORY for a file.
BOOL SetCurrentDirectory(LPCTSTR lpPathName);
