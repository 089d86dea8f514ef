#pragma once

// A directory (table 4): a lower-case folder path ending with a backslash, or
// for a mail store "*", the store file's path and one marker character. The
// documents of a directory live in a chain of table-2 blocks owned by it.

#include "store/CCatalogFile.h"
#include "store/CCatalogRecord.h"

#include "platform/base/CString.h"

#include <string_view>

class CCatalog;
class CDocumentRec;

class CDirectoryRec : public CCatalogRecord {
public:
    /* Record layout (276 bytes). */
    static constexpr int RECORD_SIZE = 276;
    static constexpr int OFF_PATH = 0; // char[264]
    static constexpr int PATH_SIZE = 264;
    static constexpr int OFF_DOCUMENT_BLOCK = 264; // first block of the document chain, NO_BLOCK when none
    static constexpr int OFF_STORE_KIND = 268;     // mail stores: the store kind
    static constexpr int OFF_COUNT = 272;          // the number of documents in the chain

    // A cursor on the directory at ref, loaded; IsValid tells whether it could be.
    CDirectoryRec(CCatalog* pCatalog, CRecordRef ref);

    BOOL IsValid() const { return m_bValid; }
    CString GetPath() const;
    void SetPath(LPCTSTR pszPath);
    CATBLOCK GetDocumentBlock() const;
    void SetDocumentBlock(CATBLOCK nBlock);
    LONG GetStoreKind() const;
    void SetStoreKind(LONG nKind);
    LONG GetDocumentCount() const;
    void SetDocumentCount(LONG nCount);

    /* The documents, in chain order. The caller deletes what they return. */

    // Restarts the walk and returns the first document, or null.
    CDocumentRec* FirstDocument();
    // The next document of the walk, or null at the end.
    CDocumentRec* NextDocument();
    // The document whose lower-cased full path (directory text and name) is
    // pszPath, or null. A path in another directory finds nothing.
    CDocumentRec* FindDocument(LPCTSTR pszPath);
    // The document named pszName (lower-cased) in this directory, or null.
    CDocumentRec* FindDocumentByName(LPCTSTR pszName);

private:
    friend class CCatalog;

    // FindDocumentByName for a name that is lower-cased already: through the
    // catalog's index of the directory's names when it has one (or has this
    // many documents that it gets one), else by a walk of the chain.
    CDocumentRec* FindLowerCaseName(std::string_view name);
    CDocumentRec* WalkForName(std::string_view name);
    // Walks the chain for the names of its documents and gives the catalog
    // the index; false on damage.
    bool BuildNameIndex();
    // Moves the walk's cursor to the next record of the chain (that match
    // accepts, when given), checked to be this directory's; false at the end
    // or on damage (the walk then ends).
    bool AdvanceCursor(const CCatalogFile::RecordMatch& match = nullptr);

    CCatalog* const m_pCatalog;
    bool m_bValid { false };
    CRecordRef m_cursor; // the walk's position
};

// The path a mail store's directory text names: the text without its leading
// "*" and its closing marker character. Empty for a text too short to hold them.
CString StripLocationMarkers(LPCTSTR pszDirectoryText);
