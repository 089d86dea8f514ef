#pragma once

// CCoolMenu: the drag bar's menu of places, as large icons: the recycle bin,
// the expired documents, the search results, one entry per drive of the
// computer ("(C:)") and the network. Choosing one of the first three shows
// its window (made once, kept hidden between uses); choosing a drive opens a
// popup of its folders, and a folder chosen there opens Find Files on it.
// Resting on a drive for a second chooses it. As a drop target it recycles
// dropped entries (the bin), asks their expiry dates (the expired
// documents), or copies or moves documents' files to a drive.
//
// The menu owns the three list windows and the drives' item identifier
// lists; all go with its window.

#include "ui/CKadDropTarget.h"
#include "ui/CMFCXListMenu.h"

#include "platform/shell/ShellFolder.h"

#include <memory>
#include <vector>

class CDlgDocumentList;
class CDlgExpiredDocuments;
class CDlgSearchResults;
class CListWindow;
class CPIDLPopupWnd;

class CCoolMenu
    : public CMFCXListMenu
    , public CKadDropTarget {
    DECLARE_DYNAMIC(CCoolMenu)
    DECLARE_MESSAGE_MAP()

public:
    /* Entries. */
    static constexpr int ENTRY_RECYCLE_BIN = 0;
    static constexpr int ENTRY_EXPIRED = 1;
    static constexpr int ENTRY_SEARCH_RESULTS = 2;
    static constexpr int FIRST_PLACE = 3; // the drives, then the network

    /* Images of bitmap IDB_DRAG_BAR. */
    static constexpr int IMAGE_EXPIRED = 0;
    static constexpr int IMAGE_NO_EXPIRED = 1;
    static constexpr int IMAGE_SEARCH_RESULTS = 4;
    static constexpr int IMAGE_NO_SEARCH_RESULTS = 5;
    static constexpr int IMAGE_NETWORK = 6;

    /* Timers. */
    static constexpr UINT_PTR TIMER_HOVER_CHOOSE = 101;
    static constexpr UINT_PTR TIMER_DRAG_OPEN = 102;
    static constexpr UINT HOVER_MS = 1000;

    CCoolMenu();
    ~CCoolMenu() override;

    // Rebuilds the entries: the three windows, the drives, the network.
    void FillList();
    // Sets the first three entries' images from the states they show;
    // repaints only when one changed.
    void UpdateImages();
    // The shell path of a place entry ("C:\"); empty for the first three.
    CString GetPlacePath(int nItem) const;

    /* What the main frame asks. */

    // Destroys the windows the entries opened.
    void CloseAll();
    // Destroys the window of one of the first three entries; the entry makes it again when next chosen.
    void CloseEntryWindow(int nEntry);
    void OnCatalogChanged();
    void OnViewChanged();
    // One idle re-check of the visible search-results and expired lists; TRUE while there is more.
    BOOL IdleRefresh();
    // Shows the recycle bin window.
    void ShowRecycleBin() { ShowEntryWindow(ENTRY_RECYCLE_BIN); }
    // Makes once and shows the window of one of the first three entries.
    void ShowEntryWindow(int nEntry);
    // Whether the window of one of the first three entries exists and is shown.
    BOOL IsEntryWindowShown(int nEntry) const;
    // The windows, once made; null before.
    CDlgDocumentList* GetRecycleBinWindow() const { return m_pRecycleBin.get(); }
    CDlgSearchResults* GetSearchResultsWindow() const { return m_pSearchResults.get(); }
    CDlgExpiredDocuments* GetExpiredWindow() const { return m_pExpired.get(); }

    /* As a drop target. */

    void DropEnter() override;
    DROPEFFECT DropOver(CKadDragObj* pPayload, UINT nKeyState, int x, int y) override;
    void DropLeave() override;
    BOOL DropTake(CKadDragObj* pPayload, DROPEFFECT effect) override;

protected:
    void OnChoose() override;
    void OnHotItemChanged(int nOldItem, int nNewItem) override;
    void OnTimer(UINT_PTR nIDEvent);
    void OnDestroy();

private:
    struct CPlace {
        LPITEMIDLIST pidl { nullptr }; // absolute; owned
        CString strPath;               // parsing name; empty for the network
    };

    void FillDrives();
    void AddPlace(LPITEMIDLIST pidl, const CString& strText, const CString& strPath, int nImage);
    void FreePlaces();
    const CPlace* Place(int nItem) const;
    // Whether the entry's place can be opened: it has subfolders, and a
    // disconnected network drive is connected again first.
    BOOL CanOpenPlace(int nItem);
    // The place's folders in a popup below the entry; the chosen folder opens Find Files.
    void OpenPlacePopup(int nItem);
    void OpenPlaceForDrag(int nItem);
    // Makes the window once and shows it.
    template<class TWindow> void ShowWindowOnce(std::unique_ptr<TWindow>& pWindow);
    template<class TWindow> static void DestroyKeptWindow(std::unique_ptr<TWindow>& pWindow);
    // The window of one of the first three entries; null before it is made.
    CListWindow* EntryWindow(int nEntry) const;
    DROPEFFECT PlaceEffect(int nItem, CKadDragObj* pPayload, UINT nKeyState) const;
    BOOL DropOnPlace(int nItem, CKadDragObj* pPayload, DROPEFFECT effect);
    // The point below an entry where its popup opens, and the entry's rectangle, in screen coordinates.
    void PopupPlace(int nItem, POINT* pPoint, RECT* pItemRect);

    std::unique_ptr<CDlgDocumentList> m_pRecycleBin;
    std::unique_ptr<CDlgSearchResults> m_pSearchResults;
    std::unique_ptr<CDlgExpiredDocuments> m_pExpired;
    std::vector<CPlace> m_places; // entries FIRST_PLACE and on, in order
    int m_nDragItem { -1 };
    BOOL m_bDragging { FALSE };
    std::unique_ptr<CPIDLPopupWnd> m_pDragPopup; // open for a drag
};
