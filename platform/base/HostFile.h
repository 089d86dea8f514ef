#pragma once

// Regular files named by program paths, read and written at explicit offsets,
// and the one durable way to replace a file.
//
// How the layers above open a file (they never call the host themselves):
// - CHostFile, for the files the program keeps and the files of other
//   programs it reads: catalogs and their backups, logs, protected files,
//   mail stores, documents read for their content. Failures come back as
//   values; it writes at explicit offsets, flushes, and replaces a file
//   durably (ReplaceFileDurably).
// - CFile and its kin (CStdioFile; CMemFile with CArchive), in code written
//   against the class library that streams a file from start to end: the
//   web pages written and the files sent. They throw CFileException, which
//   that code catches.
// - The HANDLE calls of FileHandle.h are what those classes are built on;
//   the layers above do not open files with them.
//
// Failures return FALSE (or -1) with the last error set from the host's error.

#include "platform/base/WinTypes.h"

#include <cstdint>
#include <span>
#include <string>

class CListedFolder;
class CString;

class CHostFile {
public:
    enum class Access { Read, ReadWrite };
    enum class Creation {
        OpenExisting, // the file must exist
        CreateAlways, // created, or emptied when it exists
        CreateNew,    // created; ERROR_ALREADY_EXISTS when the name is taken
    };

    CHostFile() = default;
    ~CHostFile();
    CHostFile(const CHostFile&) = delete;
    CHostFile& operator=(const CHostFile&) = delete;

    /* Opening and closing. Only regular files open (else ERROR_ACCESS_DENIED). */

    [[nodiscard]] BOOL Open(LPCTSTR pszPath, Access eAccess, Creation eCreation = Creation::OpenExisting);
    // Opens the existing file strName of a listed folder by its name in the
    // folder (see CListedFolder), which spares the host a lookup of the
    // folder's path; what Open of the folder's path and strName gives otherwise.
    [[nodiscard]] BOOL OpenIn(const CListedFolder& folder, const std::string& strName, Access eAccess);
    // Creates a new file named pszPath + pszInfix + six unique characters, open
    // for reading and writing; its program path in strCreated.
    [[nodiscard]] BOOL CreateUnique(LPCTSTR pszPath, LPCTSTR pszInfix, CString& strCreated);
    // Closes without flushing; closing a closed file does nothing.
    void Close();
    bool IsOpen() const { return m_fd >= 0; }

    /* Transfers. */

    // Reads up to data.size() bytes at nOffset; the count read, 0 at the end, -1 on failure.
    std::int64_t ReadAt(std::int64_t nOffset, std::span<BYTE> data) const;
    // Reads exactly data.size() bytes; ERROR_HANDLE_EOF when the file ends first.
    [[nodiscard]] BOOL ReadExactAt(std::int64_t nOffset, std::span<BYTE> data) const;
    // Writes all of data at nOffset; a short write is a failure (ERROR_WRITE_FAULT).
    [[nodiscard]] BOOL WriteAt(std::int64_t nOffset, std::span<const BYTE> data);
    // Forces the written data and the file's metadata to the disk.
    [[nodiscard]] BOOL Flush();
    // Forces the written data to the disk, and of the metadata only what
    // reading it back needs (its length): cheaper than Flush.
    [[nodiscard]] BOOL FlushData();
    // Sets the time of the last write, as a copy made now shows the program
    // clock's now (GetSystemTimeAsFileTime).
    [[nodiscard]] BOOL SetModifiedTime(const FILETIME& ftModified);

    /* Properties. */

    // The file's length in bytes, or -1.
    std::int64_t GetLength() const;
    // Its length as it opened (0 for CreateUnique), without asking the host
    // again: for a file read right after it opened. -1 when closed.
    std::int64_t GetLengthAtOpen() const { return m_nLengthAtOpen; }
    // A number that names the file itself, not its name, while it exists: a
    // file renamed over another has a number of its own. 0 on failure.
    std::uint64_t GetIdentity() const;

private:
    // Opens the host path (relative to the folder descriptor nFolder, or to the working directory).
    [[nodiscard]] BOOL OpenHost(int nFolder, const std::string& strHostPath, int nFlags);
    // Flushes with the host call pfnFlush (fsync or fdatasync), or not at all under the test seam.
    [[nodiscard]] BOOL FlushWith(int (*pfnFlush)(int));

    int m_fd { -1 };
    std::int64_t m_nLengthAtOpen { -1 };
};

/* Status by path. */

struct HostFileStatus {
    bool bExists { false }; // something is there (links followed)
    // Not known to be missing, yet its status cannot be read: a symbolic link
    // that leads nowhere or round in a loop, a folder on the way that cannot
    // be searched. The last error tells which.
    bool bUnreadable { false };
    std::int64_t nSize { 0 };
    std::int64_t tModified { 0 }; // seconds since 1970, UTC
    std::int64_t tChanged { 0 };  // the last change of the file's data or metadata
    std::int64_t tAccessed { 0 };
};

// FALSE when the program path maps to no host path (the last error tells
// why); else TRUE, with status.bExists telling whether a file is there and
// status.bUnreadable whether something is there that cannot be looked at.
BOOL GetHostFileStatus(LPCTSTR pszPath, HostFileStatus& status);

// The program path of the file that pszPath names when pszPath is a symbolic
// link, every link on the way followed; pszPath itself otherwise. FALSE when
// the path maps to no host path, or the link leads nowhere or round in a loop.
BOOL ResolveFileLink(LPCTSTR pszPath, CString& strFinal);

// Whether the last error of a failed Open means that the file is not there
// (or that its path names nothing), rather than that it cannot be opened.
bool IsMissingFileError(DWORD dwError);

/* Durable replacement. */

// Makes the file pszReplacement the file pszTarget: flushes the replacement,
// gives it the target's permission bits when the target exists, renames it over
// the target and flushes the folder, so that after a crash the target is
// either the old file or the complete new one. On failure the replacement is
// left where it was for the caller to remove.
[[nodiscard]] BOOL ReplaceFileDurably(LPCTSTR pszReplacement, LPCTSTR pszTarget);

/* The same on host paths, for the platform's own files. */

// Opens a host path with open(2) flags without waiting for a peer (a FIFO
// opens at once, where a plain open would wait for its writer) and keeps it
// only when it is a regular file. The descriptor, or -1 with the last error
// set: ERROR_ACCESS_DENIED for a folder, device, pipe or socket.
int OpenRegularHostFile(const std::string& strHostPath, int nFlags, unsigned nMode = 0644);
// Reads from a descriptor to its end, appending to strText; the error, or ERROR_SUCCESS.
[[nodiscard]] DWORD ReadHostFileToEnd(int fd, std::string& strText);

// The host path of the file that strHostPath names when it is a symbolic
// link, every link on the way followed; strHostPath itself otherwise. The
// error, ERROR_CANT_RESOLVE_FILENAME for a link that leads nowhere or round
// in a loop, or ERROR_SUCCESS.
[[nodiscard]] DWORD ResolveHostLink(const std::string& strHostPath, std::string& strFinal);

enum class ReplaceMode { KeepTargetMode, KeepOwnMode };
// Returns the error (ERROR_SUCCESS when the target was replaced).
[[nodiscard]] DWORD ReplaceHostFileDurably(
    const std::string& strReplacement, const std::string& strTarget, ReplaceMode eMode);
// Flushes the folder holding a host path, so that a rename or a new name in
// it is on disk; a folder that cannot be flushed is left as it is.
void FlushHostFolderOf(const std::string& strHostPath);
// The same for the folder of a program path; FALSE when the path maps to no host path.
BOOL FlushFolderOf(LPCTSTR pszPath);

/* Test seam. */

// With bSkip, the flushes above return at once as if the disk had taken the
// data: for test programs, whose files live in temporary folders and which
// check what a flush promises through the writes they record, not through
// the disk. Off by default.
void SetHostFlushesSkipped(bool bSkip);
