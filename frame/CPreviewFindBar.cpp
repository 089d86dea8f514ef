#include "frame/CPreviewFindBar.h"

#include "resources/ResourceIds.h"

#include "platform/controls/ComboBoxControl.h"
#include "platform/controls/CommonControls.h"
#include "platform/framework/CRect.h"
#include "platform/framework/MessageMap.h"
#include "platform/gdi/GdiObjects.h"
#include "platform/gdi/SysColors.h"
#include "platform/window/Focus.h"

// clang-format off
BEGIN_MESSAGE_MAP(CPreviewFindBar, CStatic)
    ON_WM_CREATE()
    ON_WM_SIZE()
    ON_CONTROL(CBN_KILLFOCUS, ID_PREVIEW_FIND, &CPreviewFindBar::OnComboKillFocus)
    ON_NOTIFY(NM_RETURN, ID_PREVIEW_FIND, &CPreviewFindBar::OnComboReturn)
    ON_COMMAND_RANGE(ID_PREVIEW_FIND, ID_PREVIEW_PROTECT, &CPreviewFindBar::OnForwardCommand)
END_MESSAGE_MAP()
// clang-format on

namespace {

constexpr COLORREF MASK_COLOUR = RGB(255, 0, 255);
constexpr int IMAGE_WIDTH = 18;
constexpr int BUTTON_MARGIN = 4;  // added to an image for its button
constexpr int PREFERRED_GAP = 29; // added to each image in the bar's preferred width
constexpr int COMBO_GAP = 4;

/* Pictures of the strip. */
constexpr int IMAGE_LARGER = 0;
constexpr int IMAGE_SMALLER = 1;
constexpr int IMAGE_EDIT_DESCRIPTION = 2;
constexpr int IMAGE_SELECTION = 3;
constexpr int IMAGE_PROTECTED = 4;
constexpr int IMAGE_UNPROTECTED = 5;

constexpr int BUTTON_IMAGES[CPreviewFindBar::BUTTON_COUNT]
    = { IMAGE_LARGER, IMAGE_SMALLER, IMAGE_EDIT_DESCRIPTION, IMAGE_SELECTION, IMAGE_UNPROTECTED };

} // namespace

CPreviewFindBar::CPreviewFindBar()
{
    LOGFONT logFont {};
    GetObject(GetStockObject(DEFAULT_GUI_FONT), sizeof(logFont), &logFont);
    m_font.CreateFontIndirect(&logFont);
}

CPreviewFindBar::~CPreviewFindBar() = default;

int CPreviewFindBar::OnCreate(LPCREATESTRUCT lpCreateStruct)
{
    if (CStatic::OnCreate(lpCreateStruct) == -1)
        return -1;
    (void)m_images.Create(IDB_PREVIEW_FIND_BAR, IMAGE_WIDTH, 1, MASK_COLOUR); // without it the buttons are blank
    if (!m_tips.Create(this))
        return -1;
    if (!m_combo.Create(WS_CHILD | WS_VISIBLE | WS_VSCROLL | WS_TABSTOP | CBS_DROPDOWN | CBS_AUTOHSCROLL,
            CRect(0, 0, COMBO_WIDTH, COMBO_LIST_HEIGHT), this, ID_PREVIEW_FIND))
        return -1;
    const CSize image = ImageSize();
    for (int i = 0; i < BUTTON_COUNT; ++i) {
        if (!m_buttons[i].Create("", WS_CHILD | WS_VISIBLE | BS_OWNERDRAW,
                CRect(0, 0, image.cx + BUTTON_MARGIN, image.cy + BUTTON_MARGIN), this, ID_PREVIEW_LARGER + i))
            return -1;
        m_buttons[i].SetImage(&m_images, BUTTON_IMAGES[i]);
    }
    return 0;
}

void CPreviewFindBar::OnSize(UINT nType, int cx, int cy)
{
    CStatic::OnSize(nType, cx, cy);
    const CSize image = ImageSize();
    const int cyButton = image.cy + BUTTON_MARGIN;
    m_combo.MoveWindow(0, 0, COMBO_WIDTH, COMBO_LIST_HEIGHT);
    int x = COMBO_WIDTH + COMBO_GAP;
    for (CHotTrackButton& button : m_buttons) {
        button.MoveWindow(x, 0, image.cx + BUTTON_MARGIN, cyButton);
        x += image.cx + BUTTON_MARGIN;
    }
}

void CPreviewFindBar::Setup()
{
    m_combo.SetFont(&m_font);
    for (UINT nID = ID_PREVIEW_FIND; nID <= ID_PREVIEW_PROTECT; ++nID) {
        if (CWnd* pControl = GetDlgItem(static_cast<int>(nID)))
            m_tips.AddTool(pControl, nID);
    }
    m_tips.Activate(TRUE);
    for (CHotTrackButton& button : m_buttons)
        button.SetColors(GetSysColor(COLOR_BTNFACE), GetSysColor(COLOR_BTNHIGHLIGHT), GetSysColor(COLOR_BTNSHADOW));
}

void CPreviewFindBar::SetButtonState(UINT nID, BOOL bPressed)
{
    if (nID != ID_PREVIEW_PROTECT)
        return;
    CHotTrackButton& button = m_buttons[BUTTON_COUNT - 1];
    button.SetImage(&m_images, bPressed ? IMAGE_PROTECTED : IMAGE_UNPROTECTED);
    if (button.GetSafeHwnd())
        button.Invalidate();
}

void CPreviewFindBar::EnableControls(UINT nFirst, UINT nLast, BOOL bEnable)
{
    for (UINT nID = nFirst; nID <= nLast; ++nID) {
        if (CWnd* pControl = GetDlgItem(static_cast<int>(nID)))
            pControl->EnableWindow(bEnable);
    }
}

BOOL CPreviewFindBar::IsControlEnabled(UINT nID)
{
    CWnd* pControl = GetDlgItem(static_cast<int>(nID));
    return pControl && pControl->IsWindowEnabled();
}

CSize CPreviewFindBar::ImageSize() const
{
    IMAGEINFO info {};
    if (m_images.GetSafeHandle() && m_images.GetImageInfo(0, &info))
        return CSize(info.rcImage.right - info.rcImage.left, info.rcImage.bottom - info.rcImage.top);
    return CSize(IMAGE_WIDTH, IMAGE_WIDTH);
}

CSize CPreviewFindBar::GetPreferredSize() const
{
    const CSize image = ImageSize();
    return CSize(6 * (image.cx + PREFERRED_GAP), image.cy + BUTTON_MARGIN);
}

BOOL CPreviewFindBar::PreTranslateMessage(MSG* pMsg)
{
    if (m_tips.GetSafeHwnd())
        m_tips.RelayEvent(pMsg);
    return CStatic::PreTranslateMessage(pMsg);
}

void CPreviewFindBar::OnForwardCommand(UINT)
{
    const MSG* pMsg = GetCurrentMessage();
    if (CWnd* pParent = GetParent())
        pParent->SendMessage(pMsg->message, pMsg->wParam, pMsg->lParam);
}

void CPreviewFindBar::OnComboKillFocus()
{
    CString strText;
    m_combo.GetWindowText(strText);
    m_combo.KeepWords(strText);
}

void CPreviewFindBar::OnComboReturn(NMHDR*, LRESULT* pResult)
{
    *pResult = 0;
    if (CWnd* pParent = GetParent())
        pParent->SendMessage(WM_COMMAND, ID_PREVIEW_FIND, 0);
    if (!::IsWindow(GetSafeHwnd()))
        return;
    HWND hFocus = ::GetFocus();
    if (hFocus != m_combo.GetSafeHwnd() && !::IsChild(m_combo.GetSafeHwnd(), hFocus))
        m_combo.SetFocus();
}
