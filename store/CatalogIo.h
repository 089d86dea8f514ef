#pragma once

// The file underneath a catalog or its journal: positioned reads and writes
// on one open file. Every write, flush and removal of the store's files goes
// through CCatalogIo, which is also the seam where a test makes the n-th
// write fail or records what reached the disk.

#include "platform/base/CString.h"
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
    // Flushes what was written since the last flush, then closes the file;
    // FALSE when the flush failed (the file is closed anyway).
    BOOL Close();
    // Closes the file without flushing it: for a file whose contents need not
    // outlive a power cut.
    void CloseUnflushed();
    bool IsOpen() const { return m_file.IsOpen(); }

    /* Transfers. A read or write of fewer bytes than asked is a failure. */

    // Reads data.size() bytes at nOffset; ERROR_HANDLE_EOF when the file ends first.
    [[nodiscard]] BOOL ReadAt(std::int64_t nOffset, std::span<BYTE> data);
    [[nodiscard]] BOOL WriteAt(std::int64_t nOffset, std::span<const BYTE> data);
    // Forces written data and the file's metadata to the disk.
    [[nodiscard]] BOOL Sync();
    // Sync when something was written since the file was opened or last flushed.
    [[nodiscard]] BOOL SyncIfWritten() { return m_bUnflushed ? Sync() : TRUE; }
    // Forces written data to the disk, with the file's length but not its
    // times: what a journal needs, at less cost.
    [[nodiscard]] BOOL SyncData();
    // The file's length in bytes, or -1 with the last error set.
    std::int64_t GetLength() const;
    // A number naming the open file itself (CHostFile::GetIdentity).
    std::uint64_t GetIdentity() const { return m_file.GetIdentity(); }

    // How many reads this object has made since the file was last opened.
    unsigned GetReadCount() const { return m_nReads; }

    // Deletes the file at pszPath; TRUE when it is gone (or was never there).
    static BOOL Remove(LPCTSTR pszPath);

private:
    [[nodiscard]] BOOL OpenWith(LPCTSTR pszPath, CHostFile::Creation eCreation);
    // The end of a flush: bFlushed, recorded when it is TRUE.
    [[nodiscard]] BOOL Flushed(BOOL bFlushed);

    CHostFile m_file;
    CString m_strPath; // of the open file
    unsigned m_nReads { 0 };
    bool m_bUnflushed { false }; // written to since it was opened or last flushed
};

/* Test seam. */

// Makes the nWrite-th catalog write from now (1 = the next one), in any file of
// the process, fail with ERROR_WRITE_FAULT before it writes a byte; 0 disarms.
void SetCatalogWriteFailure(int nWrite);

// Sees every change the store makes to its files, in order, once it is made:
// for a test that replays them as a disk could hold them after a power cut.
class CCatalogIoRecorder {
public:
    virtual ~CCatalogIoRecorder() = default;
    // The file was created, or emptied by an open that creates it.
    virtual void OnCreate(const CString& strPath) = 0;
    virtual void OnWrite(const CString& strPath, std::int64_t nOffset, std::span<const BYTE> data) = 0;
    // Everything written to the file before is on the disk.
    virtual void OnSync(const CString& strPath) = 0;
    virtual void OnRemove(const CString& strPath) = 0;
};

// Hands every change of the store's files from now to pRecorder (from the
// thread that makes it); nullptr stops.
void SetCatalogIoRecorder(CCatalogIoRecorder* pRecorder);
