#pragma once

// Whether one catalogued document matches a set of search words: the words
// are looked for in one of the document's catalog texts, or in its four texts
// in turn, and combined with AND or OR. A word is found where it occurs as a
// part of the text (no whole-word rule); without regard to case, characters
// are compared lower-cased, Unicode-aware. An empty word is never found.

#include "platform/base/CString.h"
#include "platform/base/WinTypes.h"

#include <span>

class CDocumentRec;

class CTextSearch {
public:
    // What is searched. Any value above FIELD_ALL_TEXTS searches the name.
    enum {
        FIELD_DESCRIPTION = 0, // CDocumentRec::GetNameWithLocation
        FIELD_NAME = 1,        // CDocumentRec::GetFullPath; never case-sensitive
        FIELD_LABEL = 2,       // CDocumentRec::GetLabel; never case-sensitive
        FIELD_SECONDARY = 3,   // CDocumentRec::GetAltNameWithLocation
        FIELD_CONTENT = 4,     // The file's or message's bytes; not searched here
        FIELD_ALL_TEXTS = 5,   // Texts 0 to 3 in turn; the first that matches decides
    };
    // How the words combine.
    enum {
        MODE_ALL_WORDS = 0,    // Every word must be found in the text
        MODE_ANY_WORD = 1,     // One word found is enough
        MODE_ANY_IN_TEXTS = 2, // As MODE_ANY_WORD for the catalog texts
    };

    // Tests the document against the words; 1 when it matches, 0 when not.
    // With no words, only a blank description or secondary text searched as
    // its own field matches; FIELD_ALL_TEXTS then matches nothing.
    static int SetCriteria(
        const CDocumentRec& document, std::span<const CString> words, int nField, int nMode, BOOL bCaseSensitive);

private:
    CTextSearch(std::span<const CString> words, int nField, int nMode, BOOL bCaseSensitive);

    int MatchDocument(const CDocumentRec& document) const;
    // Applies the words to one text, compared with or without regard to case.
    int CombineResults(const CString& strText, BOOL bCaseSensitive) const;

    std::span<const CString> m_words;
    int m_nField;
    int m_nMode;
    BOOL m_bCaseSensitive;
};
