#include "platform/base/GlobalMemory.h"

#include "platform/base/WinError.h"

#include <algorithm>
#include <map>
#include <memory>
#include <mutex>
#include <new>

namespace {

struct CGlobalBlock {
    std::unique_ptr<BYTE[]> pBytes;
    SIZE_T nSize { 0 };
    bool bMoveable { false };
    UINT nLocks { 0 };
};

// Handles of movable blocks count up from here and are never reused.
constexpr ULONG_PTR FIRST_GLOBAL_HANDLE = 0x70000;

class CGlobalHeap {
public:
    static CGlobalHeap& Instance()
    {
        static CGlobalHeap heap;
        return heap;
    }

    std::mutex m_mutex;
    std::map<HGLOBAL, CGlobalBlock> m_blocks;
    ULONG_PTR m_nNextHandle { FIRST_GLOBAL_HANDLE };

    CGlobalBlock* Find(HGLOBAL hMem)
    {
        auto it = m_blocks.find(hMem);
        if (it == m_blocks.end()) {
            SetLastError(ERROR_INVALID_HANDLE);
            return nullptr;
        }
        return &it->second;
    }
};

} // namespace

HGLOBAL GlobalAlloc(UINT uFlags, SIZE_T dwBytes)
{
    CGlobalBlock block;
    // One byte at least, so that even an empty block has an address to lock.
    block.pBytes.reset(new (std::nothrow) BYTE[dwBytes ? dwBytes : 1]);
    if (!block.pBytes) {
        SetLastError(ERROR_NOT_ENOUGH_MEMORY);
        return nullptr;
    }
    if (uFlags & GMEM_ZEROINIT)
        std::fill_n(block.pBytes.get(), dwBytes, BYTE { 0 });
    block.nSize = dwBytes;
    block.bMoveable = (uFlags & GMEM_MOVEABLE) != 0;
    CGlobalHeap& heap = CGlobalHeap::Instance();
    std::lock_guard lock(heap.m_mutex);
    // A fixed block's handle is its address, so callers may use either.
    HGLOBAL hMem = block.bMoveable ? reinterpret_cast<HGLOBAL>(heap.m_nNextHandle++) : block.pBytes.get();
    heap.m_blocks.emplace(hMem, std::move(block));
    return hMem;
}

HGLOBAL GlobalFree(HGLOBAL hMem)
{
    CGlobalHeap& heap = CGlobalHeap::Instance();
    std::lock_guard lock(heap.m_mutex);
    if (!heap.Find(hMem))
        return hMem;
    heap.m_blocks.erase(hMem);
    return nullptr;
}

LPVOID GlobalLock(HGLOBAL hMem)
{
    CGlobalHeap& heap = CGlobalHeap::Instance();
    std::lock_guard lock(heap.m_mutex);
    CGlobalBlock* pBlock = heap.Find(hMem);
    if (!pBlock)
        return nullptr;
    if (pBlock->bMoveable)
        ++pBlock->nLocks;
    return pBlock->pBytes.get();
}

BOOL GlobalUnlock(HGLOBAL hMem)
{
    CGlobalHeap& heap = CGlobalHeap::Instance();
    std::lock_guard lock(heap.m_mutex);
    CGlobalBlock* pBlock = heap.Find(hMem);
    if (!pBlock)
        return FALSE;
    if (pBlock->nLocks == 0) {
        SetLastError(pBlock->bMoveable ? ERROR_NOT_LOCKED : NO_ERROR);
        return FALSE;
    }
    --pBlock->nLocks;
    if (pBlock->nLocks == 0) {
        SetLastError(NO_ERROR);
        return FALSE;
    }
    return TRUE;
}

SIZE_T GlobalSize(HGLOBAL hMem)
{
    CGlobalHeap& heap = CGlobalHeap::Instance();
    std::lock_guard lock(heap.m_mutex);
    CGlobalBlock* pBlock = heap.Find(hMem);
    return pBlock ? pBlock->nSize : 0;
}

HGLOBAL GlobalReAlloc(HGLOBAL hMem, SIZE_T dwBytes, UINT uFlags)
{
    CGlobalHeap& heap = CGlobalHeap::Instance();
    std::lock_guard lock(heap.m_mutex);
    CGlobalBlock* pBlock = heap.Find(hMem);
    if (!pBlock)
        return nullptr;
    // A block shrinks in place, so pointers from earlier locks stay valid.
    if (dwBytes <= pBlock->nSize) {
        pBlock->nSize = dwBytes;
        return hMem;
    }
    // Growing moves the bytes: a fixed block, or a locked movable one whose
    // pointers would dangle, moves only when the caller allows it.
    if ((!pBlock->bMoveable || pBlock->nLocks > 0) && !(uFlags & GMEM_MOVEABLE)) {
        SetLastError(ERROR_NOT_ENOUGH_MEMORY);
        return nullptr;
    }
    std::unique_ptr<BYTE[]> pBytes(new (std::nothrow) BYTE[dwBytes ? dwBytes : 1]);
    if (!pBytes) {
        SetLastError(ERROR_NOT_ENOUGH_MEMORY);
        return nullptr;
    }
    SIZE_T nKept = std::min(dwBytes, pBlock->nSize);
    std::copy_n(pBlock->pBytes.get(), nKept, pBytes.get());
    if (uFlags & GMEM_ZEROINIT)
        std::fill_n(pBytes.get() + nKept, dwBytes - nKept, BYTE { 0 });
    pBlock->pBytes = std::move(pBytes);
    pBlock->nSize = dwBytes;
    if (pBlock->bMoveable)
        return hMem;
    // A fixed block's handle is its address, which has changed.
    CGlobalBlock moved = std::move(*pBlock);
    heap.m_blocks.erase(hMem);
    HGLOBAL hMoved = moved.pBytes.get();
    heap.m_blocks.emplace(hMoved, std::move(moved));
    return hMoved;
}
