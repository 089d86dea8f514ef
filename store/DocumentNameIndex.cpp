#include "store/DocumentNameIndex.h"

#include <algorithm>
#include <bit>
#include <functional>

std::uint64_t CDocumentNameIndex::HashOf(std::string_view name)
{
    std::uint64_t nHash = std::hash<std::string_view> {}(name);
    return nHash == 0 ? 1 : nHash; // 0 marks an empty slot
}

std::size_t CDocumentNameIndex::Probe(std::uint64_t nHash) const
{
    const std::size_t nMask = m_slots.size() - 1;
    std::size_t n = static_cast<std::size_t>(nHash) & nMask;
    while (m_slots[n].nHash != 0 && m_slots[n].nHash != nHash)
        n = (n + 1) & nMask;
    return n;
}

void CDocumentNameIndex::Reserve(std::size_t nNames)
{
    // The fewest slots that hold nNames at most 7/8 full: a dense index keeps
    // more of a large catalog's indexes in the processor's caches.
    std::size_t nWanted = std::bit_ceil(std::max<std::size_t>(8, (nNames * 8 + 6) / 7));
    if (nWanted <= m_slots.size())
        return;
    std::vector<CSlot> old = std::move(m_slots);
    m_slots.assign(nWanted, CSlot {});
    for (const CSlot& slot : old) {
        if (slot.nHash != 0)
            m_slots[Probe(slot.nHash)] = slot;
    }
}

void CDocumentNameIndex::Grow()
{
    Reserve(m_slots.empty() ? 8 : m_slots.size());
}

void CDocumentNameIndex::Add(std::string_view name, CRecordRef ref)
{
    if ((m_nCount + 1) * 8 > m_slots.size() * 7)
        Grow();
    std::uint64_t nHash = HashOf(name);
    CSlot& slot = m_slots[Probe(nHash)];
    if (slot.nHash != 0) {
        m_bAmbiguous = m_bAmbiguous || slot.ref != ref;
        return;
    }
    slot = { nHash, ref };
    ++m_nCount;
}

bool CDocumentNameIndex::Find(std::string_view name, CRecordRef* pRef) const
{
    if (m_slots.empty())
        return false;
    const CSlot& slot = m_slots[Probe(HashOf(name))];
    if (slot.nHash == 0)
        return false;
    *pRef = slot.ref;
    return true;
}

void CDocumentNameIndex::Remove(std::string_view name, CRecordRef ref)
{
    if (m_slots.empty())
        return;
    std::size_t n = Probe(HashOf(name));
    if (m_slots[n].nHash == 0 || m_slots[n].ref != ref)
        return;
    // Backward-shift deletion: the slots after the hole that probed past it move into it.
    const std::size_t nMask = m_slots.size() - 1;
    std::size_t nHole = n;
    for (std::size_t nNext = (n + 1) & nMask; m_slots[nNext].nHash != 0; nNext = (nNext + 1) & nMask) {
        std::size_t nHome = static_cast<std::size_t>(m_slots[nNext].nHash) & nMask;
        // The entry may fill the hole when its home lies cyclically outside (nHole, nNext].
        if (((nNext - nHome) & nMask) >= ((nNext - nHole) & nMask)) {
            m_slots[nHole] = m_slots[nNext];
            nHole = nNext;
        }
    }
    m_slots[nHole] = CSlot {};
    --m_nCount;
}
