#pragma once

// A folder's entries as a walk over a tree reads them: names and kinds only,
// read from the folder itself without looking at each entry (FindFirstFile
// also gives sizes, times and short names, at a few system calls per entry and
// a sort). A walk that only needs to tell files from folders lists a large
// tree several times faster this way.

#include "platform/base/WinTypes.h"

#include <string>
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
