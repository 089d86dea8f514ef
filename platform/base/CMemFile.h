#pragma once

// A CFile kept in memory: a byte buffer that grows as it is written. Its length is
// the bytes written (or set); reads stop there, while seeking and writing past it
// is allowed (the gap reads as zeros). The buffer is the object's own unless
// attached; an attached buffer is never reallocated or freed by the object.

#include "platform/base/CFile.h"

#include <cstddef>

class CMemFile : public CFile {
    DECLARE_DYNAMIC(CMemFile)

public:
    // An empty file whose buffer grows in steps of nGrowBytes.
    explicit CMemFile(UINT nGrowBytes = 1024);
    // As Attach.
    CMemFile(BYTE* lpBuffer, UINT nBufferSize, UINT nGrowBytes = 0);
    ~CMemFile() override;

    // Uses the caller's buffer, which must outlive the attachment. With nGrowBytes 0
    // the file is the nBufferSize bytes of the buffer and cannot grow (a write past its
    // end throws CMemoryException). Otherwise the file starts empty with the buffer as
    // its first storage; growing past it moves the data into a buffer of the object's own.
    void Attach(BYTE* lpBuffer, UINT nBufferSize, UINT nGrowBytes = 0);
    // Hands the buffer over and leaves the file empty and closed. A buffer the object
    // allocated is the caller's to free with free(); GetLength beforehand gives its length.
    BYTE* Detach();

    UINT Read(void* lpBuf, UINT nCount) override;
    void Write(const void* lpBuf, UINT nCount) override;
    ULONGLONG Seek(LONGLONG lOff, UINT nFrom) override;
    ULONGLONG GetPosition() const override;
    ULONGLONG GetLength() const override;
    // Grows (with zeros) or cuts the file; a position past the new end moves to it.
    void SetLength(ULONGLONG dwNewLen) override;
    // There is nothing to lock in memory: both throw CFileException (genericException).
    void LockRange(ULONGLONG dwPos, ULONGLONG dwCount) override;
    void UnlockRange(ULONGLONG dwPos, ULONGLONG dwCount) override;
    void Flush() override { }
    // Both free an own buffer and leave the file empty.
    void Close() override;
    void Abort() override;

protected:
    // Where the object's own buffer lives; a derived class may keep it
    // elsewhere. Alloc and Realloc give NULL when out of memory. The base
    // destructor frees through CMemFile::Free, so a class that overrides
    // these must Close in its own destructor.
    virtual BYTE* Alloc(SIZE_T nBytes);
    virtual BYTE* Realloc(BYTE* lpMem, SIZE_T nBytes);
    virtual void Free(BYTE* lpMem);

private:
    // Makes room for nNewSize bytes, or throws CMemoryException.
    void Reserve(std::size_t nNewSize);
    void Release();

    BYTE* m_lpBuffer { nullptr };
    std::size_t m_nBufferSize { 0 }; // bytes of storage
    std::size_t m_nFileSize { 0 };   // bytes of file, at most m_nBufferSize
    std::size_t m_nPosition { 0 };   // may lie past m_nFileSize
    UINT m_nGrowBytes;
    bool m_bOwnsBuffer { false };
};
