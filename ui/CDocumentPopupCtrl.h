#pragma once

// The base of the popup lists of catalogued documents (the favourites, the
// recently catalogued and the unprotected documents): one row per document
// with its type icon and full path, a data tip with its name and location,
// a copy of the document as the result, and a right-click menu of document
// commands. A derived list fills the rows (FillItems) and names its menu.
//
// The list owns the documents until its window goes, so a result (a copy)
// outlives it. Each row's value is its document's position; the single row
// shown when there is none carries NO_DOCUMENT, is disabled and gives nothing.
//
// The menu's commands run after the chain has closed, on a copy of the row's
// document: opening through the host (and minimising when it says so), the
// property and description dialogs through the host with the main window
// told what changed, removing from the favourites after a question, and
// selecting one of the systems the document is linked to.

#include "store/CDocumentRec.h"
#include "ui/CDataTipWnd.h"
#include "ui/CLinkedDocsMenu.h"
#include "ui/CPopupCtrl.h"
#include "ui/CSysImageList.h"
#include "ui/PopupRowLook.h"

#include <memory>

class CDocumentPopupCtrl : public CPopupCtrl {
    DECLARE_DYNAMIC(CDocumentPopupCtrl)
    DECLARE_MESSAGE_MAP()

public:
    static constexpr DWORD NO_DOCUMENT = 0xFFFFFFFF;

    CDocumentPopupCtrl();
    ~CDocumentPopupCtrl() override;

    // Fills the rows.
    virtual void FillItems() = 0;
    // The menu resource of the right-click menu (its first submenu).
    virtual UINT GetContextMenuId() = 0;

    // The documents filled; the frame looks at it after FillItems.
    int GetDocumentCount() const { return static_cast<int>(m_documents.size()); }
    // The document of a row; null for the empty row or a bad index.
    CDocumentRec* GetDocument(int nIndex) const;
    // Where a row's icon goes: 4 pixels in, the small system icon's size, centred.
    static RECT GetIconRect(const RECT& row);

    int SelectItem(int nIndex) override;
    int GetPopupWidth() override { return m_nWidest; }
    // A copy of the row's document, owned by the caller; null for the empty row.
    void* GetItemResult(int nIndex) override;
    void OnMouseMove(UINT nFlags, int x, int y) override;
    BOOL OnRightClick() override;
    void MeasureItem(LPMEASUREITEMSTRUCT lpMeasureItemStruct) override;
    void DrawItem(LPDRAWITEMSTRUCT lpDrawItemStruct) override;

    // Runs a document command of the menu on the document (after the chain closed).
    static void RunCommand(UINT nCommand, CDocumentRec& document);

protected:
    // Adds a row for the document, which the list keeps.
    void AddDocumentRow(std::unique_ptr<CDocumentRec> pDocument);
    // The one disabled row of an empty list, with that string; no data tip then.
    void AddEmptyRow(UINT nStringId);
    void ClearDocuments();

    // Shows the menu for the selected row; the command it returned, 0 for none.
    UINT TrackContextMenu(CDocumentRec& document);

    int OnCreate(LPCREATESTRUCT lpCreateStruct);
    void OnDestroy();

    CDataTipWnd m_tip;

private:
    // Words the open command by the document's open action (or makes it the
    // frame's open-with menu, attached to openWith), makes the linked-systems
    // command their menu and grays what an unreachable document cannot do.
    void AdjustMenu(CMenu& popup, const CDocumentRec& document, CMenu& openWith);

    CDocumentRecArray m_documents;
    CSysImageList m_systemImages;
    CPopupRowLook m_look;
    int m_nWidest { 0 };
    BOOL m_bTips { TRUE };
    CLinkedDocsMenu m_linkedMenu;
};
