#pragma once

// The first entry of a zip archive at a program path, read from its start.
// Only a plain file entry is opened: a directory, a symbolic link or other
// special file (by the Unix mode; a mode of permissions alone is a file), an
// encrypted entry or one stored with a method other than stored (0) or
// deflate (8) is refused. The entry's name is never used.

#include "platform/base/WinTypes.h"

class CZipReader {
public:
    CZipReader() = default;
    ~CZipReader();
    CZipReader(const CZipReader&) = delete;
    CZipReader& operator=(const CZipReader&) = delete;

    // Opens the archive and its first entry. FALSE when the archive cannot be
    // read, has no entry, or the entry is refused; nothing is open then.
    BOOL OpenFirstEntry(LPCTSTR pszPath);
    // Up to nCount bytes of the entry: the count read, 0 at its end (the size
    // and the checksum matched), below 0 for a damaged entry or after the end.
    int Read(void* pBuffer, UINT nCount);
    void Close();

private:
    void* m_hZip { nullptr }; // the archive; null when none is open
    bool m_bEntryOpen { false };
    ULONGLONG m_nExpected { 0 }; // the entry's size by its header
    ULONGLONG m_nRead { 0 };
};
