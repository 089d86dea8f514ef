#pragma once

// The commands that browse the catalog's groups as the session's profile lets
// the user see them: WDIR answers with the page of one group (path, sibling
// groups, sub-groups and documents), WTREE with the whole visible group tree
// as a flat list of tokens. Both hold the web catalog open while they live.

#include "store/CTextSearch.h"
#include "webaccess/server/CWACommand.h"

#include <set>
#include <utility>
#include <vector>

class CCatalog;
class CDocumentRec;
class CNodeRec;

constexpr int WA_STATUS_NOT_A_NODE = 8; // WDIR names no node of the catalog
constexpr int WA_STATUS_NO_GROUP = 10;  // No visible group to show

class CWACmdWdir : public CWACommand {
public:
    CWACmdWdir();
    ~CWACmdWdir() override;

    // Writes the group's page; FALSE with status 10 when there is no node to
    // show or the profile does not show the node.
    BOOL Execute(CWAOutputFile& reply, CWASession& session, int nArgument) override;
    // The session's place takes the node shown.
    void SetContext(CWASessionPlace& place) override;
    // "Get Archivora DIR - " and the names from below the top down to the node, joined by " > ".
    CString GetLogText() const override;
    // Fields: block, slot, then optionally "", "A" (ascending) or "A-"
    // (descending). (0,0) means the first visible group; any other
    // reference must be a node (status 8).
    void ParseArgs(LPCTSTR pszText) override;

private:
    CCatalog* m_pCatalog; // Acquired while the command lives; may be null
    LONG m_nBlock { -1 };
    LONG m_nSlot { -1 };
    LONG m_nAscending { 1 };
};

class CWACmdWtree : public CWABasicCommand {
public:
    // One visible group; indexes are positions in the item array, -1 none.
    struct CTreeItem {
        CString strName;
        LONG nBlock;
        LONG nSlot;
        int nLevel; // 0 right below the root
        int nParent;
        int nFirstChild;
    };

    CWACmdWtree();
    ~CWACmdWtree() override;

    // Lists the visible groups: siblings at consecutive indexes, a group's
    // children after everything listed before them.
    BOOL Prepare(CWASession& session) override;
    // "<#TRSZ |count|#>" and one "<#TRIT ...#>" per item.
    BOOL Execute(CWAOutputFile& reply, CWASession& session, int nArgument) override;
    CString GetLogText() const override;

private:
    void Fill(CWASession& session, int nLevel, int nParent, const std::vector<std::unique_ptr<CNodeRec>>& children);

    CCatalog* m_pCatalog;
    std::vector<CTreeItem> m_items;
};

// WFIND searches the documents the session may see for words in one field and
// answers with a page of at most 20 results, sorted by full path. The session
// keeps the command so that PAGE shows further pages of the same result.
class CWACmdWfind : public CWACommand {
public:
    // Match modes and fields, the values the search form sends back; they
    // are those of the catalog's text search.
    enum {
        MODE_ALL_WORDS = CTextSearch::MODE_ALL_WORDS,
        MODE_ONE_WORD = CTextSearch::MODE_ANY_WORD,
        MODE_SENTENCE = CTextSearch::MODE_ANY_IN_TEXTS,
    };
    enum {
        FIELD_DESCRIPTION = CTextSearch::FIELD_DESCRIPTION,
        FIELD_NAME = CTextSearch::FIELD_NAME,
        FIELD_FOLDER = CTextSearch::FIELD_LABEL,
        FIELD_FROM_TO = CTextSearch::FIELD_SECONDARY,
        FIELD_ANY = CTextSearch::FIELD_ALL_TEXTS,
    };
    static constexpr int RESULTS_PER_PAGE = 20;
    // The longest search text, as long as the longest text a document keeps
    // and the other text fields of a request: a longer one is malformed.
    static constexpr int MAX_SEARCH_TEXT = MAX_PATH - 1;

    CWACmdWfind();
    ~CWACmdWfind() override;

    // Searches the visible groups from the root, each document once.
    BOOL Prepare(CWASession& session) override;
    // Writes page nArgument of the result; a page past the last one shows the last.
    BOOL Execute(CWAOutputFile& reply, CWASession& session, int nArgument) override;
    CString GetLogText() const override;
    // Fields: the search text (at most MAX_SEARCH_TEXT characters), a mode
    // code ("1W", "AW", "WS") and a field code ("ANY", "DSC", "FLD", "FTO", "NAM").
    void ParseArgs(LPCTSTR pszText) override;

    const std::vector<CString>& GetWords() const { return m_words; }
    int GetResultCount() const { return static_cast<int>(m_results.size()); }

private:
    void Search(CWASession& session, const CNodeRec& node);
    BOOL Matches(const CDocumentRec& document) const;
    CString JoinWords() const;
    void WritePageLinks(CWAOutputFile& reply, int nPage, int nPages) const;

    CCatalog* m_pCatalog; // Acquired while the command lives; may be null
    std::vector<CString> m_words; // Lower case
    int m_nField { FIELD_NAME };
    int m_nMatchMode { MODE_SENTENCE };
    int m_nCaseFlag { 0 }; // 0: the words are lower-cased; no token changes it
    std::vector<std::unique_ptr<CDocumentRec>> m_results;
    std::set<std::pair<LONG, LONG>> m_visited; // Documents with node links already tested
};
