#include "ui/COpenBar.h"

#include "platform/framework/AfxFrameIds.h"
#include "platform/framework/CFrameWnd.h"
#include "resources/ResourceIds.h"
#include "store/ResString.h"
#include "ui/KeptBarState.h"

namespace {

constexpr LPCTSTR KEY_NAME = "Openbar";
constexpr int IMAGE_WIDTH = 20;
constexpr COLORREF IMAGE_MASK = RGB(255, 0, 255);
// Room after the last control the bar shows.
constexpr int RIGHT_MARGIN = 6;

struct CButtonImage {
    UINT nID;
    int nImage;
};

// clang-format off
constexpr std::array<CButtonImage, 9> BUTTONS { {
    { 57601,                  0 },
    { ID_DOC_OPEN_CHOSEN,     1 },
    { ID_DOC_OPEN_ASSOCIATED, 2 },
    { ID_DOC_OPEN_CHOOSER,    3 },
    { ID_DOC_PROTECT,         4 },
    { ID_DOC_VERSION,         5 },
    { ID_DOC_SHOW_FOLDER,     6 },
    { ID_DOC_OPEN_ACTION,     7 },
    { IDC_OPEN_BAR_TOGGLE,    9 }, // 8 when collapsed
} };
// clang-format on
static_assert(BUTTONS.back().nID == IDC_OPEN_BAR_TOGGLE, "the toggle is the last button");
constexpr int TOGGLE_OPEN_IMAGE = 9;
constexpr int TOGGLE_COLLAPSED_IMAGE = 8;

// The controls only the open look shows.
constexpr std::array<UINT, 8> OPEN_ONLY { IDC_OPEN_BAR_LINE1, IDC_OPEN_BAR_LINE2, IDC_OPEN_BAR_LINE3,
    IDC_OPEN_BAR_LINE4, IDC_OPEN_BAR_VERSION, IDC_OPEN_BAR_PROTECTION, IDC_OPEN_BAR_PROTECTION_LABEL,
    IDC_OPEN_BAR_VERSION_LABEL };

} // namespace

void COpenBar::InitBar()
{
    m_images.Create(IDB_OPEN_BAR, IMAGE_WIDTH, 0, IMAGE_MASK);
    for (size_t i = 0; i < BUTTONS.size(); ++i) {
        m_buttons[i].SubclassDlgItem(BUTTONS[i].nID, this);
        m_buttons[i].SetImage(&m_images, BUTTONS[i].nImage);
    }
    m_protectionText.SubclassDlgItem(IDC_OPEN_BAR_PROTECTION, this);
    m_versionText.SubclassDlgItem(IDC_OPEN_BAR_VERSION, this);
    m_protectionText.SetWindowText(GetResString(m_bProtected ? IDS_OPEN_BAR_PROTECTED : IDS_OPEN_BAR_UNPROTECTED));
    m_versionText.SetWindowText(GetResString(m_bVersioned ? IDS_OPEN_BAR_VERSIONED : IDS_OPEN_BAR_UNVERSIONED));
    UpdateLayout();
}

void COpenBar::Toggle()
{
    m_bOpen = !m_bOpen;
    UpdateLayout();
}

void COpenBar::UpdateLayout()
{
    if (!GetSafeHwnd())
        return;
    for (UINT nID : OPEN_ONLY) {
        if (CWnd* pControl = GetDlgItem(static_cast<int>(nID)))
            pControl->ShowWindow(m_bOpen ? SW_SHOW : SW_HIDE);
    }
    CHotTrackButton& toggle = m_buttons.back();
    toggle.SetImage(&m_images, m_bOpen ? TOGGLE_OPEN_IMAGE : TOGGLE_COLLAPSED_IMAGE);
    if (toggle.GetSafeHwnd())
        toggle.Invalidate();
    // Tips only where the texts are hidden.
    if (m_bOpen)
        SetBarStyle(GetBarStyle() & ~CBRS_TOOLTIPS);
    else
        SetBarStyle(GetBarStyle() | CBRS_TOOLTIPS);
    CWnd* pReference = GetDlgItem(m_bOpen ? IDC_OPEN_BAR_VERSION : 57601);
    if (pReference) {
        RECT bar {};
        RECT reference {};
        GetWindowRect(&bar);
        pReference->GetWindowRect(&reference);
        m_nWidth = reference.right - bar.left + RIGHT_MARGIN;
    }
    if (CFrameWnd* pFrame = GetParentFrame())
        pFrame->RecalcLayout();
}

void COpenBar::UpdateToggleText(UINT nID, BOOL bState)
{
    bState = bState ? TRUE : FALSE;
    if (nID == ID_DOC_PROTECT && bState != m_bProtected) {
        m_bProtected = bState;
        m_protectionText.SetWindowText(GetResString(bState ? IDS_OPEN_BAR_PROTECTED : IDS_OPEN_BAR_UNPROTECTED));
        m_protectionText.Invalidate();
    } else if (nID == ID_DOC_VERSION && bState != m_bVersioned) {
        m_bVersioned = bState;
        m_versionText.SetWindowText(GetResString(bState ? IDS_OPEN_BAR_VERSIONED : IDS_OPEN_BAR_UNVERSIONED));
        m_versionText.Invalidate();
    }
}

CSize COpenBar::CalcDynamicLayout(int nLength, DWORD dwMode)
{
    CSize size = CBrushDialogBar::CalcDynamicLayout(nLength, dwMode);
    if (m_nWidth > 0)
        size.cx = m_nWidth;
    return size;
}

void COpenBar::LoadState(HKEY hParent)
{
    CKeptBarState state;
    if (!LoadKeptBarState(hParent, KEY_NAME, &state))
        return;
    m_bOpen = state.bShow;
    m_nWidth = state.nWidth;
}

void COpenBar::SaveState(HKEY hParent)
{
    SaveKeptBarState(hParent, KEY_NAME, CKeptBarState { m_bOpen, m_nWidth });
}
