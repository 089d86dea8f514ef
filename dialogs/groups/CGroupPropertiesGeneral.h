#pragma once

// The General page of a group: its information text and how many documents
// and groups it holds. A fixed group shows a note instead of a text and
// cannot be edited; a new group (no node yet) counts nothing. Its template
// is resource IDD_GROUP_GENERAL.

#include "platform/framework/CEdit.h"
#include "platform/framework/CPropertyPage.h"

class CNodeRec;

class CGroupPropertiesGeneral : public CPropertyPage {
    DECLARE_DYNCREATE(CGroupPropertiesGeneral)

public:
    CGroupPropertiesGeneral();

    // pNode is null for a new group. The page's window exists.
    void LoadFromNode(const CNodeRec* pNode);
    // Writes the text when it changed; FALSE when the write failed.
    BOOL StoreToNode(CNodeRec* pNode);

protected:
    void DoDataExchange(CDataExchange* pDX) override;

private:
    CEdit m_info;
    CString m_strCounts;
};
