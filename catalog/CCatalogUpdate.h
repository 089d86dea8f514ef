#pragma once

// The catalog update: looks for new documents in the catalog's places (every
// fixed drive, the network locations), in the fast-update folders or in the
// folders the setup wizard chose, and in every mail store of the catalog, and
// catalogues each new one under the nodes its placement gives (folder records
// and keywords, CDocumentPlacement), with a description from the beginning of
// its text. Files the catalog's rules keep out (CCatalogRules) are left alone.
//
// It never removes an entry: a document whose file or message is gone keeps
// its classification, description, expiry and password; the views show it as
// not found and the user removes it.
//
// Guarantees: the changes are committed in batches of at most about a
// second's work, each whole; a stop leaves the catalog consistent, and a later
// run completes what an interrupted one began (a document added without its
// link is linked then). A failed catalog write ends the run at once; the
// store reports it, once. Runs in the user-interface thread behind the update
// progress dialog (CRunProgress), which it asks for a stop between files.

#include "catalog/CCatalogRules.h"
#include "catalog/CDocumentPlacement.h"
#include "catalog/CRunProgress.h"
#include "catalog/DescriptionReadAhead.h"

#include "store/CNodeRec.h"

#include "platform/base/CString.h"
#include "platform/base/CollectionMaps.h"

#include "platform/base/FolderListing.h"

#include <map>
#include <memory>
#include <set>
#include <string>
#include <vector>

class CCatalog;
class CDirectoryRec;
class CDocumentRec;
class CMailMessage;
class CRecentList;
struct CDocumentInfo;

// What a run did, counted.
struct CUpdateTotals {
    int nAdded { 0 };           // files catalogued
    int nMessagesAdded { 0 };   // mail messages catalogued
    int nFound { 0 };           // files and messages catalogued before
    int nRejected { 0 };        // files the rules keep out
    int nSkipped { 0 };         // folders that could not be read, names the catalog cannot hold
    int nFailedStores { 0 };    // mail stores whose reading ended on an error
    int nMessagesDeleted { 0 }; // messages their store flags deleted or damaged, left out
    int nMessagesSkipped { 0 }; // messages the catalog could not take
    int nGone { 0 };            // documents of the folders walked whose file is gone
};

class CCatalogUpdate {
public:
    /* Options: where mode 0 looks ("UpdateOption"). Without either, only the
       mail stores are read. */
    static constexpr int OPTION_PLACES = 0x1;       // the catalog's places
    static constexpr int OPTION_FAST_FOLDERS = 0x2; // the fast-update folders, each with its sub-folders

    /* Modes of Update. */
    static constexpr int MODE_UPDATE = 0; // the places or folders of the options, then the mail stores
    static constexpr int MODE_FIRST = 1;  // the root map's folders, organised as they lie, then the mail stores

    // The deepest folder a walk enters, counted from its root.
    static constexpr int MAX_DEPTH = 64;

    // pCatalog is the main catalog; what no rule places goes under pTarget
    // (copied; null: the unsorted documents). A first cataloguing builds its
    // systems under the root, as the tree's top systems. hOwner owns the
    // progress dialog.
    CCatalogUpdate(CCatalog* pCatalog, const CNodeRec* pTarget, int nOptions, HWND hOwner);
    ~CCatalogUpdate();
    CCatalogUpdate(const CCatalogUpdate&) = delete;
    CCatalogUpdate& operator=(const CCatalogUpdate&) = delete;

    // Takes the folders to catalog (the keys of map, the wizard's checked
    // folders) for MODE_FIRST: normalised and lower-cased. The roots are those
    // below no other, in sorted order. A folder of value 1 is taken with
    // everything below it; one of value 0 with its own files, its sub-folders
    // decided one by one: each is entered when the map holds it or a folder
    // below it, and only the files of the folders the map holds are taken.
    void BuildRootMap(const CMapStringToPtr& map);
    const std::vector<CString>& GetRoots() const { return m_roots; }

    // The threads that read new files ahead of the walk (CDescriptionReadAhead);
    // 0 reads each file as the walk takes it. By default, DefaultWorkers.
    void SetReadAheadWorkers(int nWorkers) { m_nReadAheadWorkers = nWorkers; }

    // Runs the update. FALSE when a catalog write failed; a stop is no failure.
    BOOL Update(int nMode);
    const CUpdateTotals& GetTotals() const { return m_totals; }

private:
    // A folder to walk: its program path as the walk spells it, ending in "\".
    struct CWalkRoot {
        CString strFolder;
        CString strLocationKey; // a network location's key, whose item count the walk updates; empty for a local folder
    };
    // What became of one file of a walk.
    enum class EVisit { Found, Added, Left };
    // What the rules and the catalog make of a file's name.
    enum class EName { Taken, NotUtf8, Rejected, TooLong };
    // A folder as its walk catalogues its files.
    struct CFolderFiles {
        CString strFolder;      // as the walk spells it, ending in "\"
        CString strLowerFolder; // the catalog's form
        CListedFolder listed;
        // Its directory record as the walk began (null when it had none): the
        // files catalogued before are found in it.
        std::unique_ptr<CDirectoryRec> pBefore;
        // Its directory record for the walk's adds, from the first add on.
        std::unique_ptr<CDirectoryRec> pDirectory;
        std::vector<std::string> lowerNames;      // of the listing's entries, in its order
        std::set<std::string, std::less<>> twins; // the lower-case names more than one entry shares
        // Its place in the walk: the index in its parent's listing of each
        // folder on the way from the walk's root to it.
        std::vector<std::size_t> position;
        // For a folder that had no directory record: what its files' names
        // are to the rules, by entry (files only); the files read ahead; and
        // for each entry its place among them (-1: not read ahead).
        std::vector<EName> nameOfEntry;
        std::unique_ptr<CDescriptionReadAhead::CFolderReads> pReads;
        std::vector<int> readOfEntry;
        // Sub-folders listed (and their files queued) ahead of their walk, by
        // their index in the listing; and the index from which to look for more.
        std::map<std::size_t, std::unique_ptr<CFolderFiles>> listedAhead;
        std::size_t nListAheadFrom { 0 };
    };
    // The sub-folders a folder's walk keeps listed ahead of it while files
    // are read ahead, and the most the whole walk keeps (each holds a host
    // descriptor). A folder listed ahead lists its own first sub-folders
    // ahead at once, so that what is listed is what the walk comes to next
    // in a deep tree as in a wide one, and the workers begin a folder's
    // files before the walk enters it (measured on /usr: one file in 400 left
    // for the walk's own thread to read, against one in 8 with four of 64 and
    // no nesting).
    static constexpr std::size_t LIST_AHEAD = 3;
    static constexpr int MAX_LISTED_AHEAD = 128;

    /* The parts of a run. */

    // The folders mode nMode walks, and the mail stores' location keys.
    std::vector<CWalkRoot> CollectRoots(int nMode) const;
    std::vector<CString> CollectStores() const;
    void SetUpProgress(const std::vector<CWalkRoot>& roots, size_t nStores, int nMode);
    // How much of a folder a walk takes.
    enum class EScope {
        Whole,   // its files and everything below it
        Own,     // its files; its sub-folders decided one by one (MODE_FIRST)
        Through, // no file; only the way to chosen folders below it (MODE_FIRST)
        None,    // nothing
    };
    // The scope of a folder (the catalog's form) below no folder of scope Whole.
    EScope ScopeOf(const CString& strLowerFolder) const;
    // Walks the folder and what its scope takes below it; the number of files
    // seen. A local walk steps its bar per folder at its top, a network walk per file.
    // A sub-folder is entry nEntry of its parent's listing (null for a root),
    // and pListed its listing when it was listed ahead.
    int WalkFolder(const CString& strFolder, int nDepth, bool bNetwork, EScope eScope,
        const CFolderFiles* pParent = nullptr, std::size_t nEntry = 0, std::unique_ptr<CFolderFiles> pListed = nullptr);
    // Lists a folder for its walk, with its directory record, and queues its
    // files to read ahead; null when the rules leave it out or it cannot be
    // read, which is counted and traced unless bAhead: a listing ahead of the
    // walk leaves that to the walk's own listing.
    std::unique_ptr<CFolderFiles> ListFolder(const CString& strFolder, int nDepth, EScope eScope,
        const CFolderFiles* pParent, std::size_t nEntry, bool bAhead);
    // Keeps LIST_AHEAD sub-folders of a folder listed ahead of its walk, from entry nFrom on.
    void ListAhead(CFolderFiles& files, std::size_t nFrom, int nDepth, EScope eScope);
    // The scope of entry nEntry of a folder's listing as a sub-folder the
    // walk enters; None for one it does not enter (a file, a link, a name it
    // leaves out, a folder too deep).
    EScope SubfolderScope(const CFolderFiles& files, std::size_t nEntry, int nDepth, EScope eScope) const;
    // Queues the descriptions of the files of a folder new to the catalog
    // that the walk will add, as the entries give them.
    void ReadAhead(CFolderFiles& files, CDescriptionReadAhead::ETaking eTaking);
    // What the rules and the catalog make of a file's name (strLower lower-cased).
    EName CheckFileName(const std::string& strName, const std::string& strLower) const;
    // One file of a walk, entry nEntry of the folder's listing (strLower
    // lower-cased): catalogued before, added, or left out.
    EVisit VisitFile(CFolderFiles& files, std::size_t nEntry, const std::string& strLower);
    EVisit AddFile(CFolderFiles& files, std::size_t nEntry, const CString& strPath, const CString& strLowerName);
    // The document record of a file the folder's directory record did not
    // hold as the walk began, added with info; null on failure.
    CDocumentRec* AddDocument(CFolderFiles& files, const CString& strLowerName, CDocumentInfo& info);
    // Links a document that is catalogued without a link, as an add cut short leaves it.
    void CompleteLinks(CDocumentRec& document, const CString& strPath);
    // Reads a mail store and catalogues its new messages.
    void ReadStore(const CString& strKey);
    // Links a catalogued message that no node the tree shows holds (none, or
    // the root alone, where earlier first cataloguings left messages) where
    // the placement puts it, and takes it from the root.
    void LinkWhereShown(CDocumentRec& document, const CString& strKey, const CMailMessage& message);
    // Links a new document under the nodes, the first one holding it already.
    BOOL LinkUnder(CDocumentRec& document, const CNodeRecArray& nodes, size_t nFirst);
    // Notes a new document for the recent list, which takes the documents
    // noted a folder, a mail store or MAX_ENTRIES documents at a time.
    void NoteAdded(const CDocumentRec& document);
    void WriteRecent();

    /* A first cataloguing's organisation: a system per root, a group per folder with documents. */

    // The node of a folder (as the walk spells it, no trailing backslash): the
    // one an earlier run made, else made with its folder record, named after
    // the folder; null when it could not be made.
    const CNodeRec* FolderNode(const CString& strFolder);
    // The node an earlier run made for the folder under parent (a set-up cut
    // short and run again), found by its folder record; null when none.
    std::unique_ptr<CNodeRec> EarlierFolderNode(const CNodeRec& parent, const CString& strLowerFolder);
    CString UniqueChildName(const CNodeRec& parent, const CString& strName) const;

    /* Between files. */

    // TRUE when the run goes on: no stop was confirmed and the catalog takes writes.
    BOOL KeepGoing();
    // Asks whether to stop, after the user asked it in the dialog.
    void ConfirmStop();
    // Commits the changes when a batch is due; FALSE when the catalog failed.
    BOOL CheckCatalog();
    void Trace(const char* pszFormat, ...) const __attribute__((format(printf, 2, 3)));

    CCatalog* const m_pCatalog;
    std::unique_ptr<CNodeRec> m_pTarget;
    const int m_nOptions;
    const HWND m_hOwner;
    std::vector<CString> m_roots;
    std::map<std::string, bool, std::less<>> m_chosenFolders; // MODE_FIRST: the root map's folders, true when whole

    // The run's state.
    int m_nMode { MODE_UPDATE };
    std::unique_ptr<CCatalogRules> m_pRules;
    std::unique_ptr<CDocumentPlacement> m_pPlacement;
    std::unique_ptr<CRunProgress> m_pProgress;
    int m_nReadAheadWorkers { CDescriptionReadAhead::DefaultWorkers() };
    std::unique_ptr<CDescriptionReadAhead> m_pReadAhead; // from the first new files to the walk's end
    int m_nListedAhead { 0 };                            // the sub-folders listed ahead and not yet walked
    int m_nLocalBar { -1 };                              // the bars of the three steps; -1 for a step not shown
    int m_nNetworkBar { -1 };
    int m_nStoreBar { -1 };
    std::unique_ptr<CRecentList> m_pRecent; // null unless catalogued documents join the recent list
    std::vector<CRecordRef> m_recentAdded;  // documents noted for it and not yet written, oldest first
    std::map<std::string, std::unique_ptr<CNodeRec>> m_folderNodes; // MODE_FIRST: folder -> its node
    std::unique_ptr<CNodeRec> m_pSystemsParent;                     // MODE_FIRST: the root, once a system is made
    CUpdateTotals m_totals;
    bool m_bStopped { false };
    bool m_bFailed { false };
};
