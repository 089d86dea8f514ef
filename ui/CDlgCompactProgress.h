#pragma once

// The progress dialog of compacting a catalog: the node being copied in a
// node path control, two bars (the records, the whole run), pictures of the
// old and the new catalog file, and the filing clip. Cancel records a stop
// request that the next SetNode or PumpAndTestCancel reports.

#include "ui/CImageButton.h"
#include "ui/CNodePathCtrl.h"
#include "ui/CProgressDialog.h"

class CNodeRec;

class CDlgCompactProgress : public CProgressDialog {
public:
    CDlgCompactProgress();

    // Shows the node and pumps. TRUE (once) when a stop was asked; else plays
    // a stopped clip again and returns FALSE.
    BOOL SetNode(const CNodeRec* pNode);
    // The second bar (the first is GetBar).
    CProgressCtrl& GetSecondBar() { return m_secondBar; }
    const CNodePathCtrl& GetNodePath() const { return m_nodePath; }

protected:
    BOOL OnInitDialog() override;

private:
    CProgressCtrl m_secondBar;
    CNodePathCtrl m_nodePath;
    CImageButton m_sourceImage;
    CImageButton m_targetImage;
};
