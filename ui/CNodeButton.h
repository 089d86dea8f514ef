#pragma once

// An owner-drawn button that shows one catalog node as its path of pictures
// and names (or string 4019 without a node). A button too narrow for the
// path grows to the right to fit it, keeping its position.

#include "platform/framework/CButton.h"

#include <memory>

class CNodeRec;

class CNodeButton : public CButton {
    DECLARE_MESSAGE_MAP()

public:
    CNodeButton();
    ~CNodeButton() override;

    // Shows a copy of pNode (null: none); repaints when the window exists.
    void SetNode(const CNodeRec* pNode);
    const CNodeRec* GetNode() const { return m_pNode.get(); }

    void DrawItem(LPDRAWITEMSTRUCT lpDrawItemStruct) override;

protected:
    void OnDestroy();

private:
    std::unique_ptr<CNodeRec> m_pNode;
};
