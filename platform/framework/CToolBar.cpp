#include "platform/framework/CToolBar.h"

#include "platform/base/ResourceFormat.h"
#include "platform/base/ResourceModule.h"
#include "platform/controls/ToolTipControl.h"
#include "platform/framework/CFrameWnd.h"
#include "platform/framework/CWinApp.h"

#include <algorithm>
#include <string>
#include <vector>

IMPLEMENT_DYNAMIC(CToolBar, CControlBar)

// clang-format off
BEGIN_MESSAGE_MAP(CToolBar, CControlBar)
    ON_WM_CREATE()
    ON_WM_DESTROY()
END_MESSAGE_MAP()
// clang-format on

namespace {

// The control places nothing itself: the frame's layout does.
constexpr DWORD BAR_CONTROL_STYLE = CCS_NOPARENTALIGN | CCS_NORESIZE | CCS_NODIVIDER;
constexpr int BUTTON_MARGIN = 7; // a button is this much larger than its image

// A toolbar button as an update-UI item.
class CToolCmdUI : public CCmdUI {
public:
    CToolCmdUI(CToolBar& bar, CToolBarCtrl& ctrl)
        : m_bar(bar)
        , m_ctrl(ctrl)
    {
    }

    void Enable(BOOL bOn) override
    {
        m_bEnableChanged = TRUE;
        ChangeState(TBSTATE_ENABLED, bOn ? TBSTATE_ENABLED : 0);
    }
    void SetCheck(int nCheck) override
    {
        ChangeState(TBSTATE_CHECKED | TBSTATE_INDETERMINATE,
            nCheck == 1       ? TBSTATE_CHECKED
                : nCheck == 2 ? TBSTATE_INDETERMINATE
                              : 0);
    }
    // The buttons show images only: the text is the button's tip.
    void SetText(LPCTSTR lpszText) override { m_bar.SetButtonTip(m_nID, lpszText); }

private:
    void ChangeState(BYTE nMask, BYTE nBits)
    {
        TBBUTTONINFO info {};
        info.cbSize = sizeof(info);
        info.dwMask = TBIF_BYINDEX | TBIF_STATE;
        if (m_ctrl.GetButtonInfo(static_cast<int>(m_nIndex), &info) < 0)
            return;
        const auto nNew = static_cast<BYTE>((info.fsState & ~nMask) | nBits);
        if (nNew == info.fsState)
            return; // unchanged: no repaint
        info.fsState = nNew;
        m_ctrl.SetButtonInfo(static_cast<int>(m_nIndex), &info);
    }

    CToolBar& m_bar;
    CToolBarCtrl& m_ctrl;
};

} // namespace

CToolBar::CToolBar()
{
    m_cxLeftBorder = 4;
    m_cxRightBorder = 4;
    m_cyTopBorder = 2;
    m_cyBottomBorder = 2;
}

BOOL CToolBar::Create(CWnd* pParentWnd, DWORD dwStyle, UINT nID)
{
    m_dwStyle = dwStyle & CBRS_ALL;
    return CWnd::Create(TOOLBARCLASSNAME, nullptr, (dwStyle & ~CBRS_ALL) | BAR_CONTROL_STYLE, RECT {}, pParentWnd, nID);
}

int CToolBar::OnCreate(LPCREATESTRUCT lpCreateStruct)
{
    if (CControlBar::OnCreate(lpCreateStruct) == -1)
        return -1;
    m_ctrl.m_hWnd = m_hWnd;
    // Clicks come to the bar, which passes what its own map leaves to its owner frame.
    DefWindowProc(TB_SETPARENT, reinterpret_cast<WPARAM>(m_hWnd), 0);
    return 0;
}

void CToolBar::OnDestroy()
{
    m_ctrl.m_hWnd = nullptr;
    CControlBar::OnDestroy();
}

/***** Buttons *****/

BOOL CToolBar::LoadToolBar(UINT nIDResource)
{
    LPCTSTR lpszName = MAKEINTRESOURCE(static_cast<WORD>(nIDResource));
    HINSTANCE hInst = AfxFindResourceHandle(lpszName, RT_TOOLBAR);
    HRSRC hToolbar = ::FindResource(reinterpret_cast<HMODULE>(hInst), lpszName, RT_TOOLBAR);
    if (!hToolbar
        || !::FindResource(reinterpret_cast<HMODULE>(AfxFindResourceHandle(lpszName, RT_BITMAP)), lpszName, RT_BITMAP))
        return FALSE;
    const auto* pBytes = static_cast<const BYTE*>(::LockResource(::LoadResource(hInst, hToolbar)));
    ToolbarTemplate toolbar;
    std::string strError;
    if (!pBytes || !ReadToolbarTemplate({ pBytes, ::SizeofResource(hInst, hToolbar) }, toolbar, strError))
        return FALSE;
    std::vector<UINT> commands(toolbar.commands.begin(), toolbar.commands.end());
    const auto nImages = static_cast<int>(std::count_if(commands.begin(), commands.end(), [](UINT n) { return n; }));
    const SIZE sizeImage { toolbar.nImageWidth, toolbar.nImageHeight };
    m_ctrl.SetBitmapSize(sizeImage);
    m_ctrl.SetButtonSize(SIZE { sizeImage.cx + BUTTON_MARGIN, sizeImage.cy + BUTTON_MARGIN });
    if (nImages > 0 && m_ctrl.AddBitmap(nImages, nIDResource) < 0)
        return FALSE;
    return SetButtons(commands.data(), static_cast<int>(commands.size()));
}

BOOL CToolBar::SetButtons(const UINT* lpIDArray, int nIDCount)
{
    while (m_ctrl.GetButtonCount() > 0)
        m_ctrl.DeleteButton(0);
    std::vector<TBBUTTON> buttons;
    int iImage = 0;
    for (int i = 0; i < nIDCount; ++i) {
        TBBUTTON button {};
        const UINT nID = lpIDArray ? lpIDArray[i] : ID_SEPARATOR;
        if (nID == ID_SEPARATOR) {
            button.fsStyle = TBSTYLE_SEP;
        } else {
            button.idCommand = static_cast<int>(nID);
            button.iBitmap = iImage++;
            button.fsState = TBSTATE_ENABLED;
        }
        buttons.push_back(button);
    }
    return buttons.empty() || m_ctrl.AddButtons(static_cast<int>(buttons.size()), buttons.data());
}

int CToolBar::GetCount() const
{
    return m_ctrl.GetButtonCount();
}

int CToolBar::CommandToIndex(UINT nIDFind) const
{
    return m_ctrl.CommandToIndex(nIDFind);
}

UINT CToolBar::GetItemID(int nIndex) const
{
    TBBUTTON button {};
    if (!m_ctrl.GetButton(nIndex, &button))
        return 0;
    return (button.fsStyle & TBSTYLE_SEP) ? ID_SEPARATOR : static_cast<UINT>(button.idCommand);
}

void CToolBar::GetItemRect(int nIndex, LPRECT lpRect) const
{
    if (!m_ctrl.GetItemRect(nIndex, lpRect))
        *lpRect = RECT {};
}

void CToolBar::GetButtonInfo(int nIndex, UINT& nID, UINT& nStyle, int& iImage) const
{
    TBBUTTON button {};
    if (!m_ctrl.GetButton(nIndex, &button)) {
        nID = 0;
        nStyle = 0;
        iImage = 0;
        return;
    }
    nID = static_cast<UINT>(button.idCommand);
    nStyle = MAKELONG(button.fsStyle, button.fsState ^ TBSTATE_ENABLED);
    iImage = button.iBitmap;
}

void CToolBar::SetButtonInfo(int nIndex, UINT nID, UINT nStyle, int iImage)
{
    TBBUTTONINFO info {};
    info.cbSize = sizeof(info);
    info.dwMask = TBIF_BYINDEX | TBIF_COMMAND | TBIF_STYLE | TBIF_STATE | TBIF_IMAGE;
    info.idCommand = static_cast<int>(nID);
    info.fsStyle = static_cast<BYTE>(LOWORD(nStyle));
    info.fsState = static_cast<BYTE>(HIWORD(nStyle) ^ TBSTATE_ENABLED);
    info.iImage = iImage;
    m_ctrl.SetButtonInfo(nIndex, &info);
    // A separator's width may have changed the row.
    if (m_pDockSite && (LOWORD(nStyle) & TBSTYLE_SEP))
        m_pDockSite->RecalcLayout();
}

UINT CToolBar::GetButtonStyle(int nIndex) const
{
    UINT nID = 0;
    UINT nStyle = 0;
    int iImage = 0;
    GetButtonInfo(nIndex, nID, nStyle, iImage);
    return nStyle;
}

void CToolBar::SetButtonStyle(int nIndex, UINT nStyle)
{
    UINT nID = 0;
    UINT nOldStyle = 0;
    int iImage = 0;
    GetButtonInfo(nIndex, nID, nOldStyle, iImage);
    SetButtonInfo(nIndex, nID, nStyle, iImage);
}

void CToolBar::SetButtonTip(UINT nID, LPCTSTR lpszText)
{
    // Menu words: the mnemonic's "&" and the shortcut after a tab are no part of a tip.
    std::string strTip;
    for (LPCTSTR psz = lpszText ? lpszText : ""; *psz && *psz != '\t'; ++psz) {
        if (*psz == '&' && psz[1] != '\0')
            ++psz;
        strTip += *psz;
    }
    if (strTip.empty())
        m_tips.erase(nID);
    else
        m_tips[nID] = strTip.c_str();
}

CString CToolBar::GetToolTipText(UINT nID) const
{
    const auto it = m_tips.find(nID);
    return it != m_tips.end() ? it->second : CControlBar::GetToolTipText(nID);
}

/***** Control bar *****/

CSize CToolBar::RowSize() const
{
    CSize sizeRow;
    const int nCount = GetCount();
    for (int i = 0; i < nCount; ++i) {
        RECT rc {};
        if (m_ctrl.GetItemRect(i, &rc)) {
            sizeRow.cx = std::max<int>(sizeRow.cx, rc.right);
            sizeRow.cy = std::max<int>(sizeRow.cy, rc.bottom);
        }
    }
    return AddInsets(sizeRow);
}

CSize CToolBar::CalcFixedLayout(BOOL bStretch, BOOL bHorz)
{
    // FIXME: a bar docked on a left or right side keeps its buttons in a row.
    CSize size = RowSize();
    if (bStretch) {
        if (bHorz)
            size.cx = 32767;
        else
            size.cy = 32767;
    }
    return size;
}

CSize CToolBar::CalcDynamicLayout(int nLength, DWORD dwMode)
{
    if (dwMode & (LM_HORZDOCK | LM_VERTDOCK))
        return CalcFixedLayout((dwMode & LM_STRETCH) != 0, (dwMode & LM_HORZDOCK) != 0);
    const CSize size = RowSize();
    if ((dwMode & LM_COMMIT) && nLength > 0)
        m_nMRUWidth = nLength;
    return size;
}

void CToolBar::OnUpdateCmdUI(CFrameWnd* pTarget, BOOL bDisableIfNoHndler)
{
    CToolCmdUI state(*this, m_ctrl);
    state.m_nIndexMax = static_cast<UINT>(GetCount());
    for (state.m_nIndex = 0; state.m_nIndex < state.m_nIndexMax; ++state.m_nIndex) {
        state.m_nID = GetItemID(static_cast<int>(state.m_nIndex));
        if (state.m_nID == ID_SEPARATOR)
            continue;
        // The bar's own entries come first, without routing.
        if (CCmdTarget::OnCmdMsg(state.m_nID, static_cast<int>(CN_UPDATE_COMMAND_UI), &state, nullptr))
            continue;
        state.DoUpdate(pTarget, bDisableIfNoHndler);
    }
    UpdateDialogControls(pTarget, bDisableIfNoHndler);
}

INT_PTR CToolBar::OnToolHitTest(CPoint point, TOOLINFO* pTI) const
{
    POINT pt = point;
    const auto nIndex = static_cast<int>(m_ctrl.SendMessage(TB_HITTEST, 0, reinterpret_cast<LPARAM>(&pt)));
    if (nIndex < 0 || nIndex >= GetCount())
        return -1;
    const UINT nID = GetItemID(nIndex);
    if (nID == ID_SEPARATOR)
        return -1;
    if (pTI) {
        GetItemRect(nIndex, &pTI->rect);
        pTI->uId = nID;
    }
    return static_cast<INT_PTR>(nID);
}
