#pragma once

// The file underneath a catalog: positioned reads and writes on one open file.
// Every write of the store goes through CCatalogIo::WriteAt, which is also the
// seam where a test makes the n-th write fail.

#include "platform/base/HostFile.h"
#include "platform/base/WinTypes.h"

#include <cstdint>
#include <span>

class CCatalogIo {
public:
    CCatalogIo() = default;
    ~CCatalogIo();
    CCatalogIo(const CCatalogIo&) = delete;
    CCatalogIo& operator=(const CCatalogIo&) = delete;

    /* Opening and closing. Failures return FALSE with the last error set. */

    // Opens the file at the program path pszPath for reading and writing. With
    // bCreate the file is created, or emptied when it exists.
    [[nodiscard]] BOOL Open(LPCTSTR pszPath, bool bCreate);
    // Creates the file at pszPath, which must not exist yet (ERROR_ALREADY_EXISTS
    // when it does), and opens it for reading and writing.
    [[nodiscard]] BOOL CreateNew(LPCTSTR pszPath);
    // Flushes and closes the file; FALSE when the flush failed (the file is closed anyway).
    BOOL Close();
    bool IsOpen() const { return m_file.IsOpen(); }

    /* Transfers. A read or write of fewer bytes than asked is a failure. */

    // Reads data.size() bytes at nOffset; ERROR_HANDLE_EOF when the file ends first.
    [[nodiscard]] BOOL ReadAt(std::int64_t nOffset, std::span<BYTE> data);
    [[nodiscard]] BOOL WriteAt(std::int64_t nOffset, std::span<const BYTE> data);
    // Forces written data to the disk.
    [[nodiscard]] BOOL Sync();
    // The file's length in bytes, or -1 with the last error set.
    std::int64_t GetLength() const;

    // How many reads this object has made since the file was last opened.
    unsigned GetReadCount() const { return m_nReads; }

private:
    [[nodiscard]] BOOL OpenWith(LPCTSTR pszPath, CHostFile::Creation eCreation);

    CHostFile m_file;
    unsigned m_nReads { 0 };
};

/* Test seam. */

// Makes the nWrite-th catalog write from now (1 = the next one), in any file of
// the process, fail with ERROR_WRITE_FAULT before it writes a byte; 0 disarms.
void SetCatalogWriteFailure(int nWrite);
