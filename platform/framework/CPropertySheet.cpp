#include "platform/framework/CPropertySheet.h"

#include "platform/base/ResourceModule.h"
#include "platform/base/WinError.h"
#include "platform/controls/CommonControls.h"
#include "platform/controls/StandardControls.h"
#include "platform/framework/CWinApp.h"

#include <algorithm>

IMPLEMENT_DYNAMIC(CPropertySheet, CDialog)

BEGIN_MESSAGE_MAP(CPropertySheet, CDialog)
    ON_MESSAGE(WM_INITDIALOG, &CPropertySheet::OnInitDialogMessage)
END_MESSAGE_MAP()

CPropertySheet::CPropertySheet(UINT nIDCaption, CWnd* pParentWnd, UINT iSelectPage)
{
    m_strCaption.LoadString(nIDCaption);
    m_pParentWnd = pParentWnd;
    m_psh.nStartPage = iSelectPage;
}

CPropertySheet::CPropertySheet(LPCTSTR pszCaption, CWnd* pParentWnd, UINT iSelectPage)
    : m_strCaption(pszCaption)
{
    m_pParentWnd = pParentWnd;
    m_psh.nStartPage = iSelectPage;
}

/***** Pages *****/

void CPropertySheet::AddPage(CPropertyPage* pPage)
{
    if (!pPage)
        return;
    if (m_hWnd) {
        pPage->m_psp.hInstance = AfxGetResourceHandle();
        if (!::SendMessage(m_hWnd, PSM_ADDPAGE, 0, reinterpret_cast<LPARAM>(&pPage->m_psp)))
            return;
    }
    m_pages.push_back(pPage);
}

void CPropertySheet::RemovePage(CPropertyPage* pPage)
{
    RemovePage(GetPageIndex(pPage));
}

void CPropertySheet::RemovePage(int nPage)
{
    if (nPage < 0 || nPage >= GetPageCount())
        return;
    if (m_hWnd && !::SendMessage(m_hWnd, PSM_REMOVEPAGE, static_cast<WPARAM>(nPage), 0))
        return;
    m_pages.erase(m_pages.begin() + nPage);
}

CPropertyPage* CPropertySheet::GetPage(int nPage) const
{
    return nPage >= 0 && nPage < GetPageCount() ? m_pages[static_cast<size_t>(nPage)] : nullptr;
}

int CPropertySheet::GetPageIndex(CPropertyPage* pPage) const
{
    auto it = std::find(m_pages.begin(), m_pages.end(), pPage);
    return it == m_pages.end() ? -1 : static_cast<int>(it - m_pages.begin());
}

CPropertyPage* CPropertySheet::GetActivePage() const
{
    if (!m_hWnd)
        return nullptr;
    auto hPage = reinterpret_cast<HWND>(::SendMessage(m_hWnd, PSM_GETCURRENTPAGEHWND, 0, 0));
    return GetPage(static_cast<int>(::SendMessage(m_hWnd, PSM_HWNDTOINDEX, reinterpret_cast<WPARAM>(hPage), 0)));
}

int CPropertySheet::GetActiveIndex() const
{
    return GetPageIndex(GetActivePage());
}

BOOL CPropertySheet::SetActivePage(int nPage)
{
    if (!m_hWnd) {
        m_psh.nStartPage = static_cast<UINT>(std::max(nPage, 0));
        return TRUE;
    }
    return static_cast<BOOL>(::SendMessage(m_hWnd, PSM_SETCURSEL, static_cast<WPARAM>(nPage), 0));
}

BOOL CPropertySheet::SetActivePage(CPropertyPage* pPage)
{
    int nPage = GetPageIndex(pPage);
    return nPage >= 0 && SetActivePage(nPage);
}

void CPropertySheet::SetWizardButtons(DWORD dwFlags)
{
    if (m_hWnd)
        ::PostMessage(m_hWnd, PSM_SETWIZBUTTONS, 0, static_cast<LPARAM>(dwFlags));
}

void CPropertySheet::PressButton(int nButton)
{
    if (m_hWnd)
        ::SendMessage(m_hWnd, PSM_PRESSBUTTON, static_cast<WPARAM>(nButton), 0);
}

CWnd* CPropertySheet::GetTabControl() const
{
    return m_hWnd ? CWnd::FromHandle(reinterpret_cast<HWND>(::SendMessage(m_hWnd, PSM_GETTABCONTROL, 0, 0))) : nullptr;
}

/***** Making the sheet *****/

BOOL CPropertySheet::CreateSheet(HWND hWndParent, DWORD dwStyle, DWORD dwExStyle)
{
    if (m_hWnd || m_pages.empty()) {
        ::SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    RegisterStandardControls();
    InitCommonControls();
    m_pageHeaders.clear();
    for (CPropertyPage* pPage : m_pages) {
        pPage->m_psp.hInstance = AfxGetResourceHandle();
        m_pageHeaders.push_back(pPage->m_psp);
    }
    m_psh.hwndParent = hWndParent;
    m_psh.hInstance = AfxGetResourceHandle();
    m_psh.pszCaption = m_strCaption;
    m_psh.nPages = static_cast<UINT>(m_pageHeaders.size());
    m_psh.ppsp = m_pageHeaders.data();
    CWnd* pOuter = AfxHookWindowCreate(this);
    HWND hSheet = ::CreatePropertySheet(&m_psh, dwStyle, dwExStyle);
    AfxUnhookWindowCreate(pOuter);
    return hSheet != nullptr;
}

BOOL CPropertySheet::Create(CWnd* pParentWnd, DWORD dwStyle, DWORD dwExStyle)
{
    m_pParentWnd = pParentWnd;
    return CreateSheet(pParentWnd ? pParentWnd->GetSafeHwnd() : nullptr, dwStyle, dwExStyle);
}

BOOL CPropertySheet::CreateModal(HWND hWndOwner)
{
    return CreateSheet(hWndOwner, 0, 0);
}

BOOL CPropertySheet::ContinueModal()
{
    if (!CDialog::ContinueModal())
        return FALSE;
    if (m_hWnd && !::SendMessage(m_hWnd, PSM_GETCURRENTPAGEHWND, 0, 0)) {
        EndDialog(static_cast<int>(::SendMessage(m_hWnd, PSM_GETRESULT, 0, 0)));
        return FALSE;
    }
    return TRUE;
}

LRESULT CPropertySheet::OnInitDialogMessage(WPARAM, LPARAM)
{
    OnInitDialog();
    return m_nInitResult;
}

BOOL CPropertySheet::OnInitDialog()
{
    m_nInitResult = Default();
    return TRUE;
}

BOOL CPropertySheet::PreTranslateMessage(MSG* pMsg)
{
    if (pMsg->message < WM_KEYFIRST || pMsg->message > WM_KEYLAST || !m_hWnd)
        return FALSE;
    return static_cast<BOOL>(::SendMessage(m_hWnd, PSM_ISDIALOGMESSAGE, 0, reinterpret_cast<LPARAM>(pMsg)));
}

void CPropertySheet::OnOK()
{
    Default();
}

void CPropertySheet::OnCancel()
{
    Default();
}
