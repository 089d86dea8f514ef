#pragma once

// Equal-sized slots for a container that allocates one element at a time
// (such as a block cache's lists), carved from page runs. Runs grow from a few
// slots to a large page's worth, so a small cache stays small and a large
// one fills large pages, which cost far fewer faults to first touch than
// the small pages the general heap hands out. A freed slot is reused before
// a new one is carved; runs go back to the host with the pool.
//
// CSlotAllocator hands a container the pool's slots; containers that splice
// elements between them must share one pool. Not thread-safe: the owner
// serializes the containers' changes.

#include "platform/base/PageRun.h"

#include <cassert>
#include <cstddef>
#include <memory>
#include <vector>

class CSlotPool {
public:
    CSlotPool() = default;
    CSlotPool(const CSlotPool&) = delete;
    CSlotPool& operator=(const CSlotPool&) = delete;

    // A slot of nBytes (the same size on every call) and alignment at most
    // alignof(std::max_align_t). Throws std::bad_alloc when the host has no room.
    void* Take(std::size_t nBytes);
    void Give(void* pSlot) noexcept;
    // Returns every run to the host; every slot taken must have been given back.
    void Release();

    std::size_t GetRunCount() const { return m_runs.size(); }

private:
    std::size_t m_nSlotSize { 0 };
    std::vector<std::unique_ptr<CPageRun>> m_runs;
    std::size_t m_nCarved { 0 }; // slots carved from the last run
    std::size_t m_nRunSlots { 0 };
    void* m_pFree { nullptr }; // freed slots, each holding the next one's address
};

template<class T> class CSlotAllocator {
public:
    using value_type = T;

    explicit CSlotAllocator(CSlotPool* pPool)
        : m_pPool(pPool)
    {
    }
    template<class U>
    CSlotAllocator(const CSlotAllocator<U>& other) // NOLINT(google-explicit-constructor): rebinding
        : m_pPool(other.GetPool())
    {
    }

    T* allocate(std::size_t n)
    {
        assert(n == 1);
        (void)n;
        return static_cast<T*>(m_pPool->Take(sizeof(T)));
    }
    void deallocate(T* p, std::size_t) noexcept { m_pPool->Give(p); }

    CSlotPool* GetPool() const { return m_pPool; }
    template<class U> bool operator==(const CSlotAllocator<U>& other) const { return m_pPool == other.GetPool(); }

private:
    CSlotPool* m_pPool;
};
