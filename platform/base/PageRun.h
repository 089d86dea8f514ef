#pragma once

// A run of memory taken from the host in one piece, for caches that fill it a
// slot at a time. The memory is zero-filled and page-aligned. A run of at
// least LARGE_PAGE_SIZE bytes starts on a large-page boundary and asks the
// host for large pages, so that first touching it costs one fault per large
// page instead of one per small page; the host may decline, which changes
// only the cost. The memory goes back to the host with the object.

#include "platform/base/WinTypes.h"

#include <cstddef>

class CPageRun {
public:
    static constexpr std::size_t LARGE_PAGE_SIZE = std::size_t { 2 } << 20;

    // Throws std::bad_alloc when the host has no room for nBytes (at least 1).
    explicit CPageRun(std::size_t nBytes);
    ~CPageRun();
    CPageRun(const CPageRun&) = delete;
    CPageRun& operator=(const CPageRun&) = delete;

    BYTE* GetData() const { return m_pData; }
    std::size_t GetSize() const { return m_nSize; }

private:
    BYTE* m_pData { nullptr };
    std::size_t m_nSize { 0 }; // as asked
    std::size_t m_nMapped { 0 };
};
