#pragma once

// The entries of tables 6, 9, 12, 14, 16 and 18 (keywords, node folders,
// extensions, file name masks, clean-up folders, locations) and the pieces
// their texts are kept in (the table after each). An entry lives in its
// table's root chain; its text lies in pieces in the root chain of the text
// table, linked from the entry through their next references.

#include "store/CCatalogRecord.h"

#include "platform/base/CString.h"

#include <memory>
#include <vector>

class CCatalog;
class CNodeRec;

// One piece of an entry's text.
class CTextPieceRec : public CCatalogRecord {
public:
    static constexpr int OFF_NEXT = 0; // ref: the next piece
    static constexpr int OFF_TEXT = 8; // the piece, NUL-padded

    CTextPieceRec(CCatalog* pCatalog, LONG nTableType, CRecordRef ref);

    // The bytes of text a piece of nTableType holds: 10 for extensions, else 30.
    static int PieceSize(LONG nTableType);
    CRecordRef GetNext() const;
    CString GetPiece() const;
};

class CTextEntryRec : public CCatalogRecord {
public:
    /* Record layout (16 bytes). */
    static constexpr int RECORD_SIZE = 16;
    static constexpr int OFF_TEXT = 0; // ref: the first text piece
    static constexpr int OFF_WORD = 8; // per table: a link chain, or a kind
    static constexpr int OFF_VALUE = 12;
    // The longest text an entry keeps, in bytes.
    static constexpr int MAX_TEXT = 259;

    // A cursor on the entry of nTableType at ref, loaded.
    CTextEntryRec(CCatalog* pCatalog, LONG nTableType, CRecordRef ref);

    BOOL IsValid() const { return m_bValid; }
    CCatalog* GetCatalog() const { return m_pCatalog; }
    // The text, read from its pieces; what could be read when a piece is missing.
    CString GetText() const;
    // Keywords and node folders: the nodes linked to the entry, in link order.
    std::vector<std::unique_ptr<CNodeRec>> GetLinkedNodes() const;
    // Frees the text pieces and the entry, and for keywords and node folders
    // the links to nodes on both sides; the caller deletes the object.
    BOOL Delete() override;

    // Adds an entry of nTableType with its text to the table's root chain.
    // FALSE for a text longer than MAX_TEXT.
    [[nodiscard]] static BOOL Create(CCatalog* pCatalog, LONG nTableType, LPCTSTR pszText, CRecordRef* pRef);

protected:
    LONG GetTextTable() const { return GetTableType() + 1; }
    bool HasNodeLinks() const { return GetTableType() == TABLE_KEYWORD || GetTableType() == TABLE_NODE_FOLDER; }

private:
    CCatalog* const m_pCatalog;
    bool m_bValid { false };
};

// The root block of an entry or text table.
CATBLOCK EntryRootBlock(LONG nTableType);

// The non-empty texts of the entries of nTableType, in the order of its root
// chain; entries that cannot be read are left out, and an unreadable chain
// gives none.
std::vector<CString> ReadEntryTexts(CCatalog* pCatalog, LONG nTableType);
