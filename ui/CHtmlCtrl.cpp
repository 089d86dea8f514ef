#include "ui/CHtmlCtrl.h"

#include "platform/framework/MessageMap.h"
#include "platform/window/Input.h"

#include <cstring>

IMPLEMENT_DYNAMIC(CHtmlCtrl, CHtmlView)

BEGIN_MESSAGE_MAP(CHtmlCtrl, CHtmlView)
    ON_WM_DESTROY()
    ON_WM_MOUSEACTIVATE()
END_MESSAGE_MAP()

namespace {

// The scheme of the program's own links.
constexpr const char* APP_SCHEME = "app:";

} // namespace

BOOL CHtmlCtrl::CreateFromStatic(UINT nID, CWnd* pParent)
{
    CWnd* pPlaceholder = pParent ? pParent->GetDlgItem(static_cast<int>(nID)) : nullptr;
    if (!pPlaceholder)
        return FALSE;
    RECT rect {};
    pPlaceholder->GetWindowRect(&rect);
    pParent->ScreenToClient(&rect);
    pPlaceholder->DestroyWindow();
    return Create(nullptr, nullptr, WS_CHILD | WS_VISIBLE, rect, pParent, nID);
}

void CHtmlCtrl::OnBeforeNavigate2(LPCTSTR lpszURL, DWORD /*nFlags*/, LPCTSTR /*lpszTargetFrameName*/,
    CByteArray& /*baPostedData*/, LPCTSTR /*lpszHeaders*/, BOOL* pbCancel)
{
    const size_t nScheme = std::strlen(APP_SCHEME);
    const CString strUrl(lpszURL);
    if (strUrl.GetLength() >= static_cast<int>(nScheme)
        && strUrl.Left(static_cast<int>(nScheme)).CompareNoCase(APP_SCHEME) == 0) {
        *pbCancel = TRUE;
        OnAppCmd(strUrl.Mid(static_cast<int>(nScheme)));
    }
}

void CHtmlCtrl::OnAppCmd(LPCTSTR /*pszCommand*/) { }

void CHtmlCtrl::OnDestroy()
{
    if (m_pBrowserApp) {
        m_pBrowserApp->Release();
        m_pBrowserApp = nullptr;
    }
    // The view's own handling expects a frame around it; a control has none.
    CWnd::OnDestroy();
}

int CHtmlCtrl::OnMouseActivate(CWnd* pDesktopWnd, UINT nHitTest, UINT message)
{
    if (message == WM_RBUTTONDOWN)
        return MA_NOACTIVATEANDEAT;
    // Default window handling instead of the view's frame activation.
    const auto wParam = reinterpret_cast<WPARAM>(pDesktopWnd ? pDesktopWnd->GetSafeHwnd() : nullptr);
    return static_cast<int>(DefWindowProc(WM_MOUSEACTIVATE, wParam, MAKELPARAM(nHitTest, message)));
}
