#include "dialogs/preferences/CKadPreferencesPropSheet.h"

#include "platform/controls/PropertySheet.h"
#include "platform/controls/TabControl.h"
#include "platform/framework/AfxMessages.h"
#include "platform/framework/CRect.h"
#include "platform/framework/MessageMap.h"
#include "ui/KickIdle.h"

#include <array>

IMPLEMENT_DYNAMIC(CKadPreferencesPropSheet, CPropertySheet)

// clang-format off
BEGIN_MESSAGE_MAP(CKadPreferencesPropSheet, CPropertySheet)
    ON_MESSAGE(WM_KICKIDLE, &CKadPreferencesPropSheet::OnKickIdle)
END_MESSAGE_MAP()
// clang-format on

namespace {

// The lowest key that can be a mnemonic: below it are control keys and Space.
constexpr UINT FIRST_MNEMONIC_KEY = 33;

} // namespace

CKadPreferencesPropSheet::CKadPreferencesPropSheet(UINT nIDCaption, CWnd* pParentWnd, UINT iSelectPage)
    : CPropertySheet(nIDCaption, pParentWnd, iSelectPage)
{
    m_psh.dwFlags |= PSH_NOAPPLYNOW;
}

BOOL CKadPreferencesPropSheet::OnInitDialog()
{
    const BOOL bResult = CPropertySheet::OnInitDialog();
    if (CWnd* pHelp = GetDlgItem(IDHELP))
        pHelp->ShowWindow(SW_HIDE);
    CWnd* pOK = GetDlgItem(IDOK);
    CWnd* pCancel = GetDlgItem(IDCANCEL);
    if (pOK && pCancel) {
        CRect client;
        GetClientRect(&client);
        CRect cancel;
        pCancel->GetWindowRect(&cancel);
        ScreenToClient(&cancel);
        const int nCancelLeft = client.right - BUTTON_GAP - cancel.Width();
        constexpr UINT FLAGS = SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE;
        pCancel->SetWindowPos(nullptr, nCancelLeft, cancel.top, 0, 0, FLAGS);
        CRect ok;
        pOK->GetWindowRect(&ok);
        ScreenToClient(&ok);
        pOK->SetWindowPos(nullptr, nCancelLeft - BUTTON_GAP - ok.Width(), ok.top, 0, 0, FLAGS);
    }
    return bResult;
}

int CKadPreferencesPropSheet::PageOfMnemonic(UINT nKey) const
{
    const CWnd* pTabs = GetTabControl();
    if (!pTabs)
        return -1;
    const char szMnemonic[] = { '&', static_cast<char>(nKey), '\0' };
    const int nCount = static_cast<int>(pTabs->SendMessage(TCM_GETITEMCOUNT));
    for (int nTab = 0; nTab < nCount; ++nTab) {
        std::array<char, TAB_TEXT_SIZE> text {};
        TCITEM item {};
        item.mask = TCIF_TEXT;
        item.pszText = text.data();
        item.cchTextMax = TAB_TEXT_SIZE;
        if (pTabs->SendMessage(TCM_GETITEM, static_cast<WPARAM>(nTab), reinterpret_cast<LPARAM>(&item))
            && CString(text.data()).Find(szMnemonic) >= 0)
            return nTab;
    }
    return -1;
}

BOOL CKadPreferencesPropSheet::PreTranslateMessage(MSG* pMsg)
{
    if (pMsg->message == WM_SYSKEYDOWN && pMsg->wParam >= FIRST_MNEMONIC_KEY) {
        const int nPage = PageOfMnemonic(static_cast<UINT>(pMsg->wParam));
        if (nPage >= 0) {
            SetActivePage(nPage);
            return TRUE;
        }
    }
    return CPropertySheet::PreTranslateMessage(pMsg);
}

LRESULT CKadPreferencesPropSheet::OnKickIdle(WPARAM wParam, LPARAM lParam)
{
    return RelayKickIdle(this, wParam, lParam);
}
