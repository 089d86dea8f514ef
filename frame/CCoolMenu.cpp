#include "frame/CCoolMenu.h"

#include "catalog/CInfoPIDL.h"
#include "catalog/ExpiredDocuments.h"
#include "catalog/RecycleBin.h"
#include "catalog/RecycleDrops.h"
#include "catalog/RecycleShellDrops.h"
#include "catalog/ShellItemIds.h"
#include "frame/AppMessages.h"
#include "frame/CArchivoraApp.h"
#include "frame/CDlgDocumentList.h"
#include "frame/CDlgExpiredDocuments.h"
#include "frame/CDlgSearchResults.h"
#include "frame/CatalogHold.h"
#include "frame/FramePrompts.h"
#include "resources/ResourceIds.h"
#include "store/CCatalog.h"
#include "store/CDocumentRec.h"
#include "store/CNetDriveMap.h"
#include "store/CNodeRec.h"
#include "store/DocumentBackup.h"
#include "store/FileHelpers.h"
#include "store/ResString.h"
#include "ui/CKadDragObjPIDL.h"
#include "ui/CKadDragObjReg.h"
#include "ui/CPIDLPopupCtrl.h"
#include "ui/DropTargets.h"

#include "platform/base/Com.h"
#include "platform/base/Volumes.h"
#include "platform/base/WinError.h"
#include "platform/framework/AfxMessageBox.h"
#include "platform/framework/CImageList.h"
#include "platform/framework/CRect.h"
#include "platform/framework/CWaitCursor.h"
#include "platform/framework/CWinThread.h"
#include "platform/framework/MessageMap.h"
#include "platform/shell/NetworkConnections.h"
#include "platform/shell/ShellFileInfo.h"
#include "platform/window/Focus.h"
#include "platform/window/Input.h"

IMPLEMENT_DYNAMIC(CCoolMenu, CMFCXListMenu)

// clang-format off
BEGIN_MESSAGE_MAP(CCoolMenu, CMFCXListMenu)
    ON_WM_TIMER()
    ON_WM_DESTROY()
END_MESSAGE_MAP()
// clang-format on

namespace {

constexpr COLORREF MASK_COLOUR = RGB(255, 0, 255);
constexpr int IMAGE_WIDTH = 32;
constexpr int IMAGE_GROW = 16;
constexpr int POPUP_INDENT = 10; // the popup's left edge from the entry's
constexpr SFGAOF SFGAO_HASSUBFOLDER_BIT = 0x80000000;
constexpr SFGAOF SFGAO_REMOVABLE_BIT = 0x02000000;

// The attributes among dwAsked of an absolute item.
SFGAOF AttributesOf(LPCITEMIDLIST pidlAbsolute, SFGAOF dwAsked)
{
    IShellFolder* pParent = nullptr;
    LPITEMIDLIST pidlRelative = nullptr;
    if (!pidlAbsolute
        || FAILED(BindParentFolder(pidlAbsolute, IID_IShellFolder, reinterpret_cast<void**>(&pParent), &pidlRelative)))
        return 0;
    SFGAOF dwAttributes = dwAsked;
    LPCITEMIDLIST pidlItem = pidlRelative;
    if (FAILED(pParent->GetAttributesOf(1, &pidlItem, &dwAttributes)))
        dwAttributes = 0;
    pParent->Release();
    CoTaskMemFree(pidlRelative);
    return dwAttributes & dwAsked;
}

bool IsBlockedState(int nState)
{
    return nState == EXPIRY_MAIL_DELETED || nState == EXPIRY_NOT_FOUND || nState == EXPIRY_UNREACHABLE;
}

// Whether a dropped element may go to the recycle bin: a system, or a document it takes.
bool IsRecyclable(const CCatalogRecord* pRecord)
{
    if (dynamic_cast<const CNodeRec*>(pRecord))
        return true;
    const auto* pDocument = dynamic_cast<const CDocumentRec*>(pRecord);
    return pDocument && !IsBlockedState(pDocument->GetExpiryState(0)) && CanRecycle(*pDocument);
}

// Whether a dropped element has files to copy to a drive: a system, or a file document that can be read.
bool HasFiles(const CCatalogRecord* pRecord)
{
    if (dynamic_cast<const CNodeRec*>(pRecord))
        return true;
    const auto* pDocument = dynamic_cast<const CDocumentRec*>(pRecord);
    return pDocument && !pDocument->IsMail() && !IsBlockedState(pDocument->GetExpiryState(0));
}

bool AnyItem(const CKadDragObjReg& payload, bool (*test)(const CCatalogRecord*))
{
    for (int i = 0; i < payload.GetItemCount(); ++i) {
        if (test(payload.GetItem(i).pRecord))
            return true;
    }
    return false;
}

CCatalog* MainCatalog()
{
    CArchivoraApp* pApp = GetArchivoraApp();
    return pApp ? pApp->GetMainCatalog() : nullptr;
}

} // namespace

CCoolMenu::CCoolMenu() = default;

CCoolMenu::~CCoolMenu()
{
    FreePlaces();
}

/***************************** Entries *****************************/

void CCoolMenu::FillList()
{
    (void)CreateImageList(IDB_DRAG_BAR, IMAGE_WIDTH, IMAGE_GROW, MASK_COLOUR); // without it the entries show no icon
    ResetContent();
    FreePlaces();
    AddItem(GetResString(IDS_DRAG_RECYCLE_BIN), static_cast<DWORD>(GetRecycleBinImage()), 0, TRUE);
    AddItem(GetResString(IDS_DRAG_EXPIRED), IMAGE_NO_EXPIRED, 0, TRUE);
    AddItem(GetResString(IDS_DRAG_SEARCH_RESULTS), IMAGE_NO_SEARCH_RESULTS, 0, TRUE);
    FillDrives();
    LPITEMIDLIST pidlNetwork = nullptr;
    if (SUCCEEDED(SHGetSpecialFolderLocation(nullptr, CSIDL_NETWORK, &pidlNetwork)) && pidlNetwork)
        AddPlace(pidlNetwork, GetResString(IDS_DRAG_NETWORK), CString(), IMAGE_NETWORK);
}

void CCoolMenu::FillDrives()
{
    IShellFolder* pDesktop = nullptr;
    LPITEMIDLIST pidlDrives = nullptr;
    if (FAILED(SHGetDesktopFolder(&pDesktop)))
        return;
    IShellFolder* pDrives = nullptr;
    if (SUCCEEDED(SHGetSpecialFolderLocation(nullptr, CSIDL_DRIVES, &pidlDrives))
        && SUCCEEDED(
            pDesktop->BindToObject(pidlDrives, nullptr, IID_IShellFolder, reinterpret_cast<void**>(&pDrives)))) {
        IEnumIDList* pEnum = nullptr;
        if (SUCCEEDED(pDrives->EnumObjects(nullptr, SHCONTF_FOLDERS, &pEnum)) && pEnum) {
            LPITEMIDLIST pidlItem = nullptr;
            ULONG nFetched = 0;
            while (pEnum->Next(1, &pidlItem, &nFetched) == S_OK && nFetched == 1) {
                CString strPath;
                const BOOL bPath = SUCCEEDED(GetDisplayNameOfPIDL(pDrives, pidlItem, SHGDN_FORPARSING, strPath));
                const UINT nType = bPath && strPath.GetLength() == 3 ? GetDriveType(strPath) : 0;
                if (nType >= 1 && nType <= 5) {
                    CString strText;
                    strText.Format("(%c:)", toupper(static_cast<unsigned char>(strPath[0])));
                    if (LPITEMIDLIST pidlAbsolute = ConcatPIDLs(pidlDrives, pidlItem)) {
                        SHFILEINFO info {};
                        int nImage = -1;
                        if (GetImageList()
                            && SHGetFileInfo(reinterpret_cast<LPCTSTR>(pidlAbsolute), 0, &info, sizeof(info),
                                SHGFI_PIDL | SHGFI_ICON)
                            && info.hIcon) {
                            nImage = GetImageList()->Add(info.hIcon);
                            DestroyIcon(info.hIcon);
                        }
                        AddPlace(pidlAbsolute, strText, strPath, nImage);
                    }
                }
                CoTaskMemFree(pidlItem);
            }
            pEnum->Release();
        }
        pDrives->Release();
    }
    CoTaskMemFree(pidlDrives);
    pDesktop->Release();
}

void CCoolMenu::AddPlace(LPITEMIDLIST pidl, const CString& strText, const CString& strPath, int nImage)
{
    m_places.push_back({ pidl, strPath });
    AddItem(strText, static_cast<DWORD>(nImage), static_cast<DWORD>(m_places.size()), TRUE);
}

void CCoolMenu::FreePlaces()
{
    for (CPlace& place : m_places)
        CoTaskMemFree(place.pidl);
    m_places.clear();
}

const CCoolMenu::CPlace* CCoolMenu::Place(int nItem) const
{
    if (nItem < FIRST_PLACE || nItem - FIRST_PLACE >= static_cast<int>(m_places.size()))
        return nullptr;
    return &m_places[static_cast<size_t>(nItem - FIRST_PLACE)];
}

CString CCoolMenu::GetPlacePath(int nItem) const
{
    const CPlace* pPlace = Place(nItem);
    return pPlace ? pPlace->strPath : CString();
}

void CCoolMenu::UpdateImages()
{
    if (GetCount() < FIRST_PLACE)
        return;
    BOOL bExpired = FALSE;
    if (CCatalog* pCatalog = MainCatalog()) {
        CCatalogHold hold(pCatalog);
        std::unique_ptr<CDocumentSet> pExpired(QueryExpiredDocuments(pCatalog));
        bExpired = pExpired && pExpired->GetCount() > 0;
    }
    const DWORD images[FIRST_PLACE] = {
        static_cast<DWORD>(GetRecycleBinImage()),
        static_cast<DWORD>(bExpired ? IMAGE_EXPIRED : IMAGE_NO_EXPIRED),
        static_cast<DWORD>(CDlgSearchResults::HasResults() ? IMAGE_SEARCH_RESULTS : IMAGE_NO_SEARCH_RESULTS),
    };
    BOOL bChanged = FALSE;
    for (int i = 0; i < FIRST_PLACE; ++i) {
        if (GetItemImage(i) != images[i]) {
            SetItemImage(i, images[i]);
            bChanged = TRUE;
        }
    }
    if (bChanged)
        Invalidate();
}

/***************************** Choosing *****************************/

template<class TWindow> void CCoolMenu::ShowWindowOnce(std::unique_ptr<TWindow>& pWindow)
{
    if (!pWindow) {
        auto pNew = std::make_unique<TWindow>();
        if (!pNew->CreateHidden(this))
            return;
        pWindow = std::move(pNew);
    }
    pWindow->ShowList();
}

void CCoolMenu::ShowEntryWindow(int nEntry)
{
    switch (nEntry) {
    case ENTRY_RECYCLE_BIN:
        ShowWindowOnce(m_pRecycleBin);
        break;
    case ENTRY_EXPIRED:
        ShowWindowOnce(m_pExpired);
        break;
    case ENTRY_SEARCH_RESULTS:
        ShowWindowOnce(m_pSearchResults);
        break;
    default:
        break;
    }
}

CListWindow* CCoolMenu::EntryWindow(int nEntry) const
{
    switch (nEntry) {
    case ENTRY_RECYCLE_BIN:
        return m_pRecycleBin.get();
    case ENTRY_EXPIRED:
        return m_pExpired.get();
    case ENTRY_SEARCH_RESULTS:
        return m_pSearchResults.get();
    default:
        return nullptr;
    }
}

BOOL CCoolMenu::IsEntryWindowShown(int nEntry) const
{
    const CListWindow* pWindow = EntryWindow(nEntry);
    return pWindow && pWindow->GetSafeHwnd() && pWindow->IsWindowVisible();
}

void CCoolMenu::OnChoose()
{
    const int nItem = GetHotItem();
    if (nItem >= 0 && nItem < FIRST_PLACE)
        ShowEntryWindow(nItem);
    else if (nItem >= FIRST_PLACE && CanOpenPlace(nItem))
        OpenPlacePopup(nItem);
}

BOOL CCoolMenu::CanOpenPlace(int nItem)
{
    const CPlace* pPlace = Place(nItem);
    if (!pPlace || !(AttributesOf(pPlace->pidl, SFGAO_HASSUBFOLDER_BIT) & SFGAO_HASSUBFOLDER_BIT))
        return FALSE;
    if (pPlace->strPath.GetLength() != 3 || GetDriveType(pPlace->strPath) != 1)
        return TRUE;
    // A network drive that is not connected: connect it again, or say why not.
    const CString strDrive = pPlace->strPath.Left(2);
    char szRemote[MAX_PATH] {};
    DWORD nLength = sizeof(szRemote);
    const DWORD dwResult = WNetGetConnection(strDrive, szRemote, &nLength);
    BOOL bOpen = dwResult <= ERROR_CONNECTION_UNAVAIL;
    if (dwResult == ERROR_CONNECTION_UNAVAIL) {
        CNetDriveMap drives;
        bOpen = drives.ConnectDrive(szRemote, strDrive) == 1;
    }
    if (!bOpen) {
        CString strText;
        strText.Format(GetResString(IDS_DRAG_DRIVE_UNAVAILABLE), static_cast<LPCTSTR>(strDrive), szRemote);
        AfxMessageBox(strText, MB_ICONEXCLAMATION);
    }
    return bOpen;
}

void CCoolMenu::PopupPlace(int nItem, POINT* pPoint, RECT* pItemRect)
{
    CRect rc;
    GetItemRect(nItem, &rc);
    ClientToScreen(&rc);
    *pItemRect = rc;
    pPoint->x = rc.left + POPUP_INDENT;
    pPoint->y = rc.bottom - 1;
}

void CCoolMenu::OpenPlacePopup(int nItem)
{
    const CPlace* pPlace = Place(nItem);
    CPIDLPopupWnd popup;
    if (!pPlace || !popup.Create(this))
        return;
    popup.GetPIDLList().FillFromPIDL(pPlace->pidl, CPIDLPopupCtrl::MASK_ALL);
    POINT point {};
    RECT rcItem {};
    PopupPlace(nItem, &point, &rcItem);
    auto* pChosen = static_cast<CInfoPIDL*>(popup.TrackPopup(&point, nullptr, &rcItem));
    if (!pChosen)
        return;
    CString strFolder;
    if (pChosen->m_pFolder && pChosen->m_pidlRelative)
        (void)GetDisplayNameOfPIDL(pChosen->m_pFolder, pChosen->m_pidlRelative, SHGDN_FORPARSING, strFolder);
    FreeInfoPIDL(nullptr, pChosen);
    delete pChosen;
    if (!strFolder.IsEmpty())
        GetFramePrompts().OpenFindFiles(strFolder, this);
}

void CCoolMenu::OnHotItemChanged(int, int nNewItem)
{
    if (!::GetFocus())
        return;
    KillTimer(TIMER_HOVER_CHOOSE);
    if (nNewItem != -1)
        SetTimer(TIMER_HOVER_CHOOSE, HOVER_MS, nullptr);
}

void CCoolMenu::OnTimer(UINT_PTR nIDEvent)
{
    switch (nIDEvent) {
    case TIMER_HOVER_CHOOSE:
        KillTimer(TIMER_HOVER_CHOOSE);
        // Resting on a place opens its folders; the first three wait for a click.
        if (GetHotItem() >= FIRST_PLACE)
            ChooseItem(GetHotItem());
        break;
    case TIMER_DRAG_OPEN:
        KillTimer(TIMER_DRAG_OPEN);
        m_pDragPopup.reset();
        if (m_nDragItem >= FIRST_PLACE && CanOpenPlace(m_nDragItem))
            OpenPlaceForDrag(m_nDragItem);
        break;
    default:
        CMFCXListMenu::OnTimer(nIDEvent);
        break;
    }
}

void CCoolMenu::OpenPlaceForDrag(int nItem)
{
    const CPlace* pPlace = Place(nItem);
    auto pPopup = std::make_unique<CPIDLPopupWnd>();
    if (!pPlace || !pPopup->Create(this))
        return;
    pPopup->GetPIDLList().FillFromPIDL(pPlace->pidl, CPIDLPopupCtrl::MASK_ALL);
    POINT point {};
    RECT rcItem {};
    PopupPlace(nItem, &point, &rcItem);
    pPopup->FitOnScreen(&point, nullptr);
    pPopup->GetPopupCtrl()->OpenForDrag(&rcItem);
    m_pDragPopup = std::move(pPopup);
}

/***************************** The windows *****************************/

template<class TWindow> void CCoolMenu::DestroyKeptWindow(std::unique_ptr<TWindow>& pWindow)
{
    if (pWindow && pWindow->GetSafeHwnd())
        pWindow->DestroyWindow();
    pWindow.reset();
}

void CCoolMenu::CloseEntryWindow(int nEntry)
{
    switch (nEntry) {
    case ENTRY_RECYCLE_BIN:
        DestroyKeptWindow(m_pRecycleBin);
        break;
    case ENTRY_EXPIRED:
        DestroyKeptWindow(m_pExpired);
        break;
    case ENTRY_SEARCH_RESULTS:
        DestroyKeptWindow(m_pSearchResults);
        break;
    default:
        break;
    }
}

void CCoolMenu::CloseAll()
{
    for (int nEntry : { ENTRY_SEARCH_RESULTS, ENTRY_EXPIRED, ENTRY_RECYCLE_BIN })
        CloseEntryWindow(nEntry);
    GetFramePrompts().CloseFindFiles();
}

void CCoolMenu::OnCatalogChanged()
{
    if (m_pSearchResults)
        m_pSearchResults->OnCatalogChanged();
    GetFramePrompts().FindFilesCatalogChanged();
    if (m_pRecycleBin)
        m_pRecycleBin->OnCatalogChanged();
    if (m_pExpired)
        m_pExpired->OnCatalogChanged();
    // Whatever changed the catalogs may have filled or emptied the bin: its entry follows it.
    CArchivoraApp* pApp = GetArchivoraApp();
    UpdateRecycleBinState(pApp ? pApp->GetRecycleCatalog() : nullptr);
}

void CCoolMenu::OnViewChanged()
{
    if (m_pSearchResults)
        m_pSearchResults->OnViewChanged();
    if (m_pExpired)
        m_pExpired->OnViewChanged();
    if (m_pRecycleBin)
        m_pRecycleBin->OnViewChanged();
}

BOOL CCoolMenu::IdleRefresh()
{
    BOOL bMore = FALSE;
    for (CListWindow* pWindow :
        { static_cast<CListWindow*>(m_pSearchResults.get()), static_cast<CListWindow*>(m_pExpired.get()) }) {
        if (pWindow && pWindow->GetSafeHwnd() && pWindow->IsWindowVisible())
            bMore = pWindow->GetList().IdleRefreshNextItem() || bMore;
    }
    return bMore;
}

void CCoolMenu::OnDestroy()
{
    KillTimer(TIMER_HOVER_CHOOSE);
    KillTimer(TIMER_DRAG_OPEN);
    m_pDragPopup.reset();
    CloseAll();
    RegisterDropTarget(this, FALSE);
    CMFCXListMenu::OnDestroy();
}

/***************************** Drops *****************************/

void CCoolMenu::DropEnter()
{
    m_nDragItem = -1;
    m_bDragging = TRUE;
}

DROPEFFECT CCoolMenu::PlaceEffect(int nItem, CKadDragObj* pPayload, UINT nKeyState) const
{
    const auto* pRecords = dynamic_cast<const CKadDragObjReg*>(pPayload);
    switch (nItem) {
    case ENTRY_RECYCLE_BIN:
        if (dynamic_cast<const CKadDragObjPIDL*>(pPayload))
            return DROPEFFECT_MOVE;
        return pRecords && AnyItem(*pRecords, &IsRecyclable) ? DROPEFFECT_MOVE : DROPEFFECT_NONE;
    case ENTRY_EXPIRED:
        return pRecords ? DROPEFFECT_COPY : DROPEFFECT_NONE;
    case ENTRY_SEARCH_RESULTS:
    case -1:
        return DROPEFFECT_NONE;
    default:
        break;
    }
    const CPlace* pPlace = Place(nItem);
    if (!pRecords || !pPlace || !AnyItem(*pRecords, &HasFiles))
        return DROPEFFECT_NONE;
    const BOOL bRemovable = nItem != GetCount() - 1 && (AttributesOf(pPlace->pidl, SFGAO_REMOVABLE_BIT) != 0);
    if (bRemovable)
        return (nKeyState & MK_SHIFT) ? DROPEFFECT_MOVE : DROPEFFECT_COPY;
    return (nKeyState & MK_CONTROL) ? DROPEFFECT_COPY : DROPEFFECT_MOVE;
}

DROPEFFECT CCoolMenu::DropOver(CKadDragObj* pPayload, UINT nKeyState, int x, int y)
{
    BOOL bOutside = TRUE;
    int nItem = static_cast<int>(ItemFromPoint(CPoint(x, y), bOutside));
    if (bOutside || nItem < 0 || nItem >= GetCount() || !IsItemEnabled(nItem))
        nItem = -1;
    const DROPEFFECT effect = PlaceEffect(nItem, pPayload, nKeyState);
    if (nItem != m_nDragItem) {
        KillTimer(TIMER_DRAG_OPEN);
        m_nDragItem = nItem;
        SetHotItem(nItem);
        SetTimer(TIMER_DRAG_OPEN, HOVER_MS, nullptr);
    }
    return effect;
}

void CCoolMenu::DropLeave()
{
    KillTimer(TIMER_DRAG_OPEN);
    SetHotItem(-1);
    m_nDragItem = -1;
    m_bDragging = FALSE;
}

BOOL CCoolMenu::DropTake(CKadDragObj* pPayload, DROPEFFECT effect)
{
    KillTimer(TIMER_DRAG_OPEN);
    CArchivoraApp* pApp = GetArchivoraApp();
    const int nItem = m_nDragItem;
    BOOL bDone = FALSE;
    if (pApp && effect != DROPEFFECT_NONE) {
        CWaitCursor wait;
        const auto* pRecords = dynamic_cast<const CKadDragObjReg*>(pPayload);
        if (nItem == ENTRY_RECYCLE_BIN && pRecords) {
            std::vector<LONG> status;
            bDone = LixeiraDropItems(
                pApp->GetMainCatalog(), pApp->GetRecycleCatalog(), pRecords->ToPayload(PAYLOAD_MOVE), &status);
        } else if (nItem == ENTRY_RECYCLE_BIN) {
            if (const auto* pShellItems = dynamic_cast<const CKadDragObjPIDL*>(pPayload)) {
                CDroppedShellItems items;
                for (int i = 0; i < pShellItems->GetItemCount(); ++i) {
                    CString strPath;
                    if (SUCCEEDED(GetDisplayNameOfPIDL(
                            pShellItems->GetFolder(), pShellItems->GetItem(i).pidl, SHGDN_FORPARSING, strPath)))
                        items.paths.push_back(strPath);
                }
                (void)LixeiraProcessSelection(pApp->GetMainCatalog(), pApp->GetRecycleCatalog(), items);
                bDone = TRUE;
            }
        } else if (nItem == ENTRY_EXPIRED && pRecords) {
            bDone = CheckExpiredDocuments(pApp->GetMainCatalog(), pRecords->ToPayload(PAYLOAD_COPY)) != 0;
        } else if (nItem >= FIRST_PLACE) {
            bDone = DropOnPlace(nItem, pPayload, effect);
        }
    }
    DropLeave();
    return bDone;
}

BOOL CCoolMenu::DropOnPlace(int nItem, CKadDragObj* pPayload, DROPEFFECT effect)
{
    const auto* pRecords = dynamic_cast<const CKadDragObjReg*>(pPayload);
    const CString strPath = GetPlacePath(nItem);
    if (!pRecords || strPath.IsEmpty())
        return FALSE;
    const DWORD dwFolder = CheckFolder(strPath, FOLDER_WRITABLE);
    if ((dwFolder & (FOLDER_UNUSABLE | FOLDER_MISSING)) || !(dwFolder & FOLDER_WRITABLE)) {
        CString strText;
        strText.Format(GetResString(IDS_DRAG_FOLDER_UNUSABLE), static_cast<LPCTSTR>(strPath));
        AfxMessageBox(strText, MB_ICONEXCLAMATION);
        return FALSE;
    }
    CBackupSet backup(strPath);
    for (int i = 0; i < pRecords->GetItemCount(); ++i) {
        if (auto* pDocument = dynamic_cast<CDocumentRec*>(pRecords->GetItem(i).pRecord))
            backup.Add(pDocument);
    }
    if (!backup.Run(MainCatalog(), effect != DROPEFFECT_COPY))
        return FALSE;
    if (CWnd* pMain = AfxGetMainWnd())
        pMain->SendMessage(g_nMsgRedo, 0, 0);
    return TRUE;
}
