#pragma once

// CContentView: the preview, the third pane of a catalog view. It shows the
// item focused in the list or selected in the tree: a document's text in a
// read-only rich edit (or its picture in a zoom window over the text's
// place), a system's properties as formatted text, or a placeholder picture
// when there is nothing to show. A title line above carries the item's icon
// and path; the find bar (CPreviewFindBar) highlights words, zooms, edits the
// description and protects the document; the close button hides the pane.
//
// Text sizes run through TEXT_SIZES (index 2 to start); while a picture is
// shown the same index runs through ZOOM_PERCENTS, and may lie outside it
// (-1 or the table's size) when the picture opened at a percent not in it.
// The view owns a copy of the shown record; the catalog is held only while
// an item is being shown.

#include "frame/CPreviewFindBar.h"
#include "ui/CContentRichEditCtrl.h"
#include "ui/CIconTitleStatic.h"
#include "ui/ZoomPicture.h"

#include "platform/framework/CButton.h"
#include "platform/framework/CRect.h"
#include "platform/framework/CView.h"

#include <memory>

class CCatalogRecord;
class CDocumentRec;
class CNodeRec;
class CZoomWnd;

class CContentView : public CView {
    DECLARE_DYNCREATE(CContentView)
    DECLARE_MESSAGE_MAP()

public:
    static constexpr int TEXT_SIZES[] = { 40, 100, 200, 400, 500, 600 }; // twips
    static constexpr int DEFAULT_SIZE_INDEX = 2;
    static constexpr int ZOOM_PERCENTS[] = { 10, 25, 50, 100, 150, 200, 400 };
    static constexpr int CONTENT_BYTES = 32000; // read of a document's text
    static constexpr int INSET = 8;             // the frame's extra right and bottom margin
    static constexpr int MARGIN = 10;           // around the children
    static constexpr COLORREF MATCH_COLOUR = RGB(0, 0, 255);

    CContentView();
    ~CContentView() override;

    /* What is shown. */

    // Shows the catalog item (a document or a node; null: nothing). The same
    // item (block and slot) as the one shown changes nothing.
    void ShowDocument(const CCatalogRecord* pItem);
    // Reads the shown item again: gone, it clears the pane.
    void Refresh();
    // Shows a plain text at the default size.
    void ShowMessageText(LPCTSTR pszText);
    void ShowMessageText(UINT nStringID);
    const CCatalogRecord* GetShownItem() const { return m_pItem.get(); }
    BOOL IsTextLoaded() const { return m_bTextLoaded; }
    int GetSizeIndex() const { return m_nSizeIndex; }

    /* Pictures over the text's place. */

    // Shows the content reader's held picture (HELD_PICTURE), fitted, or a
    // bitmap resource at 100 %, centred; FALSE with no zoom window left.
    BOOL ShowImage(int nPicture);
    void FreeImage() { FreeZoomImage(m_zoom); }
    void SetZoomPercent(int nPercent) { ::SetZoomPercent(m_zoom, nPercent); }
    int GetZoomPercent() const { return ::GetZoomPercent(m_zoom); }
    CZoomWnd* GetZoomWnd() const { return m_zoom.pWnd; }

    /* The parts, for the frame and tests. */

    CContentRichEditCtrl& GetRichEdit() { return m_text; }
    CPreviewFindBar& GetFindBar() { return m_findBar; }
    CIconTitleStatic& GetTitle() { return m_title; }

    void OnInitialUpdate() override;
    void OnDraw(CDC* pDC) override;

protected:
    int OnCreate(LPCREATESTRUCT lpCreateStruct);
    void OnSize(UINT nType, int cx, int cy);
    void OnSetFocus(CWnd* pOldWnd);
    void OnDestroy();
    void OnDrawItem(int nIDCtl, LPDRAWITEMSTRUCT lpDrawItemStruct);
    void OnFind();
    void OnLarger();
    void OnSmaller();
    void OnEditDescription();
    void OnSelectionAsDescription();
    void OnProtect();
    void OnSelectAll();
    void OnCopy();
    void OnClose();

private:
    // The placeholder: picture nPicture, or the text nStringID without a zoom window.
    void ShowPlaceholder(UINT nPicture, UINT nStringID);
    void ShowNode(const CNodeRec& node);
    void ShowDocumentRecord(const CDocumentRec& document);
    // Reads the document's content and shows its text or picture.
    void LoadContent(const CDocumentRec& document);
    // The node's properties, labels and values, into the rich edit.
    void FillRichEdit(const CNodeRec& node);
    void AppendText(LPCTSTR pszText, BOOL bLabel);
    void SetTextSize(int nIndex);
    // Colours every match of the find bar's words; FALSE when none matched.
    BOOL HighlightWords(BOOL bSelectFirst);
    void EditDescription(const CString* pPreset);
    void LayoutChildren();
    // The rectangle the rich edit or the zoom window takes.
    CRect GetTextRect() const;
    void EnableFindBar(UINT nFirst, UINT nLast, BOOL bEnable) { m_findBar.EnableControls(nFirst, nLast, bEnable); }
    CDocumentRec* GetShownDocument() const;

    std::unique_ptr<CCatalogRecord> m_pItem; // a copy of the shown item; null for none
    int m_nItemIcon { -1 };                  // the catalog's icon, for nodes
    BOOL m_bTextLoaded { FALSE };
    CIconTitleStatic m_title;
    CContentRichEditCtrl m_text;
    CZoomSlot m_zoom;
    CPreviewFindBar m_findBar;
    int m_nSizeIndex { DEFAULT_SIZE_INDEX };
    CButton m_closeButton;
};
