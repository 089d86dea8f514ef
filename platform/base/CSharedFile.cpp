#include "platform/base/CSharedFile.h"

#include <utility>

IMPLEMENT_DYNAMIC(CSharedFile, CMemFile)

CSharedFile::CSharedFile(UINT nAllocFlags, UINT nGrowBytes)
    : CMemFile(nGrowBytes)
    , m_nAllocFlags(nAllocFlags)
{
}

CSharedFile::~CSharedFile()
{
    // Here, not in the base destructor, so that the block goes through Free below.
    Close();
}

HGLOBAL CSharedFile::Detach()
{
    ULONGLONG nLength = GetLength();
    HGLOBAL hMem = std::exchange(m_hGlobalMemory, nullptr);
    // Empties the file; the buffer it gives back is the block's locked address.
    CMemFile::Detach();
    // A movable block keeps its handle when it shrinks; a failure leaves it bigger, which is harmless.
    if (hMem && nLength > 0 && nLength < GlobalSize(hMem)) {
        if (HGLOBAL hShrunk = GlobalReAlloc(hMem, static_cast<SIZE_T>(nLength), 0))
            hMem = hShrunk;
    }
    return hMem;
}

BYTE* CSharedFile::Alloc(SIZE_T nBytes)
{
    HGLOBAL hMem = GlobalAlloc(m_nAllocFlags, nBytes);
    if (!hMem)
        return nullptr;
    m_hGlobalMemory = hMem;
    return static_cast<BYTE*>(GlobalLock(hMem));
}

BYTE* CSharedFile::Realloc(BYTE*, SIZE_T nBytes)
{
    GlobalUnlock(m_hGlobalMemory);
    HGLOBAL hMem = GlobalReAlloc(m_hGlobalMemory, nBytes, GMEM_MOVEABLE);
    if (!hMem) {
        // The block is as it was: keep it locked for the file.
        GlobalLock(m_hGlobalMemory);
        return nullptr;
    }
    m_hGlobalMemory = hMem;
    return static_cast<BYTE*>(GlobalLock(hMem));
}

void CSharedFile::Free(BYTE*)
{
    GlobalUnlock(m_hGlobalMemory);
    GlobalFree(m_hGlobalMemory);
    m_hGlobalMemory = nullptr;
}
