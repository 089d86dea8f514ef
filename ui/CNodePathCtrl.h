#pragma once

// A dialog control that shows one system or group of the catalog as its path
// of pictures and names, painted flicker-free through an off-screen bitmap.
// It subclasses an edit control of the dialog template but never shows an
// edit field: it paints everything itself, over a background of the system
// colour whose index it holds (COLOR_BTNFACE unless set).
//
// The shown node is the control's own copy; the caller keeps its node.

#include "platform/framework/CEdit.h"

#include <memory>

class CCatalogRecord;
class CNodeRec;

class CNodePathCtrl : public CEdit {
    DECLARE_MESSAGE_MAP()

public:
    CNodePathCtrl();
    ~CNodePathCtrl() override;

    // Shows a copy of pNode; null shows nothing. Repaints when the window exists.
    void SetNode(const CNodeRec* pNode);
    // Shows the node a catalog record belongs to: for a document, the first
    // node linking it that is not the expiring-documents or favourites node.
    // Null shows nothing; a record that leads to no such node leaves the
    // shown node as it was, and so does one whose links cannot be read.
    void SetNodeOfRecord(const CCatalogRecord* pRecord);
    // The background's system colour index (COLOR_*); repaints.
    void SetBkColorIndex(int nIndex);

    // The node shown now, or null.
    const CNodeRec* GetNode() const { return m_pNode.get(); }

protected:
    void OnPaint();
    void OnDestroy();

private:
    void ShowNode(std::unique_ptr<CNodeRec> pNode);

    int m_nBkColorIndex;
    std::unique_ptr<CNodeRec> m_pNode;
    CBitmap m_bitmap; // the off-screen picture, as large as the client area at least
    BOOL m_bBitmapCreated { FALSE };
    SIZE m_bitmapSize {};
};
