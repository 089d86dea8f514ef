#pragma once

// A folder's entries as a walk over a tree reads them: names and kinds only,
// read from the folder itself without looking at each entry (FindFirstFile
// also gives sizes, times and short names, at a few system calls per entry and
// a sort). A walk that only needs to tell files from folders lists a large
// tree several times faster this way. A folder listed with CListedFolder
// stays open, so that its files open by name in it (CHostFile::OpenIn)
// without the host looking the folder's path up again for each of them.

#include "platform/base/CString.h"
#include "platform/base/WinTypes.h"

#include <string>
#include <string_view>
#include <vector>

// One entry of a folder.
struct CFolderEntry {
    std::string strName;
    // FILE_ATTRIBUTE_DIRECTORY for a folder, FILE_ATTRIBUTE_ARCHIVE for a file,
    // FILE_ATTRIBUTE_SYSTEM for devices, sockets and pipes; with
    // FILE_ATTRIBUTE_REPARSE_POINT for a symbolic link (which shows its target's
    // kind) and for a folder that is another drive's root.
    DWORD dwAttributes;
};

// Lists the folder at the program path pszFolder: every entry but "." and
// "..", and but the mount points of pseudo file systems, in byte order of
// their names. FALSE with the last error set (ERROR_PATH_NOT_FOUND,
// ERROR_ACCESS_DENIED, ...) when the folder cannot be read.
BOOL ListFolderEntries(LPCTSTR pszFolder, std::vector<CFolderEntry>& entries);

// A folder listed as ListFolderEntries lists it and held open until Close or
// destruction (one host descriptor). Its files open by name in the folder as
// it was listed, even when it has since been renamed; a name that does not
// open so (another case, a short name, a name that is no plain name) is
// looked up by its program path, as CHostFile::Open looks it up.
class CListedFolder {
public:
    CListedFolder() = default;
    ~CListedFolder();
    CListedFolder(const CListedFolder&) = delete;
    CListedFolder& operator=(const CListedFolder&) = delete;

    // Lists the folder at the program path pszFolder, as ListFolderEntries
    // does, and keeps it open; a folder listed before is closed first. FALSE
    // with the last error set, and nothing held, when it cannot be read.
    BOOL List(LPCTSTR pszFolder);
    // Lists the sub-folder strName of the listed folder parent, opened by its
    // name there (as CHostFile::OpenIn opens a file), which spares the host a
    // lookup of its path; what List of the parent's path and strName gives otherwise.
    BOOL ListIn(const CListedFolder& parent, const std::string& strName);
    void Close();
    bool IsOpen() const { return m_nFolder >= 0; }

    const std::vector<CFolderEntry>& GetEntries() const { return m_entries; }

private:
    friend class CHostFile;

    // The program path of the entry named strName.
    CString PathOf(std::string_view strName) const;
    // Lists the folder open as nFolder (taken over) at strHostFolder, whose
    // program path is pszFolder.
    void ListOpen(int nFolder, std::string strHostFolder, LPCTSTR pszFolder);

    int m_nFolder { -1 }; // the folder's host descriptor; -1 when none is held
    CString m_strFolder;  // its program path, ending in a backslash
    std::string m_strHostFolder;
    std::vector<CFolderEntry> m_entries;
};
