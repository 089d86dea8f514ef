#pragma once

// The catalog's directories in memory: each directory record with its
// normalized folder text and, for a large directory, the index of its
// document names. A directory is found by its text or by its record through
// flat tables of hashes (open addressing, linear probing) that name its
// entry, so that a path lookup in a catalog of many thousand directories
// touches one slot, one entry and its text before the name index, rather
// than the scattered nodes of a map per question. Directories are only
// added; Clear empties the table when the catalog is read again.

#include "store/CatalogTypes.h"
#include "store/DocumentNameIndex.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

class CDirectoryTable {
public:
    struct CEntry {
        std::string strPath; // normalized folder text; empty for a record without one
        CRecordRef ref;
        std::optional<CDocumentNameIndex> names; // the index of its document names, when one was built
    };

    void Clear();
    // Adds a directory record. One with an empty text is found by its record only.
    void Add(std::string strPath, CRecordRef ref);
    // The entry of a normalized folder text, or of a record; null when there is none.
    CEntry* FindPath(std::string_view path);
    CEntry* FindRecord(CRecordRef ref);
    std::size_t GetCount() const { return m_entries.size(); }

private:
    // One hash table: a key's 64-bit hash to the number of the entry it
    // names, plus one (0: an empty slot). Different keys may share a hash;
    // the caller checks the entry.
    class CSlotTable {
    public:
        void Clear() { m_slots.clear(); }
        void Insert(std::uint64_t nHash, std::uint32_t nEntry);
        // The entries of nHash, in turn: call with *pnSlot 0 first; 0 at the end.
        std::uint32_t Next(std::uint64_t nHash, std::size_t* pnSlot) const;

    private:
        struct CSlot {
            std::uint64_t nHash { 0 };
            std::uint32_t nEntry { 0 }; // 0: empty
        };
        std::vector<CSlot> m_slots; // a power of two of them, at most 3/4 full
        std::size_t m_nCount { 0 };
    };

    static std::uint64_t HashOfPath(std::string_view path);
    static std::uint64_t HashOfRecord(CRecordRef ref);
    // The first entry of nHash in table that matches.
    template<class Match> CEntry* FindIn(const CSlotTable& table, std::uint64_t nHash, const Match& matches);

    std::vector<CEntry> m_entries;
    CSlotTable m_byPath;
    CSlotTable m_byRecord;
};
