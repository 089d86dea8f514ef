#pragma once

// A zip archive being written at a program path: entries one after another,
// each deflated at the default level. The archive is complete once Close
// has run; the destructor closes it too.

#include "platform/base/WinTypes.h"

class CZipWriter {
public:
    CZipWriter() = default;
    ~CZipWriter();
    CZipWriter(const CZipWriter&) = delete;
    CZipWriter& operator=(const CZipWriter&) = delete;

    // Creates the archive, replacing what is there, and starts its first
    // entry, stamped with a DOS date and time (the date in the high 16 bits,
    // the time in two-second units in the low 16 bits). FALSE when either fails;
    // nothing is open then.
    BOOL Create(LPCTSTR pszPath, LPCTSTR pszEntryName, DWORD dwDosTime);
    bool IsOpen() const { return m_hZip != nullptr; }
    // Adds bytes to the entry. When the last write failed, the entry is left
    // unfinished, and so damaged, when the archive is closed.
    BOOL Write(const void* pBuffer, UINT nCount);
    // Finishes the entry (unless the last write failed) and the archive.
    void Close();

private:
    void* m_hZip { nullptr }; // the archive; null when none is open
    bool m_bWriteFailed { false };
};
