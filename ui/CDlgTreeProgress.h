#pragma once

// The progress dialog of a search through the catalog tree: the node being
// searched in a node path control, a bar, a count of what was found and the
// filing clip. Cancel records a stop request that the next SetNode or
// PumpAndTestCancel reports.

#include "ui/CNodePathCtrl.h"
#include "ui/CProgressDialog.h"

class CNodeRec;

class CDlgTreeProgress : public CProgressDialog {
public:
    CDlgTreeProgress();

    // Shows the node and pumps. TRUE (once) when a stop was asked; else plays
    // a stopped clip again and returns FALSE.
    BOOL SetNode(const CNodeRec* pNode);
    // The count text becomes the number.
    void SetCount(int nCount);
    const CNodePathCtrl& GetNodePath() const { return m_nodePath; }

protected:
    BOOL OnInitDialog() override;

private:
    CNodePathCtrl m_nodePath;
};
