#include "platform/base/SlotPool.h"

#include <algorithm>
#include <cstring>

namespace {

constexpr std::size_t FIRST_RUN_SLOTS = 8;

std::size_t SlotSizeFor(std::size_t nBytes)
{
    constexpr std::size_t ALIGN = alignof(std::max_align_t);
    return (std::max(nBytes, sizeof(void*)) + ALIGN - 1) / ALIGN * ALIGN;
}

} // namespace

void* CSlotPool::Take(std::size_t nBytes)
{
    assert(m_nSlotSize == 0 || SlotSizeFor(nBytes) == m_nSlotSize);
    if (m_pFree) {
        void* pSlot = m_pFree;
        std::memcpy(&m_pFree, pSlot, sizeof(void*));
        return pSlot;
    }
    m_nSlotSize = SlotSizeFor(nBytes);
    if (m_runs.empty() || m_nCarved == m_nRunSlots) {
        // Each run is four times the last, up to a large page's worth of slots.
        std::size_t nLargeSlots = std::max<std::size_t>(CPageRun::LARGE_PAGE_SIZE / m_nSlotSize, 1);
        std::size_t nSlots = m_runs.empty() ? FIRST_RUN_SLOTS : std::min(m_nRunSlots * 4, nLargeSlots);
        std::size_t nRunBytes
            = nSlots == nLargeSlots ? std::max(CPageRun::LARGE_PAGE_SIZE, m_nSlotSize) : nSlots * m_nSlotSize;
        m_runs.push_back(std::make_unique<CPageRun>(nRunBytes));
        m_nRunSlots = nSlots;
        m_nCarved = 0;
    }
    return m_runs.back()->GetData() + m_nCarved++ * m_nSlotSize;
}

void CSlotPool::Give(void* pSlot) noexcept
{
    std::memcpy(pSlot, &m_pFree, sizeof(void*));
    m_pFree = pSlot;
}

void CSlotPool::Release()
{
    m_runs.clear();
    m_pFree = nullptr;
    m_nCarved = 0;
    m_nRunSlots = 0;
}
