#pragma once

// The busy dialog of a search through document rows: the node being searched
// on a node button and the path of the document being tested. Cancel records
// a stop request, without a clip, that the next SetText reports.

#include "ui/CNodeButton.h"
#include "ui/CProgressDialog.h"

class CNodeRec;

class CDlgBusy : public CProgressDialog {
public:
    CDlgBusy();

    // Shows the shortened text and pumps. TRUE (once) when a stop was asked.
    BOOL SetText(LPCTSTR pszText) { return ShowStatusAndReport(pszText); }
    // Shows the node on the node button; returns 0.
    int SetEntry(const CNodeRec* pNode);
    const CNodeButton& GetNodeButton() const { return m_nodeButton; }

protected:
    BOOL OnInitDialog() override;

private:
    CNodeButton m_nodeButton;
};
