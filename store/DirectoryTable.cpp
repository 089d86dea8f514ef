#include "store/DirectoryTable.h"

#include <bit>
#include <functional>
#include <utility>

void CDirectoryTable::CSlotTable::Insert(std::uint64_t nHash, std::uint32_t nEntry)
{
    if ((m_nCount + 1) * 4 > m_slots.size() * 3) {
        std::vector<CSlot> old = std::move(m_slots);
        m_slots.assign(std::max<std::size_t>(16, old.size() * 2), CSlot {});
        m_nCount = 0;
        for (const CSlot& slot : old) {
            if (slot.nEntry != 0)
                Insert(slot.nHash, slot.nEntry);
        }
    }
    const std::size_t nMask = m_slots.size() - 1;
    std::size_t n = static_cast<std::size_t>(nHash) & nMask;
    while (m_slots[n].nEntry != 0)
        n = (n + 1) & nMask;
    m_slots[n] = { nHash, nEntry };
    ++m_nCount;
}

std::uint32_t CDirectoryTable::CSlotTable::Next(std::uint64_t nHash, std::size_t* pnProbes) const
{
    if (m_slots.empty())
        return 0;
    // At most three quarters full: an empty slot ends every probe.
    const std::size_t nMask = m_slots.size() - 1;
    const std::size_t nHome = static_cast<std::size_t>(nHash) & nMask;
    for (;;) {
        const CSlot& slot = m_slots[(nHome + *pnProbes) & nMask];
        ++*pnProbes;
        if (slot.nEntry == 0)
            return 0;
        if (slot.nHash == nHash)
            return slot.nEntry;
    }
}

std::uint64_t CDirectoryTable::HashOfPath(std::string_view path)
{
    return std::hash<std::string_view> {}(path);
}

std::uint64_t CDirectoryTable::HashOfRecord(CRecordRef ref)
{
    // Block numbers run in sequence: mixed, so that their low bits spread over the table.
    std::uint64_t nKey
        = std::uint64_t { static_cast<std::uint32_t>(ref.nBlock) } << 32 | static_cast<std::uint32_t>(ref.nSlot);
    nKey ^= nKey >> 29;
    nKey *= 0x9E3779B97F4A7C15ULL;
    return nKey ^ nKey >> 32;
}

template<class Match>
CDirectoryTable::CEntry* CDirectoryTable::FindIn(const CSlotTable& table, std::uint64_t nHash, const Match& matches)
{
    std::size_t nProbes = 0;
    for (std::uint32_t nEntry; (nEntry = table.Next(nHash, &nProbes)) != 0;) {
        if (matches(m_entries[nEntry - 1]))
            return &m_entries[nEntry - 1];
    }
    return nullptr;
}

void CDirectoryTable::Clear()
{
    m_entries.clear();
    m_byPath.Clear();
    m_byRecord.Clear();
}

void CDirectoryTable::Add(std::string strPath, CRecordRef ref)
{
    m_entries.push_back({ std::move(strPath), ref, std::nullopt });
    const auto nEntry = static_cast<std::uint32_t>(m_entries.size());
    if (!m_entries.back().strPath.empty())
        m_byPath.Insert(HashOfPath(m_entries.back().strPath), nEntry);
    m_byRecord.Insert(HashOfRecord(ref), nEntry);
}

CDirectoryTable::CEntry* CDirectoryTable::FindPath(std::string_view path)
{
    return FindIn(m_byPath, HashOfPath(path), [&](const CEntry& entry) { return entry.strPath == path; });
}

CDirectoryTable::CEntry* CDirectoryTable::FindRecord(CRecordRef ref)
{
    return FindIn(m_byRecord, HashOfRecord(ref), [&](const CEntry& entry) { return entry.ref == ref; });
}
