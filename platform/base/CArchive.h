#pragma once

// The class library's archive: a buffered stream of values and objects over a
// CFile, in the class library's byte layout, so that files it wrote load here and
// back. Every value is little-endian; the layout of each kind is:
//
//   BYTE, char            1 byte
//   WORD, short           2 bytes
//   int/LONG, DWORD, float 4 bytes
//   LONGLONG, ULONGLONG, double 8 bytes
//   CString               a length, then that many bytes of UTF-8 text. The length is
//                         one byte when below 0xFF; else 0xFF and a WORD when below
//                         0xFFFE; else 0xFF, 0xFFFF and a DWORD. (A WORD of 0xFFFE
//                         marks UTF-16 text, which loads converted to UTF-8.)
//   CObject*              a WORD tag: 0 for nullptr; 0xFFFF for a new object of a new
//                         class, followed by the class (WORD schema, WORD name length,
//                         name) and the object's Serialize data; 0x8000 | class index
//                         for a new object of a class stored before; a plain index
//                         (below 0x7FFF) for an object stored before. An index that
//                         does not fit is the tag 0x7FFF and a DWORD (with the bit
//                         0x80000000 for a class index).
//
// Classes and objects share one index count: index 0 is nullptr, and each new class
// and each new object takes the next index, in the order they are written.
//
// Errors are thrown by pointer (see CException.h): CArchiveException for a bad
// archive or a wrong-direction call, CFileException from the file, CMemoryException.
// Loading checks everything it reads: an unknown class, a wrong schema, a bad index,
// too deep a nesting of objects or a short file end in a CArchiveException, never a
// crash. Objects created by a load that then fails are not freed (their owners are
// unknown); a reader of outside data keeps track of them through its classes.

#include "platform/base/CObject.h"
#include "platform/base/CString.h"
#include "platform/base/WinTypes.h"

#include <unordered_map>
#include <vector>

class CFile;

class CArchive {
public:
    enum Mode {
        store = 0,
        load = 1,
        bNoFlushOnDelete = 2, // the destructor does not flush what is still buffered
        bNoByteSwap = 4,      // accepted; the layout is always little-endian
    };

    // An archive over an open file, storing or loading from its position. The
    // buffer size is at least 128 bytes; lpBuf is accepted and ignored (the archive
    // keeps its own buffer).
    CArchive(CFile* pFile, UINT nMode, int nBufSize = 4096, void* lpBuf = nullptr);
    // Flushes (unless bNoFlushOnDelete) and detaches; errors are dropped here, so a
    // caller that must know whether the data reached the file calls Close.
    ~CArchive();
    CArchive(const CArchive&) = delete;
    CArchive& operator=(const CArchive&) = delete;

    BOOL IsLoading() const { return (m_nMode & load) != 0; }
    BOOL IsStoring() const { return (m_nMode & load) == 0; }
    CFile* GetFile() const { return m_pFile; }

    // Raw bytes. Read returns fewer bytes only at the end of the file.
    UINT Read(void* lpBuf, UINT nMax);
    void Write(const void* lpBuf, UINT nMax);

    // Text lines. WriteString writes the text as is (no NUL, no line end). ReadString
    // reads up to "\n" or "\r\n": into rString without it (FALSE at the end with
    // nothing read), or into lpsz (nMax + 1 bytes) as up to nMax bytes plus a NUL,
    // ending in "\n" when the line end fitted (nullptr at the end; see ReadTextLineInto).
    void WriteString(LPCTSTR lpsz);
    BOOL ReadString(CString& rString);
    LPTSTR ReadString(LPTSTR lpsz, UINT nMax);

    // Storing: writes the buffer to the file. Loading: moves the file back over what
    // was read ahead, so the file position is where the archive's reading stands.
    void Flush();
    // Flushes and detaches from the file (which stays open). Abort detaches without
    // writing the buffer and never throws.
    void Close();
    void Abort();

    // Objects (see the layout above). Only objects of classes declared serial can be
    // stored or loaded; others throw badClass. ReadObject with a class checks that the
    // loaded object is of it (else badClass); nullptr asks for any class.
    void WriteObject(const CObject* pOb);
    CObject* ReadObject(const CRuntimeClass* pClassRefRequested);
    // A class reference alone, as WriteObject writes it before a new object.
    void WriteClass(const CRuntimeClass* pClassRef);
    CRuntimeClass* ReadClass(
        const CRuntimeClass* pClassRefRequested = nullptr, UINT* pSchema = nullptr, DWORD* pObTag = nullptr);

    // Element counts of stored collections: a WORD, or 0xFFFF and a DWORD for larger counts.
    void WriteCount(DWORD_PTR dwCount);
    DWORD_PTR ReadCount();

    // The schema stored with the object being loaded, for its Serialize to read once:
    // GetObjectSchema returns it and leaves (UINT)-1 behind.
    UINT GetObjectSchema();
    void SetObjectSchema(UINT nSchema) { m_nObjectSchema = nSchema; }

    // Values, in the layout above; loading throws endOfFile when the file ends early.
    CArchive& operator<<(BYTE by);
    CArchive& operator<<(WORD w);
    CArchive& operator<<(int i);
    CArchive& operator<<(DWORD dw);
    CArchive& operator<<(short w);
    CArchive& operator<<(char ch);
    CArchive& operator<<(float f);
    CArchive& operator<<(double d);
    CArchive& operator<<(LONGLONG n);
    CArchive& operator<<(ULONGLONG n);
    CArchive& operator<<(const CString& str);
    CArchive& operator<<(const CObject* pOb);

    CArchive& operator>>(BYTE& by);
    CArchive& operator>>(WORD& w);
    CArchive& operator>>(int& i);
    CArchive& operator>>(DWORD& dw);
    CArchive& operator>>(short& w);
    CArchive& operator>>(char& ch);
    CArchive& operator>>(float& f);
    CArchive& operator>>(double& d);
    CArchive& operator>>(LONGLONG& n);
    CArchive& operator>>(ULONGLONG& n);
    CArchive& operator>>(CString& str);
    CArchive& operator>>(CObject*& pOb);
    CArchive& operator>>(const CObject*& pOb);

    // The name of the archive's file, for exceptions.
    CString m_strFileName;

private:
    // The deepest nesting of objects a load follows; each level is a Serialize call.
    static constexpr UINT MAX_LOAD_DEPTH = 1000;

    // One loaded index: a class or an object (index 0 is the null object).
    struct LoadedEntry {
        const CRuntimeClass* pClass;
        CObject* pObject;
        UINT nSchema; // for a class: the schema stored with it
    };

    [[noreturn]] void Throw(int nCause) const;
    void CheckStoring() const;
    void CheckLoading() const;
    // Reads more of the file into the buffer; returns the bytes added (0 at the end).
    UINT Refill();
    // Makes at least nBytes readable at m_nBufPos, or throws endOfFile.
    void FillBuffer(UINT nBytes);
    // The next byte without consuming it, or -1 at the end of the file.
    int PeekByte();
    void WriteBytes(const void* pData, UINT nBytes);
    void ReadBytes(void* pData, UINT nBytes);
    template<typename T> CArchive& StoreValue(T value);
    template<typename T> CArchive& LoadValue(T& value);
    // Gives the next load index to an entry, or throws badIndex when there are too many.
    void AddLoaded(const LoadedEntry& entry);
    DWORD NextStoreIndex();

    CFile* m_pFile;
    UINT m_nMode;
    UINT m_nObjectSchema { static_cast<UINT>(-1) };
    std::vector<BYTE> m_buffer;
    UINT m_nBufPos { 0 }; // storing: bytes waiting; loading: next unread byte
    UINT m_nBufLen { 0 }; // loading: bytes in the buffer
    // Storing: index of every class and object written. Loading: every index read.
    std::unordered_map<const void*, DWORD> m_storeMap;
    DWORD m_nStoreCount { 1 };
    std::vector<LoadedEntry> m_loaded;
    UINT m_nLoadDepth { 0 };
};
