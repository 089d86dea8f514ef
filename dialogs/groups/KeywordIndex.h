#pragma once

// The catalog's keywords by their text without regard to case, read once for a
// save that stores the keywords of many nodes: finding a keyword then costs a
// hash lookup instead of a walk of the whole keyword table per text.
//
// Find gives what CCatalog::FindKeywordNoCase gives: the keyword whose text
// equals the text exactly, else the first one in table order equal without
// regard to case. Create makes a keyword and adds it to the index, so a later
// Find of the same text reuses it. The table is read on the first Find; the
// index assumes that nothing else adds or deletes keywords while it is used.

#include "platform/base/CString.h"
#include "store/CatalogTypes.h"

#include <string>
#include <unordered_map>
#include <vector>

class CCatalog;
class CKeywordRec;

class CKeywordIndex {
public:
    explicit CKeywordIndex(CCatalog* pCatalog);

    // The keyword the text means, or null; the record belongs to the caller.
    CKeywordRec* Find(LPCTSTR pszText);
    // A new keyword with the text, or null when it could not be made; the
    // record belongs to the caller.
    CKeywordRec* Create(LPCTSTR pszText);

private:
    struct CEntry {
        CString strText;
        CRecordRef ref;
    };

    void Read();
    void Add(const CString& strText, CRecordRef ref);

    CCatalog* const m_pCatalog;
    bool m_bRead { false };
    // Lower-cased text to the keywords with that text, in table order.
    std::unordered_map<std::string, std::vector<CEntry>> m_entries;
};
