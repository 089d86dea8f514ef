#pragma once

// A catalog: the main catalog ("archiv.cat") or the recycle-bin catalog
// ("winrec.cat"), a catalog file with the record sizes of tables 0 to 20, the
// root blocks of every table and the fixed nodes, and three maps in memory:
// directory paths to directory records (for path lookups), extensions to
// extension records, and the location map (catalogued places and mail stores
// with their kind, stored size or position, and folder-watch index).
//
// The maps are built when the catalog is opened and kept up to date by the
// calls that change their tables; Reload builds them again. They have their
// own lock, so several threads may look paths up while one adds documents.
//
// A directory with many documents also gets an index of its documents' names,
// built by the first lookup in it and kept up to date by every call that adds,
// renames or removes a document, so that a lookup there need not walk the
// whole document chain.

#include "store/CCatalogFile.h"
#include "store/DirectoryTable.h"
#include "store/DocumentNameIndex.h"

#include "platform/base/CString.h"
#include "platform/base/CollectionArrays.h"

#include <atomic>
#include <cstdint>
#include <map>
#include <mutex>
#include <span>
#include <string>
#include <string_view>
#include <vector>

class CCleanUpFolderRec;
class CDirectoryRec;
class CExtensionRec;
class CKeywordRec;
class CLibFolderRec;
class CMailStoreRec;
class CNodeFolderRec;
class CDocumentRec;
class CNodeRec;
struct CDocumentInfo;

class CCatalog : public CCatalogFile {
public:
    // What the constructor does when the file is missing.
    static constexpr int OPEN_EXISTING = 0;  // nothing: the catalog stays closed
    static constexpr int CREATE_MAIN = 1;    // creates a main catalog
    static constexpr int CREATE_RECYCLE = 2; // creates a recycle-bin catalog

    // Opens the catalog file at the program path pszPath and keeps one
    // reference. nInitialise (above) says whether a missing file is created
    // first, and of which kind. A file that is there but cannot be read is
    // left alone: IsOpen is FALSE and the fatal catalog error was reported.
    // nCacheChunks sizes the block cache; eDurability says how commits reach
    // the file.
    CCatalog(LPCTSTR pszPath, int nInitialise, int nCacheChunks = CACHE_CHUNKS,
        Durability eDurability = Durability::Journal);

    // Writes a new, empty catalog at pszPath (replacing a file there): the root
    // blocks of every table, the root node with "not set up" in its flags and
    // the fixed nodes of kinds 1 to 4. nBlockSize must be BLOCK_SIZE.
    static BOOL CreateFile(BOOL bRecycle, LPCTSTR pszPath, int nBlockSize);
    // The record size of each table, indexed by table type.
    static std::span<const int> RecordSizes();

    BOOL IsOpen() const { return GetOpenCount() > 0; }
    // Builds the maps again from the file.
    BOOL Reload();
    // Empties the maps held in memory; they are built again from the file on
    // their next use. The folder-watch indexes of the location entries
    // (SetLocationEntry) are kept. Called by windows that used a catalog
    // before they let it go.
    void ClearRecordCache();

    /* The place choice of set-up: which places the catalog covers. Kept in
       the root node's information record. */
    static constexpr LONG PLACE_NONE = 0;
    static constexpr LONG PLACE_LOCAL_DISK = 1;
    static constexpr LONG PLACE_NETWORK = 2;
    static constexpr LONG PLACE_BOTH = 3;
    LONG GetPlaceChoice() const { return m_nPlaceChoice; }
    // Stores a choice from PLACE_NONE to PLACE_BOTH; FALSE for another value or on failure.
    BOOL SetPlaceChoice(LONG nPlace);

    // Writes the current time into the header's time stamp, the time of the
    // last catalog update; with bAdvance two units (200 ns) later. FALSE when
    // the header could not be written.
    BOOL StampCatalogTime(BOOL bAdvance);

    /* Documents by path. Paths are lower-cased before they are looked up; the
       documents returned belong to the caller; null when there is none. */

    CDocumentRec* FindPath(LPCTSTR pszPath);
    CDocumentRec* FindPath(LPCTSTR pszFolder, LPCTSTR pszName);
    // Whether a file or a mail message is catalogued already. A file: the
    // document pszName in pszFolder, the folder given by a network drive letter
    // or by its share. A mail message (pMessage given): the message of the
    // store file pszFolder (a trailing backslash ignored) whose title is
    // pszName (a trailing "*" ignored) and whose identification is pMessage's,
    // as AddAndLink catalogues it.
    CDocumentRec* ResolvePath(LPCTSTR pszFolder, LPCTSTR pszName, const CDocumentInfo* pMessage = nullptr);
    // The document of pszPath, added when missing, and linked under pNode
    // (when given and bLink).
    CDocumentRec* FindOrAddPath(CNodeRec* pNode, LPCTSTR pszPath, BOOL bLink = TRUE);
    // The document pszName in the folder pszFolder, with the folder's
    // directory record added when missing. A new document takes pInfo's
    // texts and numbers (its name stays pszName). An existing one is returned;
    // given pInfo, it is first made to hold pInfo's information when it does
    // not (UpdateInfo), which completes an add that was cut short.
    CDocumentRec* FindOrAddDocument(LPCTSTR pszFolder, LPCTSTR pszName, const CDocumentInfo* pInfo);
    // Adds a document with info's name, texts and numbers to the end of the
    // directory's chain, without looking for one of the same name: for callers
    // that know the name is new there.
    CDocumentRec* AppendDocument(CDirectoryRec& directory, CDocumentInfo info);
    // Adds the mail message described by message (its subject in szName, its
    // store kind in nVersion, its date in dwAttributes) to the store at
    // pszStorePath and links it under pNode. The document's name is the title
    // (MailTitleOfSubject; the no-subject text for an empty subject) followed
    // by "*" and a character that keeps messages of equal titles apart; a
    // message already there (same title and identification) is linked and
    // returned as it is.
    CDocumentRec* AddAndLink(CNodeRec* pNode, const CDocumentInfo& message, LPCTSTR pszStorePath);
    // A document name not yet used in the folder: pszName itself, else the
    // base name followed by " (2)", " (3)"... before the extension. Empty when
    // none could be found.
    CString MakeUniqueName(LPCTSTR pszFolder, LPCTSTR pszName);

    /* Directories. */

    // The directory record of a folder path (lower-cased, a backslash added), or null.
    CDirectoryRec* FindDirectory(LPCTSTR pszFolder);
    CDirectoryRec* FindOrAddDirectory(LPCTSTR pszFolder);

    /* Entries: keywords, node folders, extensions, file name masks, clean-up
       folders and locations. The records returned belong to the caller; null
       when the entry could not be made (a text longer than 259 bytes, a file
       that refuses writes) or is not there. */

    CKeywordRec* CreateKeyword(LPCTSTR pszText);
    CKeywordRec* AddKeyword(LPCTSTR pszText) { return CreateKeyword(pszText); }
    // The keyword whose text equals pszText exactly.
    CKeywordRec* FindKeyword(LPCTSTR pszText);
    // The keyword whose text equals pszText exactly, else the first one equal
    // without regard to case: the keyword a text typed in other case means.
    CKeywordRec* FindKeywordNoCase(LPCTSTR pszText);
    // Links pNode to the keyword of each text, adding the keywords that are missing.
    BOOL LoadKeywords(CNodeRec* pNode, const CStringArray& keywords);
    CNodeFolderRec* AddNodeFolder(LPCTSTR pszText);
    CNodeFolderRec* FindNodeFolder(LPCTSTR pszText);
    // Deletes every node folder whose text equals pszText, with its links to
    // nodes; FALSE when none did or on failure.
    BOOL RemoveNodeFolderByName(LPCTSTR pszText);
    CLibFolderRec* AddLibFolder(LPCTSTR pszPattern);
    CCleanUpFolderRec* AddCleanUpFolder(LPCTSTR pszPath);
    // The entry whose text equals the given one exactly; null when there is none.
    CLibFolderRec* FindLibFolder(LPCTSTR pszPattern);
    CCleanUpFolderRec* FindCleanUpFolder(LPCTSTR pszPath);

    // Adds the lower-cased extension (without its dot) to the extension table
    // and map; an extension the table holds already gives its record instead.
    CExtensionRec* CreateExtension(LPCTSTR pszText);
    BOOL LoadExtensions(LPCTSTR pszText);
    // Deletes every extension record and empties the map.
    BOOL ClearExtensions();
    // The extensions in table order; an empty text ends the walk.
    CString FirstExtension();
    CString NextExtension();
    // TRUE when the lower-cased text after the last '.' of pszName is a
    // catalogued extension; *pRef (when given) receives its record.
    BOOL LookupExtension(LPCTSTR pszName, CRecordRef* pRef = nullptr);

    /* The location map, keyed by lower-cased path or name. */

    // Adds a location record and its map entry (replacing an entry of the same key).
    CMailStoreRec* AddMailStore(WORD wKind, LPCTSTR pszName);
    // Deletes every location record and empties the map.
    BOOL ClearLocations();
    int GetLocationCount();
    // Walks the keys: *pnIterator starts at GetLocationCount() and counts
    // down; FALSE after the last key.
    BOOL NextLocation(int* pnIterator, CString& strKey);
    BOOL NextPathKey(int* pnIterator, CString& strKey) { return NextLocation(pnIterator, strKey); }
    // The kind of the entry, -1 when the key is absent.
    int GetLocationKind(LPCTSTR pszKey);
    // The stored size, position or message count, -1 when the key is absent.
    LONG GetLocationValue(LPCTSTR pszKey);
    // Stores the value of an existing entry, in the map and its record.
    BOOL SetLocationValue(LPCTSTR pszKey, LONG nValue);
    // Stores the folder-watch index of an existing entry (in memory only).
    BOOL SetLocationEntry(LPCTSTR pszKey, int nWatchIndex);
    // The folder-watch index of the entry, -1 when none was stored or the key is absent.
    int GetLocationWatchIndex(LPCTSTR pszKey);
    // The network locations (entries of kind LOCATION_NETWORK) in key order,
    // each with its item count (the entry's stored value, 0 when negative).
    void GetNetworkLocations(CStringArray& paths, CDWordArray* pItemCounts);

    // The lower-cased folder text a directory record keeps for pszFolder, a
    // folder on a network drive letter in its share form: a backslash is added
    // unless it is a mail store ("*" first).
    static CString NormalizeFolder(LPCTSTR pszFolder);

    // The fewest documents for which a directory gets an index of their names.
    // A walk of a chain of a few blocks already reads more than the index costs.
    static constexpr LONG NAME_INDEX_THRESHOLD = 32;

    // Every used record of the chain starting at block nRoot, in chain order;
    // FALSE on damage.
    [[nodiscard]] BOOL ListRootChain(CATBLOCK nRoot, std::vector<CRecordRef>* pRefs);

private:
    friend class CDirectoryRec;
    friend class CDocumentRec;

    // A directory's index: lower-cased document names to document records.
    // An ambiguous one (two documents of one name, which the program never
    // makes, or two names of one hash) is dropped when a name leaves.
    using CNameIndex = CDocumentNameIndex;
    enum class NameLookup {
        Found,      // *pRef is the document the index names
        Absent,     // the index has no such name
        NotIndexed, // the directory has no index
    };

    /* The name indexes. A record named by an index is checked before it is
       used; one that fails the check has the caller drop the index. */

    NameLookup LookupDocumentName(CRecordRef directory, std::string_view name, CRecordRef* pRef);
    // The document named name (lower-cased) in directory, as its index
    // answers: *pLookup is Found with the document, Absent with null, or
    // NotIndexed (null) when there is no index, or it named a record that is
    // not that document (the index is dropped then).
    CDocumentRec* FindIndexedName(CRecordRef directory, std::string_view name, NameLookup* pLookup);
    // The same, for ref as *pLookup answered.
    CDocumentRec* TakeIndexedName(CRecordRef directory, std::string_view name, CRecordRef ref, NameLookup* pLookup);
    // The document's full name, lower-cased, is name.
    static bool IsDocumentNamed(const CDocumentRec& document, std::string_view name);
    // The directory record of a normalized folder text, from memory; none when there is none.
    CRecordRef LookupDirectory(const CString& strFolder);
    // The directory record of a normalized folder text (none when there is
    // none) and what its index answers for name, in one look at memory.
    NameLookup LookupPath(const CString& strFolder, std::string_view name, CRecordRef* pDirectory, CRecordRef* pRef);
    // The path of the directory record, from memory; false when it is not known there.
    bool LookupDirectoryPath(CRecordRef directory, CString* pPath);
    // A count of the changes to names so far: an index built while it moved may miss one.
    std::uint64_t GetNameChangeCount();
    // Keeps index for directory unless a name changed since nChangeCount.
    void SetNameIndex(CRecordRef directory, CNameIndex index, std::uint64_t nChangeCount);
    void DropNameIndex(CRecordRef directory);
    // A document of directory took or gave up a name.
    void AddDocumentName(CRecordRef directory, const std::string& strName, CRecordRef document);
    void RemoveDocumentName(CRecordRef directory, const std::string& strName, CRecordRef document);

    struct CLocationEntry {
        int nWatchIndex { -1 };
        WORD wKind { 0 };
        LONG nValue { 0 };
        CRecordRef ref;
    };

    [[nodiscard]] BOOL LoadMapsLocked();
    // Builds the maps when ClearRecordCache emptied them. The caller holds m_mapMutex.
    void EnsureMapsLocked();
    [[nodiscard]] BOOL LoadPlaceChoice();
    // Creates an entry and returns a new cursor of class T on it.
    template<class T> T* NewEntry(LONG nTableType, LPCTSTR pszText);
    // The first entry of class T in nTableType whose text equals pszText,
    // exactly or, with bNoCase, without regard to case.
    template<class T> T* FindEntry(LONG nTableType, LPCTSTR pszText, bool bNoCase = false);
    // Deletes every entry of a table, or with pszText those whose text equals it.
    [[nodiscard]] BOOL DeleteEntries(LONG nTableType, LPCTSTR pszText, int* pnDeleted);
    // The message of the store folder strFolder ("*" + store + "*") whose
    // lower-cased title, followed by "*", is strTitle and whose identification
    // is message's. *pcMarker receives the marker character the message has,
    // or for a message not there the first one free; 0 when none is left.
    CDocumentRec* FindMessage(
        const CString& strFolder, const std::string& strTitle, const CDocumentInfo& message, char* pcMarker);
    // Splits a lower-cased full path into its folder (with the backslash) and name.
    static bool SplitDocumentPath(const CString& strPath, CString* pFolder, CString* pName);

    std::mutex m_mapMutex;
    bool m_bMapsLoaded { false };
    std::atomic<LONG> m_nPlaceChoice { PLACE_NONE };
    CDirectoryTable m_directories;                  // directory records by text and by record, with their name indexes
    std::map<std::string, CRecordRef> m_extensions; // lower-cased extension -> extension record
    std::map<std::string, CLocationEntry> m_locations; // lower-cased key -> location
    std::vector<CRecordRef> m_extensionWalk;           // FirstExtension's snapshot of the table
    std::uint64_t m_nNameChanges { 0 };
    std::size_t m_nExtensionWalk { 0 };
};

// TRUE when pCatalog holds a document at the full path pszPath (found as
// FindPath finds it); FALSE without a catalog.
BOOL FindDocumentByPath(CCatalog* pCatalog, LPCTSTR pszPath);
