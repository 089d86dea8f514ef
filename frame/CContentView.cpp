#include "frame/CContentView.h"

#include "frame/AppMessages.h"
#include "frame/CDlgDocDescription.h"
#include "frame/CatalogHold.h"
#include "frame/CatalogItem.h"
#include "frame/DocumentProtection.h"
#include "resources/ResourceIds.h"
#include "store/CCatalog.h"
#include "store/CDocumentRec.h"
#include "store/CNodeRec.h"
#include "store/ContentReader.h"
#include "ui/CZoomWnd.h"
#include "ui/DocumentIcons.h"

#include "platform/base/FileFunctions.h"
#include "platform/framework/CDC.h"
#include "platform/framework/CRect.h"
#include "platform/framework/CWaitCursor.h"
#include "platform/framework/CWinThread.h"
#include "platform/framework/MessageMap.h"
#include "platform/gdi/FrameControls.h"
#include "platform/gdi/Rects.h"
#include "platform/gdi/SysColors.h"
#include "platform/shell/ShellFileInfo.h"
#include "platform/window/SystemMetrics.h"

#include <algorithm>
#include <cstring>
#include <vector>

IMPLEMENT_DYNCREATE(CContentView, CView)

// clang-format off
BEGIN_MESSAGE_MAP(CContentView, CView)
    ON_WM_CREATE()
    ON_WM_SIZE()
    ON_WM_SETFOCUS()
    ON_WM_DESTROY()
    ON_WM_DRAWITEM()
    ON_COMMAND(ID_PREVIEW_FIND, &CContentView::OnFind)
    ON_COMMAND(ID_PREVIEW_LARGER, &CContentView::OnLarger)
    ON_COMMAND(ID_PREVIEW_SMALLER, &CContentView::OnSmaller)
    ON_COMMAND(ID_PREVIEW_EDIT_DESCRIPTION, &CContentView::OnEditDescription)
    ON_COMMAND(ID_PREVIEW_DESCRIPTION, &CContentView::OnSelectionAsDescription)
    ON_COMMAND(ID_PREVIEW_PROTECT, &CContentView::OnProtect)
    ON_COMMAND(ID_PREVIEW_SELECT_ALL, &CContentView::OnSelectAll)
    ON_COMMAND(ID_PREVIEW_COPY, &CContentView::OnCopy)
    ON_BN_CLICKED(IDC_PREVIEW_CLOSE, &CContentView::OnClose)
END_MESSAGE_MAP()
// clang-format on

namespace {

constexpr DWORD TEXT_STYLE = WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | WS_VSCROLL | WS_TABSTOP | ES_MULTILINE
    | ES_AUTOVSCROLL | ES_NOHIDESEL | ES_READONLY | ES_WANTRETURN;
constexpr int FRAME_OFFSET = 5; // of the sunken frame, inside the client area
constexpr int CHILD_INSET = 2;  // of the text or picture inside its rectangle
constexpr char CATALOG_ITEM_FILE_NAME[] = "archivora.kdcat";

// The small system icon of catalog items.
int CatalogItemIcon()
{
    SHFILEINFO info {};
    if (!SHGetFileInfo(CATALOG_ITEM_FILE_NAME, FILE_ATTRIBUTE_NORMAL, &info, sizeof(info),
            SHGFI_SYSICONINDEX | SHGFI_SMALLICON | SHGFI_USEFILEATTRIBUTES))
        return -1;
    return info.iIcon;
}

} // namespace

CContentView::CContentView()
    : m_nItemIcon(CatalogItemIcon())
{
}

CContentView::~CContentView()
{
    FreeImage();
}

/***************************** Creation and layout *****************************/

int CContentView::OnCreate(LPCREATESTRUCT lpCreateStruct)
{
    if (CView::OnCreate(lpCreateStruct) == -1)
        return -1;
    const CRect rcNone(0, 0, 0, 0);
    if (!m_closeButton.Create("X", WS_CHILD | WS_VISIBLE | BS_OWNERDRAW, rcNone, this, IDC_PREVIEW_CLOSE)
        || !m_title.Create("", WS_CHILD | WS_VISIBLE, rcNone, this)
        || !m_text.Create(TEXT_STYLE, rcNone, this, IDC_PREVIEW_TEXT)
        || !m_findBar.Create("", WS_CHILD | WS_VISIBLE | WS_TABSTOP, rcNone, this))
        return -1;
    m_title.SetText(-1, "");
    return 0;
}

void CContentView::OnInitialUpdate()
{
    CView::OnInitialUpdate();
    CHARFORMAT format {};
    format.cbSize = sizeof(format);
    format.dwMask = CFM_FACE;
    strcpy(format.szFaceName, "Arial");
    m_text.SetDefaultCharFormat(format);
    ShowPlaceholder(IDB_PREVIEW_NOTHING, IDS_PREVIEW_NOTHING);
    m_findBar.Setup();
    EnableFindBar(ID_PREVIEW_FIND, ID_PREVIEW_PROTECT, FALSE);
    m_findBar.SetButtonState(ID_PREVIEW_PROTECT, FALSE);
    LayoutChildren();
}

void CContentView::OnSize(UINT nType, int cx, int cy)
{
    CView::OnSize(nType, cx, cy);
    LayoutChildren();
}

void CContentView::LayoutChildren()
{
    if (!m_closeButton.GetSafeHwnd() || !m_title.GetSafeHwnd() || !m_text.GetSafeHwnd() || !m_findBar.GetSafeHwnd())
        return;
    CRect rc;
    GetClientRect(&rc);
    ::InflateRect(&rc, -(MARGIN), -(MARGIN));
    rc.right -= INSET;
    rc.bottom -= INSET;
    if (::IsRectEmpty(&rc))
        return;
    const int cxClose = std::min(GetSystemMetrics(SM_CXSIZE) - 2, rc.Width());
    const int cyClose = std::min(GetSystemMetrics(SM_CYSIZE) - 4, rc.Height());
    m_closeButton.MoveWindow(rc.right - cxClose, rc.top, cxClose, cyClose);
    CRect rcTitle;
    m_title.GetWindowRect(&rcTitle);
    const int cyTitle
        = std::max<int>(cyClose, std::min<int>(rcTitle.Height() > 0 ? rcTitle.Height() : cyClose, rc.Height()));
    m_title.MoveWindow(rc.left, rc.top, std::max(0, rc.Width() - cxClose), cyTitle);
    const CSize bar = m_findBar.GetPreferredSize();
    const int yBar = rc.top + cyTitle;
    m_findBar.MoveWindow(rc.left, yBar, rc.Width(), std::min(static_cast<int>(bar.cy), std::max(0, rc.bottom - yBar)));
    const CRect rcText = GetTextRect();
    m_text.MoveWindow(&rcText);
    if (m_zoom.pWnd && m_zoom.pWnd->GetSafeHwnd())
        m_zoom.pWnd->MoveWindow(&rcText);
}

CRect CContentView::GetTextRect() const
{
    CRect rc;
    GetClientRect(&rc);
    ::InflateRect(&rc, -(MARGIN), -(MARGIN));
    rc.right -= INSET;
    rc.bottom -= INSET;
    CRect rcBar;
    if (m_findBar.GetSafeHwnd()) {
        m_findBar.GetWindowRect(&rcBar);
        ScreenToClient(&rcBar);
        rc.top = rcBar.bottom;
    }
    ::InflateRect(&rc, -(CHILD_INSET), -(CHILD_INSET));
    if (rc.bottom < rc.top)
        rc.bottom = rc.top;
    if (rc.right < rc.left)
        rc.right = rc.left;
    return rc;
}

void CContentView::OnDraw(CDC* pDC)
{
    CRect rc;
    GetClientRect(&rc);
    pDC->FillSolidRect(&rc, RGB(255, 255, 255));
    ::InflateRect(&rc, -(FRAME_OFFSET), -(FRAME_OFFSET));
    rc.right -= INSET;
    rc.bottom -= INSET;
    if (::IsRectEmpty(&rc))
        return;
    pDC->Draw3dRect(&rc, GetSysColor(COLOR_3DDKSHADOW), GetSysColor(COLOR_BTNHIGHLIGHT));
    ::InflateRect(&rc, -(1), -(1));
    pDC->Draw3dRect(&rc, GetSysColor(COLOR_BTNSHADOW), GetSysColor(COLOR_3DLIGHT));
    ::InflateRect(&rc, -(1), -(1));
    pDC->FillSolidRect(&rc, GetSysColor(COLOR_BTNFACE));
    CRect rcText = GetTextRect();
    ::InflateRect(&rcText, 1, 1);
    pDC->Draw3dRect(&rcText, GetSysColor(COLOR_BTNSHADOW), GetSysColor(COLOR_BTNHIGHLIGHT));
}

void CContentView::OnDrawItem(int nIDCtl, LPDRAWITEMSTRUCT lpDrawItemStruct)
{
    if (nIDCtl != static_cast<int>(IDC_PREVIEW_CLOSE)) {
        CView::OnDrawItem(nIDCtl, lpDrawItemStruct);
        return;
    }
    UINT nState = DFCS_CAPTIONCLOSE;
    if (lpDrawItemStruct->itemState & ODS_DISABLED)
        nState |= DFCS_INACTIVE;
    else if (lpDrawItemStruct->itemState & ODS_SELECTED)
        nState |= DFCS_PUSHED;
    RECT rc = lpDrawItemStruct->rcItem;
    DrawFrameControl(lpDrawItemStruct->hDC, &rc, DFC_CAPTION, nState);
}

void CContentView::OnDestroy()
{
    FreeImage(); // before the zoom window goes with the view's children
    CView::OnDestroy();
}

void CContentView::OnSetFocus(CWnd* pOldWnd)
{
    CView::OnSetFocus(pOldWnd);
    if (m_text.GetSafeHwnd() && m_text.IsWindowVisible())
        m_text.SetFocus();
}

void CContentView::OnClose()
{
    if (CWnd* pMain = AfxGetMainWnd())
        pMain->PostMessage(WM_COMMAND, ID_VIEW_PREVIEW, 0);
}

/***************************** Showing an item *****************************/

CDocumentRec* CContentView::GetShownDocument() const
{
    return dynamic_cast<CDocumentRec*>(m_pItem.get());
}

void CContentView::ShowDocument(const CCatalogRecord* pItem)
{
    if (pItem && IsSameCatalogItem(pItem, m_pItem.get()))
        return;
    if (!pItem && !m_pItem && m_bTextLoaded == FALSE && m_zoom.pWnd)
        return; // the placeholder is shown already
    CCatalogHold hold(pItem ? dynamic_cast<CCatalog*>(pItem->GetDatabase()) : nullptr);
    FreeImage();
    m_bTextLoaded = FALSE;
    m_pItem.reset();
    if (!pItem) {
        m_title.SetText(-1, "");
        ShowPlaceholder(IDB_PREVIEW_NOTHING, IDS_PREVIEW_NOTHING);
        EnableFindBar(ID_PREVIEW_FIND, ID_PREVIEW_SMALLER, FALSE);
        EnableFindBar(ID_PREVIEW_EDIT_DESCRIPTION, ID_PREVIEW_PROTECT, FALSE);
        m_findBar.SetButtonState(ID_PREVIEW_PROTECT, FALSE);
        return;
    }
    m_pItem = CopyCatalogItem(pItem);
    if (const auto* pNode = dynamic_cast<const CNodeRec*>(m_pItem.get()))
        ShowNode(*pNode);
    else if (const auto* pDocument = dynamic_cast<const CDocumentRec*>(m_pItem.get()))
        ShowDocumentRecord(*pDocument);
}

void CContentView::ShowNode(const CNodeRec& node)
{
    m_title.SetText(m_nItemIcon, node.GetName());
    FillRichEdit(node);
    EnableFindBar(ID_PREVIEW_FIND, ID_PREVIEW_PROTECT, FALSE);
    m_findBar.SetButtonState(ID_PREVIEW_PROTECT, FALSE);
}

void CContentView::ShowDocumentRecord(const CDocumentRec& document)
{
    CString strPath;
    document.GetFullPath(strPath);
    m_title.SetText(GetDocumentTypeIcon(document), strPath);
    const int nState = document.GetExpiryState(FALSE);
    if (nState == EXPIRY_MAIL_DELETED || nState == EXPIRY_NOT_FOUND || nState == EXPIRY_UNREACHABLE) {
        ShowPlaceholder(IDB_PREVIEW_NOTHING, IDS_PREVIEW_NOTHING);
        EnableFindBar(ID_PREVIEW_FIND, ID_PREVIEW_SMALLER, FALSE);
        EnableFindBar(ID_PREVIEW_EDIT_DESCRIPTION, ID_PREVIEW_EDIT_DESCRIPTION, TRUE);
        EnableFindBar(ID_PREVIEW_DESCRIPTION, ID_PREVIEW_PROTECT, FALSE);
        m_findBar.SetButtonState(ID_PREVIEW_PROTECT, FALSE);
        return;
    }
    if (document.IsProtected()) {
        ShowPlaceholder(IDB_PREVIEW_PROTECTED, document.IsMail() ? IDS_WA_TIP_MAIL_PROTECTED : IDS_PREVIEW_PROTECTED);
        EnableFindBar(ID_PREVIEW_FIND, ID_PREVIEW_SMALLER, FALSE);
        EnableFindBar(ID_PREVIEW_DESCRIPTION, ID_PREVIEW_DESCRIPTION, FALSE);
        EnableFindBar(ID_PREVIEW_EDIT_DESCRIPTION, ID_PREVIEW_EDIT_DESCRIPTION, TRUE);
        EnableFindBar(ID_PREVIEW_PROTECT, ID_PREVIEW_PROTECT, TRUE);
        m_findBar.SetButtonState(ID_PREVIEW_PROTECT, TRUE);
        return;
    }
    LoadContent(document);
}

void CContentView::LoadContent(const CDocumentRec& document)
{
    CWaitCursor wait;
    std::vector<char> buffer(CONTENT_BYTES, '\0');
    const int nCode = document.ReadContent(buffer.data(), CONTENT_BYTES);
    m_findBar.SetButtonState(ID_PREVIEW_PROTECT, FALSE);
    switch (nCode) {
    case CONTENT_TEXT:
    case 11: // text codes the reader keeps for other kinds of text
    case 12:
    case CONTENT_CONVERTED_TEXT:
        ShowMessageText(buffer.data());
        m_bTextLoaded = TRUE;
        EnableFindBar(ID_PREVIEW_FIND, ID_PREVIEW_PROTECT, TRUE);
        HighlightWords(FALSE);
        return;
    case CONTENT_EMPTY:
        ShowMessageText("");
        m_bTextLoaded = TRUE;
        EnableFindBar(ID_PREVIEW_FIND, ID_PREVIEW_PROTECT, FALSE);
        EnableFindBar(ID_PREVIEW_EDIT_DESCRIPTION, ID_PREVIEW_EDIT_DESCRIPTION, TRUE);
        return;
    case CONTENT_PICTURE:
        if (ShowImage(HELD_PICTURE)) {
            const int* pEnd = std::end(ZOOM_PERCENTS);
            const int* pFound = std::find(std::begin(ZOOM_PERCENTS), pEnd, GetZoomPercent());
            m_nSizeIndex = static_cast<int>(pFound - std::begin(ZOOM_PERCENTS)); // the table's size when not in it
            EnableFindBar(ID_PREVIEW_FIND, ID_PREVIEW_PROTECT, FALSE);
            EnableFindBar(ID_PREVIEW_LARGER, ID_PREVIEW_LARGER, m_nSizeIndex < 6);
            EnableFindBar(ID_PREVIEW_SMALLER, ID_PREVIEW_SMALLER, m_nSizeIndex > 0);
            EnableFindBar(ID_PREVIEW_EDIT_DESCRIPTION, ID_PREVIEW_EDIT_DESCRIPTION, TRUE);
            EnableFindBar(ID_PREVIEW_PROTECT, ID_PREVIEW_PROTECT, TRUE);
            return;
        }
        break;
    default:
        break;
    }
    ShowPlaceholder(IDB_PREVIEW_NOTHING, IDS_PREVIEW_NOTHING);
    EnableFindBar(ID_PREVIEW_FIND, ID_PREVIEW_SMALLER, FALSE);
    EnableFindBar(ID_PREVIEW_EDIT_DESCRIPTION, ID_PREVIEW_EDIT_DESCRIPTION, TRUE);
    EnableFindBar(ID_PREVIEW_DESCRIPTION, ID_PREVIEW_PROTECT, FALSE);
}

void CContentView::ShowPlaceholder(UINT nPicture, UINT nStringID)
{
    if (!ShowImage(static_cast<int>(nPicture)))
        ShowMessageText(nStringID);
}

void CContentView::Refresh()
{
    if (!m_pItem)
        return;
    CCatalogHold hold(dynamic_cast<CCatalog*>(m_pItem->GetDatabase()));
    if (!m_pItem->Load()) {
        ShowDocument(nullptr);
        return;
    }
    if (auto* pNode = dynamic_cast<CNodeRec*>(m_pItem.get())) {
        ShowNode(*pNode);
        return;
    }
    auto* pDocument = GetShownDocument();
    if (!pDocument)
        return;
    const int nState = pDocument->GetExpiryState(TRUE);
    if (nState == EXPIRY_MAIL_DELETED || nState == EXPIRY_NOT_FOUND || nState == EXPIRY_UNREACHABLE)
        return;
    if (!pDocument->IsProtected() && !m_bTextLoaded && !m_zoom.pWnd) {
        FreeImage();
        LoadContent(*pDocument);
    } else if (pDocument->IsProtected() && (m_bTextLoaded || m_zoom.pWnd)) {
        ShowDocumentRecord(*pDocument);
    }
    m_findBar.SetButtonState(ID_PREVIEW_PROTECT, pDocument->IsProtected());
}

/***************************** Description and protection *****************************/

void CContentView::OnEditDescription()
{
    EditDescription(nullptr);
}

void CContentView::OnSelectionAsDescription()
{
    if (!m_bTextLoaded)
        return;
    const CString strSelection = m_text.GetSelText();
    EditDescription(&strSelection);
}

void CContentView::EditDescription(const CString* pPreset)
{
    CDocumentRec* pDocument = GetShownDocument();
    if (!pDocument)
        return;
    CDlgDocDescription dialog(*pDocument, this);
    if (pPreset)
        dialog.SetPresetText(*pPreset);
    if (dialog.DoModal() != IDOK || !::IsWindow(GetSafeHwnd()))
        return;
    CCatalogHold hold(pDocument->GetCatalog());
    if (pDocument->ChangeDescription(dialog.GetText()) == CDocumentRec::DESCRIPTION_WRITTEN) {
        if (CWnd* pMain = AfxGetMainWnd())
            pMain->SendMessage(g_nMsgReread, 0, 0);
    }
}

void CContentView::OnProtect()
{
    CDocumentRec* pDocument = GetShownDocument();
    if (!pDocument || !ToggleDocumentProtection(*pDocument, this))
        return;
    // The pane follows: the protected placeholder, or the content again.
    std::unique_ptr<CCatalogRecord> pShown = std::move(m_pItem);
    (void)pShown->Load(); // it was just written
    ShowDocument(pShown.get());
}
