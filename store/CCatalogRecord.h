#pragma once

// A handle on one record of a catalog file: its reference, its table, and a
// copy of its bytes that the record classes read and change in place. Every
// table's record class derives from it. The handle does not keep the file
// open: its owner holds a reference (CCatalogFile::Acquire) while it loads,
// saves or deletes.

#include "store/CatalogTypes.h"

#include <array>
#include <memory>
#include <span>

class CCatalogFile;

class CCatalogRecord {
public:
    // A handle on the record ref of nTableType in pDatabase. The buffer starts
    // zeroed at the table's record size; nothing is read until Load.
    CCatalogRecord(CCatalogFile* pDatabase, LONG nTableType, CRecordRef ref);
    virtual ~CCatalogRecord() = default;
    CCatalogRecord(const CCatalogRecord& other);
    CCatalogRecord& operator=(const CCatalogRecord&) = delete;

    // Reads the record into the buffer again. FALSE when the reference names
    // no used record of the table, or the file is damaged or not open.
    virtual BOOL Load();
    // As Load, for a record looked up by itself (CCatalogFile::LookUpRecord):
    // *pOwner receives the owner of its chain.
    BOOL LoadAlone(CRecordRef* pOwner);
    // Frees the record's slot and zeroes the buffer; the caller deletes the
    // object. Classes whose records own others (text records) free those too.
    virtual BOOL Delete();
    // Writes the buffer into the record's slot.
    BOOL Save();

    CATBLOCK GetBlock() const { return m_ref.nBlock; }
    LONG GetSlot() const { return m_ref.nSlot; }
    CRecordRef GetRef() const { return m_ref; }
    LONG GetTableType() const { return m_nTableType; }
    int GetSize() const { return static_cast<int>(m_nSize); }
    CCatalogFile* GetDatabase() const { return m_pDatabase; }

    std::span<BYTE> GetData() { return { Bytes(), m_nSize }; }
    std::span<const BYTE> GetData() const { return { Bytes(), m_nSize }; }

private:
    // Records up to this size (every table's but the node information and the
    // recent list) keep their bytes in the object: a walk that makes an object
    // per record makes no second allocation for each.
    static constexpr std::size_t INLINE_SIZE = 280;

    BYTE* Bytes() { return m_pHeap ? m_pHeap.get() : m_inline.data(); }
    const BYTE* Bytes() const { return m_pHeap ? m_pHeap.get() : m_inline.data(); }

    CCatalogFile* const m_pDatabase;
    const LONG m_nTableType;
    const CRecordRef m_ref;
    std::size_t m_nSize { 0 };
    std::array<BYTE, INLINE_SIZE> m_inline {};
    std::unique_ptr<BYTE[]> m_pHeap; // the bytes of a larger record
};
