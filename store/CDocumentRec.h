#pragma once

// A document of the catalog (table 2): a file, or a message of a mail store.
// Its record lies in the document chain of its directory and is always
// written whole, in one write; the part of a name that does not fit its field
// continues in the document's location record (table 3), and its links to
// nodes form a list starting in the record.
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

// A file name whose type stands for mail messages when the shell is asked for
// their icon or type name.
constexpr char MAIL_ITEM_FILE_NAME[] = "archivora.kdmail";

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
    bool bFound { false };          // the file, or the mail store file, is there
    bool bReachable { true };       // the path's drive or share maps to a place on this machine
    bool bStoreShrunk { false };    // mail: the store no longer holds the message where the record says
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

// The title the catalog keeps for a message of this subject (decoded UTF-8):
// the subject as written, cut at a character boundary to
// CDocumentRec::MAX_MAIL_TITLE bytes. A message without subject takes the
// no-subject text of the resource module, the one its notice shows; empty only
// without that module. A message is the one a record catalogued only when its
// subject gives the record's title (IsSameMailTitle).
std::string MailTitleOfSubject(std::string_view strSubject);
// Whether two mail titles are the same title: a document's path is compared
// without regard to case, and titles catalogued by earlier versions were kept
// lower-cased.
bool IsSameMailTitle(std::string_view strTitle1, std::string_view strTitle2);

class CDocumentRec : public CCatalogRecord {
public:
    /* Record layout (260 bytes, 7 to a block; store/FORMAT.md). Other code and
       dialogs read and change these bytes in place, so each field keeps its offset. */
    static constexpr int RECORD_SIZE = 260;
    static constexpr int OFF_TYPE = 0; // u16, then a reserved u16
    static constexpr int OFF_ID = 4;   // files: the copy name; mail: the identification
    static constexpr int ID_SIZE = 16;
    static constexpr int OFF_STATE = 16;       // mail: 'x' when the message was deleted from its store
    static constexpr int OFF_NAME = 20;        // the name's start, NUL-terminated
    static constexpr int OFF_DESCRIPTION = 81; // NUL-terminated
    static constexpr int OFF_SECONDARY = 142;  // NUL-terminated
    static constexpr int TEXT_SIZE = 61;       // each of the three text fields
    static constexpr int OFF_LOCATION = 204;   // ref: the rest of the name (table 3), none when it fits
    static constexpr int OFF_EXPIRY = 212;     // i32: seconds since 1970, below 1 none
    static constexpr int OFF_ATTRIBUTES = 216; // files: attributes kept while protected; mail: message date
    static constexpr int OFF_VERSION = 220;    // files: version 0 to 9; mail: the store kind
    static constexpr int OFF_PASSWORD = 224;   // NUL-terminated; a non-zero first byte marks it protected
    static constexpr int PASSWORD_SIZE = 16;
    static constexpr int OFF_OPEN_ACTION = 240;  // u32
    static constexpr int OFF_CATALOG_TIME = 244; // FILETIME, low half first
    static constexpr int OFF_FIRST_LINK = 252;   // ref: the first link of the document's link list

    // The longest name a document keeps, in bytes: its field's and its location record's.
    static constexpr int MAX_NAME = 259;
    // The longest mail title, in bytes: a mail document's name is its title and two marker characters.
    static constexpr int MAX_MAIL_TITLE = MAX_NAME - 2;
    // The longest description and secondary text, in bytes.
    static constexpr int MAX_TEXT = TEXT_SIZE - 1;

    // A document object for the record at (nBlock, nSlot), loaded.
    CDocumentRec(CCatalog* pCatalog, CATBLOCK nBlock, LONG nSlot);
    // A document object for the record ref, loaded as a record looked up by
    // itself (CCatalogRecord::LoadAlone); *pOwner receives the directory
    // record owning its chain.
    CDocumentRec(CCatalog* pCatalog, CRecordRef ref, CRecordRef* pOwner);

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
    // *pbContinued is set when the name goes on in a location record.
    static std::string_view NameHead(std::span<const BYTE> record, bool* pbContinued);
    // GetFullPath's text read from a document record's bytes, for a pass that
    // builds no record object; false when the name goes on in a location
    // record, which only a loaded record reads. *pPath points into record.
    static bool FullPathInRecord(std::span<const BYTE> record, std::string_view* pPath);
    BOOL IsMail() const { return GetType() != DOCUMENT_FILE; }
    LONG GetExpiry() const;
    CRecordRef GetFirstLink() const;

    /* Texts. */

    // The name, continued by the location record. A mail title loses its
    // two marker characters unless bKeepMarkers.
    void GetFullPath(CString& strOut, int bKeepMarkers = FALSE) const;
    // The text of the owning directory, ending with a backslash; a leading "*"
    // is skipped unless bKeepStar. The catalog keeps network folders in share
    // form; bConvert gives them in the form of a drive letter mapped to the share.
    CString GetDirectoryPath(BOOL bConvert, BOOL bKeepStar = FALSE) const;
    // The directory path; for a mail message the path of its store file.
    CString GetDirectoryString(BOOL bConvert = TRUE) const;
    // The description / secondary text.
    void GetNameWithLocation(CString& strOut) const;
    void GetAltNameWithLocation(CString& strOut) const;
    // A file's folder path; a mail message's directory text.
    void GetLabel(CString& strOut) const;
    // "File", "Mail", "Netscape Mail", "Outlook Express 4 Mail" or "Outlook Express 5 Mail".
    void GetTypeName(CString& strOut) const;

    /* Caches of the icons that ui/DocumentIcons.h works out: kept by this
       object and handed on to its clones. */

    // An icon the object owns: destroyed with its holder and copied for a
    // clone, through the functions the window side supplies with it.
    class CHeldIcon {
    public:
        using CopyFn = HICON (*)(HICON);
        using DestroyFn = BOOL (*)(HICON);
        CHeldIcon(HICON hIcon, CopyFn pfnCopy, DestroyFn pfnDestroy)
            : m_hIcon(hIcon)
            , m_pfnCopy(pfnCopy)
            , m_pfnDestroy(pfnDestroy)
        {
        }
        ~CHeldIcon() { m_pfnDestroy(m_hIcon); }
        CHeldIcon(const CHeldIcon&) = delete;
        CHeldIcon& operator=(const CHeldIcon&) = delete;

        HICON Get() const { return m_hIcon; }
        std::unique_ptr<CHeldIcon> Copy() const
        {
            return std::make_unique<CHeldIcon>(m_pfnCopy(m_hIcon), m_pfnCopy, m_pfnDestroy);
        }

    private:
        HICON m_hIcon;
        CopyFn m_pfnCopy;
        DestroyFn m_pfnDestroy;
    };

    std::optional<int>& TypeIconCache() const { return m_nTypeIcon; }
    std::unique_ptr<CHeldIcon>& IconCache() const { return m_pIcon; }

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

    // The message a mail document names, as the mail readers take it: its
    // store, the place, length and date recorded, and its title.
    CMailDocumentRef GetMailRef() const;

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
    // Writes the information back into the record (in one write) and its
    // location record, and links the document under the expiring-documents
    // node while it has an expiry date (unlinks it when it has none).
    BOOL UpdateInfo(CDocumentInfo info);
    // Replaces the description with pszText, cut at a character boundary to
    // MAX_TEXT bytes: DESCRIPTION_WRITTEN, DESCRIPTION_UNCHANGED when the
    // record already holds that text (nothing is written), or
    // DESCRIPTION_FAILED when the record could not be read or written.
    static constexpr int DESCRIPTION_WRITTEN = 0;
    static constexpr int DESCRIPTION_UNCHANGED = 1;
    static constexpr int DESCRIPTION_FAILED = 2;
    int ChangeDescription(LPCTSTR pszText);

    /* Fields of the information, one at a time (empty or 0 when the record
       cannot be read). */

    // Files: the name of the copy the recycle folder keeps; empty for a mail message.
    CString GetCopyName() const;
    // Files: the version number, 0 (none) to 9; 0 for a mail message.
    int GetVersion() const;
    // Mail messages: the kind of their store; -1 for a file.
    int GetStoreKind() const;
    DWORD GetOpenAction() const;
    // The password; empty when the document is not protected.
    CString GetPassword() const;

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
    // TRUE when every text ends within its field and a rest of the name, when
    // the record names one, is a used location record that continues a name
    // start filling its field, within the longest name. *pLocation receives
    // that record, or none.
    [[nodiscard]] BOOL CheckTexts(CRecordRef* pLocation) const;

private:
    friend class CNodeRec;
    friend class CCatalog;

    // Follows the document's list of links as the file holds it, handing each
    // link and the one after it (none at the end) to visit until visit returns
    // false. FALSE on damage, reported: a link that is not a link of this
    // document, a list longer than the file has slots for links.
    [[nodiscard]] BOOL WalkLinkList(const std::function<bool(CRecordRef link, CRecordRef next)>& visit) const;
    // WalkLinkList from the link at ref.
    [[nodiscard]] BOOL WalkLinkListFrom(
        CRecordRef ref, const std::function<bool(CRecordRef link, CRecordRef next)>& visit) const;
    // The document's links in list order, each with the node holding it; FALSE
    // on damage, as WalkLinkList.
    [[nodiscard]] BOOL ReadLinks(std::vector<CLinkRec>* pLinks) const;
    // Whether the document's own list, as the record was loaded, holds the link at linkRef.
    [[nodiscard]] bool ListsLink(CRecordRef linkRef) const;
    // Stores info's fields in a record, the name's start in its field; the
    // rest of the name, which belongs in a location record, goes to *pRest.
    static void StoreInfo(std::span<BYTE> data, const CDocumentInfo& info, std::string* pRest);
    // The name StoreInfo keeps of info.
    static std::string StoredName(const CDocumentInfo& info);
    // The name with its rest from the location record, read once per load.
    const std::string& GetName() const;
    // Writes a new location record holding rest.
    [[nodiscard]] static BOOL WriteLocation(CCatalog* pCatalog, const std::string& strRest, CRecordRef* pRef);
    // Frees the location record at ref; none, or one that is gone, leaves nothing to free.
    [[nodiscard]] static BOOL FreeLocation(CCatalog* pCatalog, CRecordRef ref);
    // True when the record holds what UpdateInfo(info) would write, the
    // document's listing under the expiring-documents node included.
    bool Holds(const CDocumentInfo& info) const;
    // Whether the document is linked under the expiring-documents node.
    [[nodiscard]] BOOL IsListedAsExpiring(bool* pbListed) const;
    // Links the document under the expiring-documents node when nExpiry is a
    // date and it is not listed there; unlinks it when it is and nExpiry is none.
    [[nodiscard]] BOOL ListAsExpiring(LONG nExpiry);
    // Takes the links whose node shouldRemove names out of the list and frees them.
    [[nodiscard]] BOOL RemoveLinks(const std::function<bool(CRecordRef)>& shouldRemove);
    // Frees the record and its location record; the directory's count drops.
    BOOL Remove();

    CCatalog* const m_pCatalog;
    bool m_bValid { false };
    int ComputeExpiryState() const;
    int ChangeFileProtection(LPCTSTR pszNewPassword, LPCTSTR pszOldPassword);
    int ChangeMailProtection(LPCTSTR pszNewPassword, LPCTSTR pszOldPassword);
    // Writes a new password into the record.
    BOOL StorePassword(CDocumentInfo& info, LPCTSTR pszPassword);

    mutable std::optional<std::string> m_name; // cached by GetName
    mutable CString m_strTypeName;             // cached
    mutable CDocumentState m_state;
    mutable bool m_bStateLoaded { false };
    mutable int m_nExpiryState { -1 };          // -1 until computed
    mutable std::optional<int> m_nTypeIcon;     // cached
    mutable std::unique_ptr<CHeldIcon> m_pIcon; // cached
};
