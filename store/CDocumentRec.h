#pragma once

// A document of the catalog (table 2): a file, or a message of a mail store.
// Its record lies in the document chain of its directory; the part of a text
// that does not fit its field continues in the document's location record
// (table 3), and its links to nodes form a list starting in the record.
//
// Objects are made and owned by the caller. A reference that names no
// document leaves the object invalid: its texts read empty and its
// operations return FALSE. The caller holds a reference on the catalog.

#include "store/CCatalogRecord.h"
#include "store/CNodeRec.h"

#include "platform/base/CString.h"

#include <functional>
#include <vector>

class CCatalog;
class CLinkRec;

// Document types (the record's type word).
constexpr WORD DOCUMENT_FILE = 0;
constexpr WORD DOCUMENT_MAIL = 1;

// A document's information as callers read and write it in one piece. 840 bytes.
struct CDocumentInfo {
    WORD wType; // DOCUMENT_FILE or DOCUMENT_MAIL
    WORD wReserved;
    BYTE id[16];      // files: the copy name; mail: store identifier, offset, length, state character
    char szName[260]; // file name or mail title, NUL-terminated
    char szDescription[260];
    char szSecondary[260];
    LONG nExpiry;  // seconds since 1970; below 1 none
    LONG nVersion; // files: version 0 to 9; mail: the store kind
    DWORD dwOpenAction;
    char szPassword[16]; // empty when not protected
    FILETIME ftCatalogTime;
    DWORD dwAttributes; // files: attributes kept while protected; mail: the message date
};
static_assert(sizeof(CDocumentInfo) == 840);

class CDocumentRec : public CCatalogRecord {
public:
    /* Record layout (260 bytes). */
    static constexpr int RECORD_SIZE = 260;
    static constexpr int OFF_TYPE = 0; // u16, then u16 reserved
    static constexpr int OFF_ID = 4;   // 16 bytes: a file's copy name, a message's identification
    static constexpr int ID_SIZE = 16;
    static constexpr int OFF_STATE = 16; // mail: 'x' when deleted from its store
    static constexpr int OFF_NAME = 20;  // char[61]
    static constexpr int OFF_DESCRIPTION = 81;
    static constexpr int OFF_SECONDARY = 142;
    static constexpr int TEXT_SIZE = 61;
    static constexpr int OFF_LOCATION = 204; // location record reference, none when there is none
    static constexpr int OFF_EXPIRY = 212;
    static constexpr int OFF_ATTRIBUTES = 216;
    static constexpr int OFF_VERSION = 220;
    static constexpr int OFF_PASSWORD = 224; // char[16]
    static constexpr int PASSWORD_SIZE = 16;
    static constexpr int OFF_OPEN_ACTION = 240;
    static constexpr int OFF_CATALOG_TIME = 244; // FILETIME, low half first
    static constexpr int OFF_FIRST_LINK = 252;   // the first link of the document's link list

    // The longest text (name, description, secondary text) a document keeps, in bytes.
    static constexpr int MAX_TEXT = (TEXT_SIZE - 1) + (200 - 1);

    // A document object for the record at (nBlock, nSlot), loaded.
    CDocumentRec(CCatalog* pCatalog, CATBLOCK nBlock, LONG nSlot);

    BOOL Load() override;
    BOOL IsValid() const { return m_bValid; }
    CCatalog* GetCatalog() const { return m_pCatalog; }
    CDocumentRec* Clone() const;

    /* Fields. */
    WORD GetType() const;
    BOOL IsMail() const { return GetType() != DOCUMENT_FILE; }
    LONG GetExpiry() const;
    CRecordRef GetFirstLink() const;

    /* Texts. */

    // The name text continued by the location record. A mail title loses its
    // two marker characters unless bKeepMarkers.
    void GetFullPath(CString& strOut, int bKeepMarkers = FALSE) const;
    // The text of the owning directory, ending with a backslash; a leading "*"
    // is skipped unless bKeepStar.
    // FIXME: bConvert should give the drive form of a network path once the network drive map exists.
    CString GetDirectoryPath(BOOL bConvert, BOOL bKeepStar = FALSE) const;
    // The directory path; for a mail message the path of its store file.
    CString GetDirectoryString(BOOL bConvert = TRUE) const;
    // The description / secondary text continued by the location record.
    void GetNameWithLocation(CString& strOut) const;
    void GetAltNameWithLocation(CString& strOut) const;
    // A file's folder path; a mail message's directory text.
    void GetLabel(CString& strOut) const;
    // "File", "Mail", "Netscape Mail", "Outlook Express 4 Mail" or "Outlook Express 5 Mail".
    void GetTypeName(CString& strOut) const;

    /* Information. */

    CDocumentInfo* GetInfo(CDocumentInfo* pInfo) const;
    // Writes the information back into the record and its location record, and
    // links the document under the expiring-documents node while it has an
    // expiry date (unlinks it when it has none).
    BOOL UpdateInfo(CDocumentInfo info);

    /* Links. */

    CNodeRecArray GetLinkedNodes() const;
    BOOL HasLinks(BOOL bUserNodesOnly = FALSE) const;
    // The links to nodes other than the fixed nodes of blocks 1 and 2.
    int CountNodeLinks() const;
    // Linked under the favourites node (block 2).
    BOOL IsUnderTopNode2() const;
    // Unlinks the document from every node except (nExceptBlock, nExceptSlot);
    // with bKeepTopLevel the links to the fixed nodes stay. A document left
    // with no link and no exception is removed from the catalog.
    BOOL ForEachLinkedNode(CATBLOCK nExceptBlock, LONG nExceptSlot, BOOL bKeepTopLevel);

private:
    friend class CNodeRec;
    friend class CCatalog;

    // The document's links in list order, each with the node holding it; FALSE
    // on damage (a link naming another document, a list longer than the file).
    [[nodiscard]] BOOL ReadLinks(std::vector<CLinkRec>* pLinks) const;
    // Stores info's numbers and the heads of its texts in a record, and the
    // rest of each text in tails; true when a text has a rest (which belongs
    // in the location record).
    static bool StoreInfo(std::span<BYTE> data, CDocumentInfo& info, CString tails[3]);
    CString GetLongText(int nOffset, int nLocationText) const;
    // Takes the links whose node shouldRemove names out of the list and frees them.
    [[nodiscard]] BOOL RemoveLinks(const std::function<bool(CRecordRef)>& shouldRemove);
    // Frees the record and its location record; the directory's count drops.
    BOOL Remove();

    CCatalog* const m_pCatalog;
    bool m_bValid { false };
    mutable CString m_strTypeName; // cached
};
