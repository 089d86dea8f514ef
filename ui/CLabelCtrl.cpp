#include "ui/CLabelCtrl.h"

#include "platform/framework/CDC.h"
#include "platform/framework/MessageMap.h"
#include "platform/gdi/SysColors.h"
#include "platform/shell/ShellExecute.h"

IMPLEMENT_DYNAMIC(CLabelCtrl, CStatic)

// clang-format off
BEGIN_MESSAGE_MAP(CLabelCtrl, CStatic)
    ON_WM_CTLCOLOR_REFLECT()
    ON_WM_LBUTTONDOWN()
    ON_WM_SETCURSOR()
    ON_WM_TIMER()
END_MESSAGE_MAP()
// clang-format on

namespace {

constexpr LONG WEIGHT_BOLD = 700;
constexpr LONG WEIGHT_NORMAL = 400;

} // namespace

CLabelCtrl::CLabelCtrl()
    : m_crText(GetSysColor(COLOR_WINDOWTEXT))
    , m_hBackBrush(CreateSolidBrush(GetSysColor(COLOR_BTNFACE)))
    , m_hFlashBrush(CreateSolidBrush(GetSysColor(COLOR_BTNFACE)))
{
    GetObject(GetStockObject(DEFAULT_GUI_FONT), sizeof(m_logFont), &m_logFont);
    m_font.CreateFontIndirect(&m_logFont);
}

CLabelCtrl::~CLabelCtrl()
{
    DeleteObject(m_hBackBrush);
    DeleteObject(m_hFlashBrush);
}

void CLabelCtrl::RedrawNow()
{
    if (GetSafeHwnd())
        RedrawWindow(nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ERASE);
}

void CLabelCtrl::ReconstructFont()
{
    m_font.DeleteObject();
    m_font.CreateFontIndirect(&m_logFont);
    RedrawNow();
}

CLabelCtrl& CLabelCtrl::SetText(LPCTSTR pszText)
{
    SetWindowText(pszText);
    return *this;
}

CLabelCtrl& CLabelCtrl::SetTextColor(COLORREF crText)
{
    m_crText = crText;
    RedrawNow();
    return *this;
}

CLabelCtrl& CLabelCtrl::SetFontBold(BOOL bBold)
{
    m_logFont.lfWeight = bBold ? WEIGHT_BOLD : WEIGHT_NORMAL;
    ReconstructFont();
    return *this;
}

CLabelCtrl& CLabelCtrl::SetFontUnderline(BOOL bUnderline)
{
    m_logFont.lfUnderline = bUnderline ? 1 : 0;
    ReconstructFont();
    return *this;
}

CLabelCtrl& CLabelCtrl::SetFontSize(int nSize)
{
    m_logFont.lfHeight = -nSize;
    ReconstructFont();
    return *this;
}

CLabelCtrl& CLabelCtrl::SetBkColor(COLORREF crBack)
{
    DeleteObject(m_hBackBrush);
    m_hBackBrush = CreateSolidBrush(crBack);
    return *this;
}

CLabelCtrl& CLabelCtrl::SetLink(BOOL bLink)
{
    m_bLink = bLink;
    if (GetSafeHwnd())
        ModifyStyle(bLink ? 0 : SS_NOTIFY, bLink ? SS_NOTIFY : 0);
    return *this;
}

CLabelCtrl& CLabelCtrl::SetLinkCursor(HCURSOR hCursor)
{
    m_hLinkCursor = hCursor;
    return *this;
}

CLabelCtrl& CLabelCtrl::SetLinkUrl(LPCTSTR pszUrl)
{
    m_strLink = pszUrl ? pszUrl : "";
    return *this;
}

HBRUSH CLabelCtrl::CtlColor(CDC* pDC, UINT nCtlColor)
{
    if (nCtlColor != CTLCOLOR_STATIC)
        return nullptr;
    pDC->SelectObject(&m_font);
    pDC->SetTextColor(m_crText);
    pDC->SetBkMode(TRANSPARENT);
    if (m_nFlashKind == FLASH_BACKGROUND && !m_bFlashPhase)
        return m_hFlashBrush;
    return m_hBackBrush;
}

void CLabelCtrl::OnLButtonDown(UINT nFlags, CPoint point)
{
    if (!m_strLink.IsEmpty())
        ShellExecute(nullptr, "open", m_strLink, nullptr, nullptr, SW_SHOWNORMAL);
    CStatic::OnLButtonDown(nFlags, point);
}

BOOL CLabelCtrl::OnSetCursor(CWnd* pWnd, UINT nHitTest, UINT message)
{
    if (m_hLinkCursor) {
        ::SetCursor(m_hLinkCursor);
        return TRUE;
    }
    return CStatic::OnSetCursor(pWnd, nHitTest, message);
}

void CLabelCtrl::OnTimer(UINT_PTR /*nIDEvent*/)
{
    m_bFlashPhase = !m_bFlashPhase;
    if (m_nFlashKind == FLASH_TEXT) {
        if (m_bFlashPhase) {
            GetWindowText(m_strSavedText);
            SetWindowText("");
        } else {
            SetWindowText(m_strSavedText);
        }
    } else if (m_nFlashKind == FLASH_BACKGROUND) {
        RedrawNow();
    }
}
