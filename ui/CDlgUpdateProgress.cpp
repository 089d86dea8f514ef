#include "ui/CDlgUpdateProgress.h"

#include "resources/ResourceIds.h"

namespace {

constexpr int BAR_IDS[] = { IDC_UPDATE_BAR_A, IDC_UPDATE_BAR_B, IDC_UPDATE_BAR_C };
constexpr int LABEL_IDS[] = { IDC_UPDATE_LABEL_A, IDC_UPDATE_LABEL_B, IDC_UPDATE_LABEL_C };
constexpr UINT STEP_LABELS[] = { IDS_UPDATE_STEP_DRIVES, IDS_UPDATE_STEP_NETWORK, IDS_UPDATE_STEP_STORES };

// The steps (0 to 2) each mode shows, top to bottom; -1 ends the list.
constexpr int MODE_STEPS[7][3] = {
    { 0, -1, -1 },
    { 1, -1, -1 },
    { 2, -1, -1 },
    { 0, 1, -1 },
    { 0, 2, -1 },
    { 1, 2, -1 },
    { 0, 1, 2 },
};

// Space under the Cancel button, and between the lowest bar and the button.
constexpr int BOTTOM_MARGIN = 24;
constexpr int BUTTON_GAP = 12;

} // namespace

CDlgUpdateProgress::CDlgUpdateProgress()
    : CProgressDialog(IDD_UPDATE_PROGRESS, IDC_PROGRESS_TEXT)
{
}

void CDlgUpdateProgress::SetStepState(int nKind, BOOL bFlag)
{
    switch (nKind) {
    case 0:
        if (bFlag)
            m_nMode = 2;
        break;
    case 1:
        m_nMode = bFlag ? 4 : 0;
        break;
    case 2:
        m_nMode = bFlag ? 5 : 1;
        break;
    case 3:
        m_nMode = bFlag ? 6 : 3;
        break;
    default:
        break;
    }
}

BOOL CDlgUpdateProgress::OnInitDialog()
{
    CProgressDialog::OnInitDialog();
    for (int n = 0; n < BAR_COUNT; ++n)
        m_bars[n].SubclassDlgItem(BAR_IDS[n], this);
    m_pLowestBar = &m_bars[BAR_COUNT - 1];
    if (m_nMode != MODE_NOT_SET)
        LayOut();
    return TRUE;
}

void CDlgUpdateProgress::LayOut()
{
    m_nVisibleBars = 0;
    for (int n = 0; n < BAR_COUNT; ++n) {
        const int nStep = MODE_STEPS[m_nMode][n];
        if (nStep < 0) {
            m_bars[n].ShowWindow(SW_HIDE);
            GetDlgItem(LABEL_IDS[n])->ShowWindow(SW_HIDE);
            continue;
        }
        CString strLabel;
        strLabel.LoadString(STEP_LABELS[nStep]);
        SetDlgItemText(LABEL_IDS[n], strLabel);
        ++m_nVisibleBars;
    }
    m_pLowestBar = &m_bars[m_nVisibleBars - 1];
    if (m_nVisibleBars == BAR_COUNT)
        return;

    RECT dialog {};
    GetWindowRect(&dialog);
    RECT lowest {};
    m_pLowestBar->GetWindowRect(&lowest);
    CWnd* pCancel = GetDlgItem(IDCANCEL);
    RECT cancel {};
    pCancel->GetWindowRect(&cancel);
    const int cyButton = cancel.bottom - cancel.top;
    SetWindowPos(nullptr, 0, 0, dialog.right - dialog.left, lowest.bottom - dialog.top + cyButton + BOTTOM_MARGIN,
        SWP_NOMOVE | SWP_NOZORDER);
    POINT buttonAt { cancel.left, lowest.bottom + BUTTON_GAP };
    ScreenToClient(&buttonAt);
    pCancel->SetWindowPos(nullptr, buttonAt.x, buttonAt.y, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
}

BOOL CDlgUpdateProgress::SetText(LPCTSTR pszText)
{
    return ShowStatusAndReport(pszText);
}

CProgressCtrl* CDlgUpdateProgress::GetStepBar(int nBar)
{
    return nBar >= 0 && nBar < m_nVisibleBars ? &m_bars[nBar] : nullptr;
}
