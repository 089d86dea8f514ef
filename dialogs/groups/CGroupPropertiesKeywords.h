#pragma once

// The Keywords page of a group, in two forms sharing its list and commands:
// CGroupPropertiesKeywords reads and stores a node's keyword links, and the
// set-up wizard's CGroupInstKeywords hands words in and out before the
// catalog exists. Row 0 of the list is its new-entry row; blank rows are
// dropped and words are trimmed when taken. Templates IDD_GROUP_KEYWORDS
// and IDD_GROUP_INST_KEYWORDS.

#include "ui/CKeywordListCtrl.h"

#include "platform/framework/CPropertyPage.h"

class CCmdUI;
class CNodeRec;

class CGroupKeywordsPage : public CPropertyPage {
    DECLARE_DYNAMIC(CGroupKeywordsPage)
    DECLARE_MESSAGE_MAP()

public:
    // Ends an open in-place edit first, so its text is kept.
    BOOL OnKillActive() override;

protected:
    explicit CGroupKeywordsPage(UINT nIDTemplate);

    void DoDataExchange(CDataExchange* pDX) override;
    LRESULT OnKickIdle(WPARAM wParam, LPARAM lParam);
    void OnDelete();
    void OnUpdateDelete(CCmdUI* pCmdUI);
    void OnEdit();

    CKeywordListCtrl m_list;
};

class CGroupPropertiesKeywords : public CGroupKeywordsPage {
    DECLARE_DYNCREATE(CGroupPropertiesKeywords)

public:
    CGroupPropertiesKeywords();

    // pNode is null for a new group; a fixed group's list is disabled.
    void LoadFromNode(const CNodeRec* pNode);
    // Links the node to the words of the list and to no others.
    BOOL StoreToNode(CNodeRec* pNode);
};

class CGroupInstKeywords : public CGroupKeywordsPage {
    DECLARE_DYNCREATE(CGroupInstKeywords)

public:
    CGroupInstKeywords();

    // Shows the words; an empty array leaves the list as it is.
    void SetKeywords(const CStringArray& keywords);
    // Replaces keywords by the list's words, last row first, and empties the list.
    void GetKeywords(CStringArray& keywords);

protected:
    BOOL OnInitDialog() override;
};
