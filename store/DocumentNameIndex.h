#pragma once

// The index of one directory's document names: each name's 64-bit hash to the
// document record that bears it, in one flat table (open addressing, linear
// probing), so that a large directory's index costs one allocation and a few
// bytes a name. It keeps no names: a record it gives is a candidate that the
// caller checks against the file. Two names of one hash, or two documents of
// one name, make the index ambiguous: it still answers, and the caller drops
// it when a name leaves.

#include "store/CatalogTypes.h"

#include <cstdint>
#include <string_view>
#include <vector>

class CDocumentNameIndex {
public:
    // Makes room for nNames names without growing.
    void Reserve(std::size_t nNames);
    // Adds name for ref; a hash already there keeps its record and makes the index ambiguous.
    void Add(std::string_view name, CRecordRef ref);
    // The record named for name, when there is one.
    bool Find(std::string_view name, CRecordRef* pRef) const;
    // Removes name when the index names ref for it.
    void Remove(std::string_view name, CRecordRef ref);
    bool IsAmbiguous() const { return m_bAmbiguous; }
    std::size_t GetCount() const { return m_nCount; }

private:
    struct CSlot {
        std::uint64_t nHash { 0 }; // 0: empty
        CRecordRef ref;
    };

    static std::uint64_t HashOf(std::string_view name);
    // The slot holding nHash, or the empty slot where it would go.
    std::size_t Probe(std::uint64_t nHash) const;
    void Grow();

    std::vector<CSlot> m_slots; // a power of two of them, at most 7/8 full
    std::size_t m_nCount { 0 };
    bool m_bAmbiguous { false };
};
