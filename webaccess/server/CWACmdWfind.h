#pragma once

// WFIND searches the documents the session may see for words in one field and
// answers with a page of at most 20 results, sorted by full path. The session
// keeps the command so that PAGE shows further pages of the same result. It
// holds the web catalog open while it lives.

#include "catalog/CTextSearch.h"
#include "webaccess/server/CWACommand.h"

#include <set>
#include <utility>
#include <vector>

class CCatalog;
class CDocumentRec;
class CNodeRec;

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
    // Writes page nArgument of the result; a page past the last one shows the
    // last. FALSE with status 12 when a write failed.
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

    CCatalog* m_pCatalog;         // Acquired while the command lives; may be null
    std::vector<CString> m_words; // Lower case
    int m_nField { FIELD_NAME };
    int m_nMatchMode { MODE_SENTENCE };
    int m_nCaseFlag { 0 }; // 0: the words are lower-cased; no token changes it
    std::vector<std::unique_ptr<CDocumentRec>> m_results;
    std::set<std::pair<LONG, LONG>> m_visited; // Documents with node links already tested
};
