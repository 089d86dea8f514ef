#include "frame/CDragBar.h"

#include "catalog/RecycleBin.h"
#include "frame/CArchivoraApp.h"
#include "resources/ResourceIds.h"
#include "ui/DropTargets.h"

#include "platform/framework/CRect.h"
#include "platform/framework/CWinThread.h"
#include "platform/framework/MessageMap.h"
#include "platform/gdi/FrameControls.h"
#include "platform/gdi/Rects.h"
#include "platform/window/SystemMetrics.h"

IMPLEMENT_DYNCREATE(CDragBar, CDialogBar)

// clang-format off
BEGIN_MESSAGE_MAP(CDragBar, CDialogBar)
    ON_WM_SIZE()
    ON_WM_DRAWITEM()
    ON_BN_CLICKED(IDC_DRAG_UP, &CDragBar::OnScrollUp)
    ON_BN_DOUBLECLICKED(IDC_DRAG_UP, &CDragBar::OnScrollUp)
    ON_BN_CLICKED(IDC_DRAG_DOWN, &CDragBar::OnScrollDown)
    ON_BN_DOUBLECLICKED(IDC_DRAG_DOWN, &CDragBar::OnScrollDown)
END_MESSAGE_MAP()
// clang-format on

namespace {

constexpr int BORDER = 2;
constexpr char FONT_FACE[] = "DejaVu Sans";

} // namespace

CDragBar::CDragBar() = default;
CDragBar::~CDragBar() = default;

BOOL CDragBar::Create(CWnd* pParentWnd, LPCTSTR lpszTemplateName, UINT nStyle, UINT nID)
{
    return CDialogBar::Create(pParentWnd, lpszTemplateName, nStyle, nID) && Initialise();
}

BOOL CDragBar::Initialise()
{
    if (!m_list.SubclassDlgItem(IDC_DRAG_LIST, this) || !m_btnUp.SubclassDlgItem(IDC_DRAG_UP, this)
        || !m_btnDown.SubclassDlgItem(IDC_DRAG_DOWN, this))
        return FALSE;
    for (CWnd* pTarget : { static_cast<CWnd*>(&m_list), static_cast<CWnd*>(&m_btnUp), static_cast<CWnd*>(&m_btnDown) })
        RegisterDropTarget(pTarget, TRUE);
    if (m_font.CreatePointFont(FONT_TENTHS, FONT_FACE))
        m_list.SetFont(&m_font);
    CArchivoraApp* pApp = GetArchivoraApp();
    UpdateRecycleBinState(pApp ? pApp->GetRecycleCatalog() : nullptr);
    m_list.FillList();
    LayoutControls();
    UpdateArrows();
    return TRUE;
}

/***************************** Layout and scrolling *****************************/

void CDragBar::OnSize(UINT nType, int cx, int cy)
{
    CDialogBar::OnSize(nType, cx, cy);
    LayoutControls();
}

void CDragBar::LayoutControls()
{
    if (!m_list.GetSafeHwnd() || !m_btnUp.GetSafeHwnd() || !m_btnDown.GetSafeHwnd())
        return;
    const int h = GetSystemMetrics(SM_CYHSCROLL);
    CRect rc;
    GetClientRect(&rc);
    ::InflateRect(&rc, -BORDER, -BORDER);
    if (rc.Width() <= 0 || rc.Height() <= 0)
        return;
    m_btnUp.MoveWindow(rc.left, rc.top, rc.Width(), h);
    m_btnDown.MoveWindow(rc.left, rc.bottom - h, rc.Width(), h);
    m_list.MoveWindow(rc.left, rc.top + h + 1, rc.Width(), std::max(0, rc.Height() - 2 * (h + 1)));
}

int CDragBar::LastVisibleItem() const
{
    const int nCount = m_list.GetCount();
    if (nCount <= 0)
        return -1;
    CRect rcClient;
    m_list.GetClientRect(&rcClient);
    int nLast = std::max(m_list.GetTopIndex(), 0);
    for (int i = nLast; i < nCount; ++i) {
        CRect rcItem;
        if (m_list.GetItemRect(i, &rcItem) == LB_ERR || rcItem.top >= rcClient.bottom)
            break;
        nLast = i;
    }
    return nLast;
}

void CDragBar::OnScrollDown()
{
    const int nLast = LastVisibleItem();
    if (nLast < 0 || nLast >= m_list.GetCount() - 1)
        return;
    m_list.SetTopIndex(m_list.GetTopIndex() + 1);
    UpdateArrows();
}

void CDragBar::OnScrollUp()
{
    const int nTop = m_list.GetTopIndex();
    if (nTop <= 0)
        return;
    m_list.SetTopIndex(nTop - 1);
    UpdateArrows();
}

void CDragBar::UpdateArrows()
{
    if (!m_list.GetSafeHwnd())
        return;
    const BOOL bUp = m_list.GetTopIndex() > 0;
    const BOOL bDown = LastVisibleItem() < m_list.GetCount() - 1;
    if (m_btnUp.IsWindowEnabled() != bUp)
        m_btnUp.EnableWindow(bUp);
    if (m_btnDown.IsWindowEnabled() != bDown)
        m_btnDown.EnableWindow(bDown);
}

void CDragBar::OnDrawItem(int nIDCtl, LPDRAWITEMSTRUCT lpDrawItemStruct)
{
    if (nIDCtl == IDC_DRAG_UP)
        DrawArrowFrame(lpDrawItemStruct, DFCS_SCROLLUP);
    else if (nIDCtl == IDC_DRAG_DOWN)
        DrawArrowFrame(lpDrawItemStruct, DFCS_SCROLLDOWN);
    else
        CDialogBar::OnDrawItem(nIDCtl, lpDrawItemStruct);
}

void CDragBar::OnUpdateCmdUI(CFrameWnd* pTarget, BOOL bDisableIfNoHndler)
{
    // The arrows and the list take no commands: the bar sets them itself.
    UpdateArrows();
    CWnd* pMain = AfxGetMainWnd();
    if (m_list.GetSafeHwnd() && !(pMain && pMain->IsIconic()))
        m_list.UpdateImages();
    (void)pTarget;
    (void)bDisableIfNoHndler;
}
