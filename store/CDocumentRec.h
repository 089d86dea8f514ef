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
#include "store/CMailDocumentHooks.h"
#include "store/CNodeRec.h"
#include "store/ContentReader.h"
#include "store/ProtectedFile.h"

#include "platform/base/CString.h"

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <type_traits>
#include <vector>

class CCatalog;
class CLinkRec;

// Document types (the record's type word).
constexpr WORD DOCUMENT_FILE = 0;
constexpr WORD DOCUMENT_MAIL = 1;

// Expiry states of a document (GetExpiryState). States 2, 3 and 6 block
// opening, editing and moving to the recycle bin.
constexpr int EXPIRY_NEW = 0;          // catalogued fewer than "NumDayFileNew" days ago
constexpr int EXPIRY_PASSED = 1;       // the expiry date has passed
constexpr int EXPIRY_MAIL_DELETED = 2; // the message was deleted from its store
constexpr int EXPIRY_NOT_FOUND = 3;    // the file or mail store is not there
constexpr int EXPIRY_UNREACHABLE = 6;  // the document lies on a network place that cannot be reached
constexpr int EXPIRY_NONE = 0x7FFFFFFF;

// What LoadState reads of a file or message. Times are seconds since 1970, 0 for none.
struct CDocumentState {
    LONGLONG nSize { -1 }; // bytes; negative when it cannot be read
    LONGLONG tModified { 0 };
    LONGLONG tCreated { 0 }; // files: the status-change time; mail: the message date
    LONGLONG tAccessed { 0 };
    bool bFound { false };       // the file, or the mail store file, is there
    bool bReachable { true };    // the path's drive or share maps to a place on this machine
    bool bStoreShrunk { false }; // mail: the store no longer holds the message where the record says
    bool bDeletedInStore { false }; // mail: the store flags the message deleted
};

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

// The longest password of a mail message, in bytes.
constexpr int MAX_MAIL_PASSWORD = 10;

class CDocumentRec : public CCatalogRecord {
public:
    /* Record layout (117 bytes, 17 to a block): the numbers at fixed places,
       then the start of the packed texts (store/FORMAT.md). */
    static constexpr int RECORD_SIZE = 117;
    static constexpr int OFF_TYPE = 0;        // u16
    static constexpr int OFF_PACKED_SIZE = 2; // u16: the bytes of the packed texts
    static constexpr int OFF_EXPIRY = 4;
    static constexpr int OFF_ATTRIBUTES = 8;
    static constexpr int OFF_VERSION = 12;
    static constexpr int OFF_OPEN_ACTION = 16;
    static constexpr int OFF_CATALOG_TIME = 20; // FILETIME, low half first
    static constexpr int OFF_FIRST_LINK = 28;   // the first link of the document's link list
    static constexpr int OFF_LOCATION = 36;     // the first continuation piece, none when the texts fit
    static constexpr int OFF_PACKED = 44;       // the packed texts' first bytes, the name first
    static constexpr int PACKED_IN_RECORD = RECORD_SIZE - OFF_PACKED;
    static constexpr int ID_SIZE = 16;
    static constexpr int PASSWORD_SIZE = 16;

    // The longest text (name, description, secondary text) a document keeps, in bytes.
    static constexpr int MAX_TEXT = 259;
    // The most bytes the packed texts take: three texts and the password with
    // their NULs, the identification's length byte and its bytes.
    static constexpr int MAX_PACKED = 3 * (MAX_TEXT + 1) + PASSWORD_SIZE + 1 + ID_SIZE;

    // A document object for the record at (nBlock, nSlot), loaded.
    CDocumentRec(CCatalog* pCatalog, CATBLOCK nBlock, LONG nSlot);

    BOOL Load() override;
    BOOL IsValid() const { return m_bValid; }
    CCatalog* GetCatalog() const { return m_pCatalog; }
    // A new object on the same record with this one's cached type text and state.
    CDocumentRec* Clone() const;
    // Copies the document (its folder, texts, numbers and links) into pTarget
    // and returns the copy, which belongs to the caller. The nodes it is linked
    // to are found or made in pTarget by their paths of names. A document that
    // pTarget already has at the same path takes this one's information.
    CDocumentRec* CopyToCatalog(CCatalog* pTarget) const;

    /* Fields. */
    WORD GetType() const;
    // A password is set (files and mail messages alike).
    BOOL IsProtected() const;
    // The start of the name in a document record's bytes, where it lies;
    // *pbContinued is set when the name may go on in the location records.
    static std::string_view NameHead(std::span<const BYTE> record, bool* pbContinued);
    BOOL IsMail() const { return GetType() != DOCUMENT_FILE; }
    LONG GetExpiry() const;
    CRecordRef GetFirstLink() const;

    /* Texts. */

    // The name text continued by the location record. A mail title loses its
    // two marker characters unless bKeepMarkers.
    void GetFullPath(CString& strOut, int bKeepMarkers = FALSE) const;
    // The text of the owning directory, ending with a backslash; a leading "*"
    // is skipped unless bKeepStar. The catalog keeps network folders in share
    // form; bConvert gives them in the form of a drive letter mapped to the share.
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

    /* Icons. */

    // The document's icon in the small system image list: that of its file
    // type, or of the mail item type for a message; -1 for a document that
    // cannot be read. Worked out on first use from the name alone, so the
    // file is never touched.
    int GetTypeIcon() const;
    // The document's large shell icon: that of its file as the file is now,
    // or of the mail item type for a message; the resource module's document
    // icon (IDI_DOCUMENT) when the shell has none (the file is gone, the drive
    // unreachable). Worked out on first use. The object owns the icon and
    // destroys it with itself: callers never destroy it, and copy it
    // (CopyIcon) to keep it longer.
    HICON GetIcon() const;

    /* State. */

    // The document's file path, or for a mail message its store file's path.
    CString GetFilePath() const;
    // Reads the size, the times and whether the file is there, once, or again with bRefresh.
    const CDocumentState& LoadState(BOOL bRefresh = FALSE) const;
    // The state the record alone gives, without looking at the file:
    // EXPIRY_PASSED when the expiry date has passed, else EXPIRY_NEW when the
    // document was catalogued fewer days ago (counted in local dates) than
    // the preference "NumDayFileNew", else EXPIRY_NONE.
    int GetRecordState() const;
    // The expiry state (EXPIRY_...), computed on first use and again when bCheck is TRUE.
    int GetExpiryState(int bCheck) const;
    // Loads the state when it is not loaded and checks it again: 1 when the
    // expiry state changed, 2 when the message's store needs reorganising, 0 otherwise.
    int RefreshState();

    /* Content and protection. */

    // Writes the beginning of the document's text, at most nSize bytes with
    // the terminator and cut at a character boundary, into pszBuffer, and
    // returns a CONTENT_ code: a file through ReadFileContent, a mail message
    // through the reader of its store kind. A protected document is not read.
    int ReadContent(char* pszBuffer, int nSize) const;
    // Checks a protected message's password against the record and reads the
    // message from its store; a PROTECT_ code (PROTECT_UNREADABLE for a file).
    int ReadMailMessage(LPCTSTR pszPassword) const;
    // Sets the document's password (empty: none) after checking the current
    // one: a file through ProtectFile, a mail message through the reader of
    // its store kind. A file that becomes protected is made read-only, its
    // former attributes kept in the record; unprotected, it gets them back.
    // Without a new password only checks the password (a message is also read,
    // ReadMailMessage). A PROTECT_ code; PROTECT_NOT_PROTECTED when a file to
    // unprotect was not protected (its record then holds no password either).
    // The record and the file never disagree after a failure: a record that
    // cannot be written takes the file's change back.
    int ChangeProtection(LPCTSTR pszNewPassword, LPCTSTR pszOldPassword);

    /* Information. */

    CDocumentInfo* GetInfo(CDocumentInfo* pInfo) const;
    // Writes the information back into the record and its location record, and
    // links the document under the expiring-documents node while it has an
    // expiry date (unlinks it when it has none).
    BOOL UpdateInfo(CDocumentInfo info);

    /* Links. */

    // The nodes whose link chain holds a link of the document's list.
    CNodeRecArray GetLinkedNodes() const;
    BOOL HasLinks(BOOL bUserNodesOnly = FALSE) const;
    // The links to nodes, those to the service nodes of blocks 1 and 2
    // (expiring documents, favourites) only with bWithServiceNodes. Callers
    // pass FALSE and take a non-zero count as linked.
    int CountNodeLinks(BOOL bWithServiceNodes) const;
    // Linked under the favourites node (block 2).
    BOOL IsUnderTopNode2() const;
    // Unlinks the document from every node except (nExceptBlock, nExceptSlot);
    // with bKeepTopLevel the links to the fixed nodes stay. A document left
    // with no link and no exception is removed from the catalog.
    BOOL ForEachLinkedNode(CATBLOCK nExceptBlock, LONG nExceptSlot, BOOL bKeepTopLevel);

    /* Checking, for the whole-file check; both only read. */

    // The document's links in list order, with the first-link and next
    // references checked on the way; FALSE on damage (reported).
    [[nodiscard]] BOOL ListLinkRefs(std::vector<CRecordRef>* pLinks) const;
    // TRUE when the packed run reads whole: its size is one a record can hold,
    // its continuation pieces are exactly as many as it needs, each a used
    // location record, the texts and the identification fill it exactly and
    // the bytes after its end are zero. pPieces receives the pieces in order.
    [[nodiscard]] BOOL CheckPackedRun(std::vector<CRecordRef>* pPieces) const;

private:
    friend class CNodeRec;
    friend class CCatalog;

    // The document's links in list order, each with the node holding it; FALSE
    // on damage (a link naming another document, a list longer than the file).
    [[nodiscard]] BOOL ReadLinks(std::vector<CLinkRec>* pLinks) const;
    // Whether the document's own list holds the link at linkRef.
    [[nodiscard]] bool ListsLink(CRecordRef linkRef) const;
    // The texts and identification a record keeps packed.
    struct CPackedTexts {
        std::string texts[4]; // name, description, secondary text, password
        BYTE id[ID_SIZE] {};
    };
    // Stores info's numbers and packed texts in a record, all but what does
    // not fit, which goes to *pRest; true when there is such a rest (it
    // belongs in the continuation pieces).
    static bool StoreInfo(std::span<BYTE> data, const CDocumentInfo& info, std::string* pRest);
    // The name StoreInfo keeps of info.
    static std::string StoredName(const CDocumentInfo& info);
    // The packed texts, read once per load.
    const CPackedTexts& GetPackedTexts() const;
    // Writes rest into a new list of continuation pieces of pCatalog and
    // returns its first piece (none for an empty rest).
    [[nodiscard]] static BOOL WriteContinuation(CCatalog* pCatalog, const std::string& strRest, CRecordRef* pFirst);
    // Frees the list of continuation pieces starting at first.
    [[nodiscard]] static BOOL FreeContinuation(CCatalog* pCatalog, CRecordRef first);
    // Takes the links whose node shouldRemove names out of the list and frees them.
    [[nodiscard]] BOOL RemoveLinks(const std::function<bool(CRecordRef)>& shouldRemove);
    // Frees the record and its location record; the directory's count drops.
    BOOL Remove();

    CCatalog* const m_pCatalog;
    bool m_bValid { false };
    int ComputeExpiryState() const;
    // The message the record names, for the mail hooks.
    CMailDocumentRef GetMailRef() const;
    CString GetPassword() const;
    int ChangeFileProtection(LPCTSTR pszNewPassword, LPCTSTR pszOldPassword);
    int ChangeMailProtection(LPCTSTR pszNewPassword, LPCTSTR pszOldPassword);
    // Writes a new password into the record.
    BOOL StorePassword(CDocumentInfo& info, LPCTSTR pszPassword);

    mutable std::optional<CPackedTexts> m_packed; // cached by GetPackedTexts
    mutable CString m_strTypeName;                // cached
    mutable CDocumentState m_state;
    mutable bool m_bStateLoaded { false };
    mutable int m_nExpiryState { -1 }; // -1 until computed
    mutable std::optional<int> m_nTypeIcon; // cached
    struct CIconDestroyer {
        void operator()(HICON hIcon) const;
    };
    mutable std::unique_ptr<std::remove_pointer_t<HICON>, CIconDestroyer> m_pIcon; // cached, owned
};
