#pragma once

// The class library's binary file: an object around a file HANDLE that throws
// CFileException (by pointer, see CException.h) when an operation fails. File
// names are program paths. CStdioFile and CMemFile derive from it. Which code
// opens files with it, and which with CHostFile, HostFile.h says.

#include "platform/base/CObject.h"
#include "platform/base/CString.h"
#include "platform/base/CTime.h"
#include "platform/base/WinTypes.h"

class CFileException;

// What CFile::GetStatus reports about a file.
struct CFileStatus {
    CTime m_ctime;    // creation (the last write time where the file system keeps no birth time)
    CTime m_mtime;    // last write
    CTime m_atime;    // last access
    ULONGLONG m_size; // bytes
    BYTE m_attribute; // CFile::Attribute bits
    BYTE m_padding;
    TCHAR m_szFullName[MAX_PATH]; // the program path, cut at a character boundary
};

class CFile : public CObject {
    DECLARE_DYNAMIC(CFile)

public:
    // Open flags: one access mode, one share mode, and any of the rest.
    enum OpenFlags {
        modeRead = 0x00000,
        modeWrite = 0x00001,
        modeReadWrite = 0x00002,
        shareCompat = 0x00000, // as shareExclusive
        shareExclusive = 0x00010,
        shareDenyWrite = 0x00020,
        shareDenyRead = 0x00030,
        shareDenyNone = 0x00040,
        modeNoInherit = 0x00080, // accepted; handles are never inherited
        modeCreate = 0x01000,    // create, or truncate an existing file unless modeNoTruncate
        modeNoTruncate = 0x02000,
        typeText = 0x04000,   // for CStdioFile
        typeBinary = 0x08000, // for CStdioFile
        osNoBuffer = 0x10000,
        osWriteThrough = 0x20000,
        osRandomAccess = 0x40000,
        osSequentialScan = 0x80000,
    };

    // Attribute bits of CFileStatus::m_attribute.
    enum Attribute {
        normal = 0x00,
        readOnly = 0x01,
        hidden = 0x02, // names starting with a dot
        system = 0x04, // devices, sockets and pipes
        volume = 0x08,
        directory = 0x10,
        archive = 0x20, // every regular file
    };

    enum SeekPosition { begin = 0x0, current = 0x1, end = 0x2 };

    // The m_hFile of a CFile that has no open file.
    static const HANDLE hFileNull;

    CFile();
    // Wraps an open handle; the object does not close it when destroyed.
    explicit CFile(HANDLE hFile);
    // Opens the file or throws CFileException.
    CFile(LPCTSTR lpszFileName, UINT nOpenFlags);
    // Closes a file the object opened, ignoring errors; call Close to see them.
    ~CFile() override;

    // Opens the file; FALSE on failure, with *pError filled in when given (nothing is
    // thrown). An object that already has a file open refuses with genericException.
    virtual BOOL Open(LPCTSTR lpszFileName, UINT nOpenFlags, CFileException* pError = nullptr);

    // Reading and writing. Read returns the bytes read, fewer only at the end of the
    // file; Write throws unless every byte was written.
    virtual UINT Read(void* lpBuf, UINT nCount);
    virtual void Write(const void* lpBuf, UINT nCount);

    // Position and length. Seek returns the new position; seeking before the start
    // throws badSeek, past the end is allowed. SetLength leaves the position at the new end.
    virtual ULONGLONG Seek(LONGLONG lOff, UINT nFrom);
    void SeekToBegin();
    ULONGLONG SeekToEnd();
    virtual ULONGLONG GetPosition() const;
    virtual ULONGLONG GetLength() const;
    virtual void SetLength(ULONGLONG dwNewLen);

    // Exclusive byte-range locks (see LockFile in FileHandle.h).
    virtual void LockRange(ULONGLONG dwPos, ULONGLONG dwCount);
    virtual void UnlockRange(ULONGLONG dwPos, ULONGLONG dwCount);

    // Flush writes the file's data to the disk. Close closes the file and throws on
    // failure; Abort closes it ignoring every error. Both leave the object reusable.
    virtual void Flush();
    virtual void Close();
    virtual void Abort();

    // The name given at Open ("C:\docs\report.txt"), its last component ("report.txt")
    // and that without its extension ("report").
    virtual CString GetFilePath() const;
    virtual CString GetFileName() const;
    virtual CString GetFileTitle() const;
    virtual void SetFilePath(LPCTSTR lpszNewName);

    // Status of the open file (times and size from the handle), or of a named file.
    // FALSE when it cannot be read; nothing is thrown.
    BOOL GetStatus(CFileStatus& rStatus) const;
    static BOOL GetStatus(LPCTSTR lpszFileName, CFileStatus& rStatus);
    // Sets a named file's last write and access times (a zero write time leaves both
    // alone; a zero access time takes the write time) and its read-only attribute;
    // the creation time cannot be set. Throws CFileException.
    static void SetStatus(LPCTSTR lpszFileName, const CFileStatus& status);
    // Renames or moves a file; fails if the new name exists. Throws CFileException.
    static void Rename(LPCTSTR lpszOldName, LPCTSTR lpszNewName);
    // Deletes a file; read-only files and folders are refused. Throws CFileException.
    static void Remove(LPCTSTR lpszFileName);

    operator HANDLE() const { return m_hFile; }

    HANDLE m_hFile;

protected:
    // Throws the CFileException for the calling thread's last error.
    [[noreturn]] void ThrowLastError() const;

    BOOL m_bCloseOnDelete;
    CString m_strFileName;
};
