#include "platform/framework/CPropertyPage.h"

#include "platform/framework/CWinApp.h"

IMPLEMENT_DYNAMIC(CPropertyPage, CDialog)

CPropertyPage::CPropertyPage(UINT nIDTemplate, UINT nIDCaption)
    : CDialog(nIDTemplate)
{
    m_psp.dwFlags = PSP_USECALLBACK | (nIDCaption ? PSP_USETITLE : 0);
    m_psp.pszTemplate = MAKEINTRESOURCE(static_cast<WORD>(nIDTemplate));
    m_psp.pszTitle = nIDCaption ? MAKEINTRESOURCE(static_cast<WORD>(nIDCaption)) : nullptr;
    m_psp.pfnDlgProc = &AfxDlgProc;
    m_psp.pfnCallback = &CPropertyPage::OnPageCallback;
    m_psp.lParam = reinterpret_cast<LPARAM>(this);
}

UINT CALLBACK CPropertyPage::OnPageCallback(HWND, UINT uMsg, PROPSHEETPAGE* ppsp)
{
    if (uMsg == PSPCB_CREATE) {
        auto* pPage = reinterpret_cast<CPropertyPage*>(ppsp->lParam);
        if (pPage->m_hWnd)
            return 0;
        pPage->m_bActivated = false;
        // The hook is used up by the page dialog, the next window made.
        AfxHookWindowCreate(pPage);
    }
    return 1;
}

void CPropertyPage::SetModified(BOOL bChanged)
{
    if (HWND hSheet = m_hWnd ? ::GetParent(m_hWnd) : nullptr)
        ::SendMessage(hSheet, bChanged ? PSM_CHANGED : PSM_UNCHANGED, reinterpret_cast<WPARAM>(m_hWnd), 0);
}

BOOL CPropertyPage::OnNotify(WPARAM wParam, LPARAM lParam, LRESULT* pResult)
{
    const auto* pHdr = reinterpret_cast<const NMHDR*>(lParam);
    if (!pHdr || pHdr->hwndFrom != ::GetParent(m_hWnd) || pHdr->code > PSN_FIRST || pHdr->code < PSN_LAST)
        return CDialog::OnNotify(wParam, lParam, pResult);
    LRESULT nResult = 0;
    switch (pHdr->code) {
    case PSN_SETACTIVE:
        nResult = OnSetActive() ? 0 : -1;
        m_bActivated = true;
        break;
    case PSN_KILLACTIVE:
        nResult = OnKillActive() ? FALSE : TRUE;
        break;
    case PSN_APPLY:
        nResult = OnApply() ? PSNRET_NOERROR : PSNRET_INVALID_NOCHANGEPAGE;
        break;
    case PSN_RESET:
        OnReset();
        break;
    case PSN_QUERYCANCEL:
        nResult = OnQueryCancel() ? FALSE : TRUE;
        break;
    case PSN_WIZBACK:
        nResult = OnWizardBack();
        break;
    case PSN_WIZNEXT:
        nResult = OnWizardNext();
        break;
    case PSN_WIZFINISH:
        nResult = OnWizardFinish() ? FALSE : TRUE;
        break;
    default:
        return CDialog::OnNotify(wParam, lParam, pResult);
    }
    if (pResult)
        *pResult = nResult;
    return TRUE;
}

/***** Overridables *****/

BOOL CPropertyPage::OnSetActive()
{
    if (m_bActivated)
        UpdateData(FALSE);
    return TRUE;
}

BOOL CPropertyPage::OnKillActive()
{
    return UpdateData(TRUE);
}

BOOL CPropertyPage::OnApply()
{
    OnOK();
    return TRUE;
}

void CPropertyPage::OnReset()
{
    OnCancel();
}

BOOL CPropertyPage::OnQueryCancel()
{
    return TRUE;
}

LRESULT CPropertyPage::OnWizardBack()
{
    return 0;
}

LRESULT CPropertyPage::OnWizardNext()
{
    return 0;
}

BOOL CPropertyPage::OnWizardFinish()
{
    return TRUE;
}

void CPropertyPage::OnOK() { }

void CPropertyPage::OnCancel() { }
