#pragma once

// The program's two records of search settings: the find settings (what the
// find bar and the search dialogs start with, with the last 15 search texts)
// and the last-find settings (the last search that ran, with its list filter).
// They live in the application's profile, sections "find" and "lastfind", and
// the list filter in the "Filter" subkey of the "lastfind" key.
//
// Each record names a system to search from by its catalog reference; a
// reference that no longer names a node of the catalog, or a stored value of
// the wrong form, gives the catalog's root. Every read value is outside input:
// a damaged one gives its default and nothing else is lost.

#include "platform/base/CString.h"
#include "platform/base/CollectionArrays.h"
#include "store/CatalogTypes.h"
#include "store/ListFilter.h"

#include <memory>

class CCatalog;
class CNodeRec;
class CWinApp;

// The search texts kept, newest first.
constexpr int FIND_HISTORY_LENGTH = 15;

/* How a search text becomes words ("type"). */
constexpr int FIND_TYPE_ALL_WORDS = 0;
constexpr int FIND_TYPE_ANY_WORD = 1;
constexpr int FIND_TYPE_PHRASE = 2;

// One record of search settings. The flags' meanings are the search dialogs'
// and the find bar's; they are kept as given.
struct CFindRecord {
    CStringArray history; // newest first; the last-find record keeps one
    int nType { FIND_TYPE_PHRASE };
    int nField { 1 };
    int nScope { 0 };
    BOOL bMatchCase { FALSE };
    BOOL bWholeWord { FALSE };
    BOOL bRecycle { FALSE };
    BOOL bOpenFindBar { TRUE };
    BOOL bResultList { FALSE };
    BOOL bAllDocs { FALSE };
    BOOL bInterrupt { FALSE };
    BOOL bDate { FALSE };
    std::unique_ptr<CNodeRec> pSystem; // the system to search from; null until loaded

    CFindRecord();
    ~CFindRecord();
    // The newest search text, "" for none.
    CString GetText() const { return history.GetSize() > 0 ? history[0] : CString(); }
};

class CFindSettings {
public:
    CFindSettings();
    ~CFindSettings();
    CFindSettings(const CFindSettings&) = delete;
    CFindSettings& operator=(const CFindSettings&) = delete;

    /* The profile. */

    // Reads both records and the list filter; the systems from pCatalog, which must be open.
    void Load(CWinApp& app, CCatalog* pCatalog);
    // Writes both records and the list filter.
    void Save(CWinApp& app) const;
    // Whether Load ran (so that there is something to save).
    BOOL IsLoaded() const { return m_find.pSystem != nullptr; }

    /* After a search. nBlock and nSlot name the system searched from; -1 keeps the record's. */

    // The search's text goes to the head of the history (an equal older one
    // leaves it; beyond 15 the oldest goes), with its kind, field, flags and,
    // unless it searched every document, its scope.
    void UpdateFind(const CFindRecord& search, CATBLOCK nBlock, LONG nSlot, CCatalog* pCatalog);
    void UpdateLastFind(const CFindRecord& search, CATBLOCK nBlock, LONG nSlot, CCatalog* pCatalog);
    // The record's system, replaced by the root when it is gone from the catalog.
    CNodeRec* RefreshFindSystemNode(CCatalog* pCatalog);
    CNodeRec* RefreshLastFindSystemNode(CCatalog* pCatalog);
    // After the catalog was replaced: empty histories, no filter, the root for both.
    void Reset(CCatalog* pCatalog);
    // Frees what the records hold, before their catalog closes.
    void Free();

    /* What searches read. */

    const CFindRecord& GetFind() const { return m_find; }
    const CFindRecord& GetLastFind() const { return m_lastFind; }
    // The words of the newest search text, as the text search takes them.
    const CStringArray& GetWords() const { return m_words; }
    const CListFilter& GetLastFindFilter() const { return m_lastFilter; }
    // The text of the last search that ran, "" for none.
    CString GetLastSearchText() const { return m_lastFind.GetText(); }
    // Replaces the last find's list filter by a copy of filter.
    void SetLastFindFilter(const CListFilter& filter);
    // The find record's options (kind, field, scope and flags) become those
    // of options; its history and system stay.
    void SetFindOptions(const CFindRecord& options);
    // Makes the newest search the program's find criteria (GetGlobalSearchCriteria).
    void ApplySearchCriteria() const;

private:
    // Rebuilds the words from the find record's newest text.
    void SplitSearchWords();

    CFindRecord m_find;
    CFindRecord m_lastFind;
    CStringArray m_words;
    CListFilter m_lastFilter;
};
