#pragma once

// A handle on one record of a catalog file: its reference, its table, and a
// copy of its bytes that the record classes read and change in place. Every
// table's record class derives from it. The handle does not keep the file
// open: its owner holds a reference (CCatalogFile::Acquire) while it loads,
// saves or deletes.

#include "store/CatalogTypes.h"

#include <span>
#include <vector>

class CCatalogFile;

class CCatalogRecord {
public:
    // A handle on the record ref of nTableType in pDatabase. The buffer starts
    // zeroed at the table's record size; nothing is read until Load.
    CCatalogRecord(CCatalogFile* pDatabase, LONG nTableType, CRecordRef ref);
    virtual ~CCatalogRecord() = default;
    CCatalogRecord(const CCatalogRecord&) = default;
    CCatalogRecord& operator=(const CCatalogRecord&) = delete;

    // Reads the record into the buffer again. FALSE when the reference names
    // no used record of the table, or the file is damaged or not open.
    virtual BOOL Load();
    // Frees the record's slot and zeroes the buffer; the caller deletes the
    // object. Classes whose records own others (text records) free those too.
    virtual BOOL Delete();
    // Writes the buffer into the record's slot.
    BOOL Save();

    CATBLOCK GetBlock() const { return m_ref.nBlock; }
    LONG GetSlot() const { return m_ref.nSlot; }
    CRecordRef GetRef() const { return m_ref; }
    LONG GetTableType() const { return m_nTableType; }
    int GetSize() const { return static_cast<int>(m_data.size()); }
    CCatalogFile* GetDatabase() const { return m_pDatabase; }

    std::span<BYTE> GetData() { return m_data; }
    std::span<const BYTE> GetData() const { return m_data; }

private:
    CCatalogFile* const m_pDatabase;
    const LONG m_nTableType;
    const CRecordRef m_ref;
    std::vector<BYTE> m_data;
};
