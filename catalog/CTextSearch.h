#pragma once

// Whether one catalogued document matches a set of search words: the words
// are looked for in one of the document's catalog texts, in its four texts in
// turn, or in its content (the file's bytes, or the message's stored bytes),
// and combined with AND or OR. A word is found where it occurs as a part of
// the text, or with the whole-word rule only between word boundaries (see
// CWordFinder); without regard to case, characters are compared lower-cased,
// Unicode-aware. An empty word is never found.

#include "catalog/CWordFinder.h"

#include "platform/base/CString.h"
#include "platform/base/WinTypes.h"

#include <optional>
#include <span>
#include <string_view>
#include <vector>

class CDocumentRec;

// The criteria of a search, as the find settings give them.
struct CSearchCriteria {
    std::vector<CString> words;
    int nField { 1 }; // CTextSearch::FIELD_*
    int nMode { 0 };  // CTextSearch::MODE_*
    BOOL bCaseSensitive { FALSE };
    BOOL bWholeWord { FALSE };
};

// The program's find criteria: filled by the find settings from the newest
// search text, read by the catalog search and the result lists. Empty (no
// words) until then. User-interface thread only.
CSearchCriteria& GetGlobalSearchCriteria();

class CTextSearch {
public:
    // What is searched. Any value above FIELD_ALL_TEXTS searches the name.
    enum {
        FIELD_DESCRIPTION = 0, // CDocumentRec::GetNameWithLocation
        FIELD_NAME = 1,        // CDocumentRec::GetFullPath; never case-sensitive
        FIELD_LABEL = 2,       // CDocumentRec::GetLabel; never case-sensitive
        FIELD_SECONDARY = 3,   // CDocumentRec::GetAltNameWithLocation
        FIELD_CONTENT = 4,     // The file's or the message's bytes
        FIELD_ALL_TEXTS = 5,   // Texts 0 to 3 in turn; the first that matches decides
    };
    // How the words combine.
    enum {
        MODE_ALL_WORDS = 0,    // Every word must be found in the text
        MODE_ANY_WORD = 1,     // One word found is enough
        MODE_ANY_IN_TEXTS = 2, // One word for the catalog texts, every word for the content
    };
    // What a test gives besides 0 (no match) and 1 (a match): the message's
    // store was reorganised since it was catalogued (its records point astray).
    static constexpr int MATCH_STORE_CHANGED = 2;

    // Tests the document against the program's find criteria.
    static int CopyGlobalCriteria(const CDocumentRec& document);
    // The program's find criteria prepared once, to test many documents as
    // CopyGlobalCriteria does; the criteria must not change meanwhile.
    static CTextSearch PrepareGlobalCriteria();
    int Match(const CDocumentRec& document) const { return MatchDocument(document); }
    // TRUE when the criteria test the name alone (FIELD_NAME): then
    // MatchName(path) is Match's result for a document of that full path.
    bool TestsNameOnly() const { return m_nField == FIELD_NAME; }
    int MatchName(std::string_view path) const { return CombineResults(path, FIELD_NAME, FALSE); }
    // Tests the document against the words, without the whole-word rule.
    // With no words, only a blank description or secondary text searched as
    // its own field matches, and every readable content; FIELD_ALL_TEXTS then
    // matches nothing. The description, also within FIELD_ALL_TEXTS, is
    // compared with the case flag given here.
    static int SetCriteria(
        const CDocumentRec& document, std::span<const CString> words, int nField, int nMode, BOOL bCaseSensitive);

private:
    CTextSearch(std::span<const CString> words, int nField, int nMode, BOOL bCaseSensitive, BOOL bWholeWord);

    int MatchDocument(const CDocumentRec& document) const;
    // Tests one text of the document (not FIELD_ALL_TEXTS).
    int MatchField(const CDocumentRec& document, int nField, BOOL bCaseSensitive) const;
    // Applies the words to one text of the field, compared with or without regard to case.
    int CombineResults(std::string_view text, int nField, BOOL bCaseSensitive) const;
    // The words' finders for a case flag, made on first use.
    const std::vector<CWordFinder>& Finders(BOOL bCaseSensitive) const;
    // The content scans.
    int SearchFile(LPCTSTR pszPath) const;
    int SearchMailMessage(const CDocumentRec& document) const;
    // Whether the words found in a content make a match.
    int ContentResult(const std::vector<bool>& found) const;

    std::span<const CString> m_words;
    int m_nField;
    int m_nMode;
    BOOL m_bCaseSensitive;
    BOOL m_bWholeWord;
    mutable std::optional<std::vector<CWordFinder>> m_finders[2]; // without, with regard to case
};
