#include "platform/framework/CStatusBar.h"

#include "platform/base/TextFunctions.h"
#include "platform/framework/CFrameWnd.h"
#include "platform/gdi/DeviceContext.h"
#include "platform/gdi/Text.h"
#include "platform/window/SystemMetrics.h"

#include <algorithm>
#include <numeric>

IMPLEMENT_DYNAMIC(CStatusBar, CControlBar)

// clang-format off
BEGIN_MESSAGE_MAP(CStatusBar, CControlBar)
    ON_WM_CREATE()
    ON_WM_DESTROY()
    ON_WM_SIZE()
    ON_MESSAGE(WM_SETTEXT, &CStatusBar::OnSetText)
    ON_MESSAGE(WM_GETTEXT, &CStatusBar::OnGetText)
    ON_MESSAGE(WM_GETTEXTLENGTH, &CStatusBar::OnGetTextLength)
END_MESSAGE_MAP()
// clang-format on

namespace {

constexpr DWORD BAR_CONTROL_STYLE = CCS_NOPARENTALIGN | CCS_NORESIZE;
constexpr int PANE_EXTRA = 8;       // a pane's borders and padding beside its text
constexpr int PANE_GAP = 2;         // between two panes, as the control leaves it
constexpr int BAR_EXTRA_HEIGHT = 6; // the control's borders and padding beside a line of text

// A DC with the bar's font selected, for measuring its text. A memory DC: text
// measures the same on any DC, and a window DC would make the display create
// the frame's surface before the frame has its size.
class CBarFontDC {
public:
    explicit CBarFontDC(HWND hWnd)
        : m_hdc(::CreateCompatibleDC(nullptr))
    {
        if (auto hFont = reinterpret_cast<HGDIOBJ>(::SendMessage(hWnd, WM_GETFONT, 0, 0)))
            ::SelectObject(m_hdc, hFont);
    }
    ~CBarFontDC() { ::DeleteDC(m_hdc); }
    CBarFontDC(const CBarFontDC&) = delete;
    CBarFontDC& operator=(const CBarFontDC&) = delete;

    HDC Get() const { return m_hdc; }

private:
    HDC m_hdc;
};

// A status pane as an update-UI item.
class CStatusCmdUI : public CCmdUI {
public:
    explicit CStatusCmdUI(CStatusBar& bar)
        : m_bar(bar)
    {
    }

    void Enable(BOOL bOn) override
    {
        m_bEnableChanged = TRUE;
        const auto nIndex = static_cast<int>(m_nIndex);
        const UINT nStyle = m_bar.GetPaneStyle(nIndex);
        m_bar.SetPaneStyle(nIndex, bOn ? nStyle & ~SBPS_DISABLED : nStyle | SBPS_DISABLED);
    }
    void SetCheck(int nCheck) override
    {
        const auto nIndex = static_cast<int>(m_nIndex);
        const UINT nStyle = m_bar.GetPaneStyle(nIndex);
        m_bar.SetPaneStyle(nIndex, nCheck ? nStyle | SBPS_POPOUT : nStyle & ~SBPS_POPOUT);
    }
    void SetText(LPCTSTR lpszText) override { m_bar.SetPaneText(static_cast<int>(m_nIndex), lpszText); }

private:
    CStatusBar& m_bar;
};

} // namespace

BOOL CStatusBar::Create(CWnd* pParentWnd, DWORD dwStyle, UINT nID)
{
    m_dwStyle = dwStyle & CBRS_ALL;
    return CWnd::Create(STATUSCLASSNAME, nullptr, (dwStyle & ~CBRS_ALL) | BAR_CONTROL_STYLE, RECT {}, pParentWnd, nID);
}

int CStatusBar::OnCreate(LPCREATESTRUCT lpCreateStruct)
{
    if (CControlBar::OnCreate(lpCreateStruct) == -1)
        return -1;
    m_ctrl.m_hWnd = m_hWnd;
    return 0;
}

void CStatusBar::OnDestroy()
{
    m_ctrl.m_hWnd = nullptr;
    CControlBar::OnDestroy();
}

BOOL CStatusBar::SetIndicators(const UINT* lpIDArray, int nIDCount)
{
    std::vector<CPane> panes(static_cast<size_t>(std::max(nIDCount, 0)));
    BOOL bResult = TRUE;
    bool bStretchGiven = false;
    for (size_t i = 0; i < panes.size(); ++i) {
        CPane& pane = panes[i];
        pane.nID = lpIDArray ? lpIDArray[i] : 0;
        if (pane.nID != 0) {
            if (!pane.strText.LoadString(pane.nID)) {
                bResult = FALSE; // the panes so far stay
                panes.resize(i);
                break;
            }
        } else {
            pane.cxText = ::GetSystemMetrics(SM_CXSCREEN) / 4;
            if (!bStretchGiven) {
                pane.nStyle = SBPS_STRETCH | SBPS_NOBORDERS;
                bStretchGiven = true;
            }
        }
    }
    MeasureTexts(panes);
    m_panes = std::move(panes);
    std::vector<int> edges(std::max<size_t>(m_panes.size(), 1), -1);
    m_ctrl.SetParts(static_cast<int>(edges.size()), edges.data());
    UpdatePaneEdges();
    for (int i = 0; i < GetCount(); ++i)
        UpdatePaneText(i);
    return bResult;
}

/***** Panes *****/

int CStatusBar::CommandToIndex(UINT nIDFind) const
{
    for (int i = 0; i < GetCount(); ++i) {
        if (m_panes[static_cast<size_t>(i)].nID == nIDFind)
            return i;
    }
    return -1;
}

UINT CStatusBar::GetItemID(int nIndex) const
{
    return IsPane(nIndex) ? m_panes[static_cast<size_t>(nIndex)].nID : 0;
}

void CStatusBar::GetItemRect(int nIndex, LPRECT lpRect) const
{
    if (!IsPane(nIndex) || !m_ctrl.GetRect(nIndex, lpRect))
        *lpRect = RECT {};
}

void CStatusBar::GetPaneInfo(int nIndex, UINT& nID, UINT& nStyle, int& cxWidth) const
{
    const CPane pane = IsPane(nIndex) ? m_panes[static_cast<size_t>(nIndex)] : CPane {};
    nID = pane.nID;
    nStyle = pane.nStyle;
    cxWidth = pane.cxText;
}

void CStatusBar::SetPaneInfo(int nIndex, UINT nID, UINT nStyle, int cxWidth)
{
    if (!IsPane(nIndex))
        return;
    CPane& pane = m_panes[static_cast<size_t>(nIndex)];
    const bool bResized = pane.cxText != cxWidth || ((pane.nStyle ^ nStyle) & SBPS_STRETCH);
    pane.nID = nID;
    pane.cxText = std::max(cxWidth, 0);
    pane.nStyle = nStyle;
    if (bResized)
        UpdatePaneEdges();
    UpdatePaneText(nIndex);
}

UINT CStatusBar::GetPaneStyle(int nIndex) const
{
    return IsPane(nIndex) ? m_panes[static_cast<size_t>(nIndex)].nStyle : 0;
}

void CStatusBar::SetPaneStyle(int nIndex, UINT nStyle)
{
    if (!IsPane(nIndex) || m_panes[static_cast<size_t>(nIndex)].nStyle == nStyle)
        return;
    const CPane& pane = m_panes[static_cast<size_t>(nIndex)];
    SetPaneInfo(nIndex, pane.nID, nStyle, pane.cxText);
}

CString CStatusBar::GetPaneText(int nIndex) const
{
    return IsPane(nIndex) ? m_panes[static_cast<size_t>(nIndex)].strText : CString();
}

BOOL CStatusBar::SetPaneText(int nIndex, LPCTSTR lpszNewText, BOOL bUpdate)
{
    if (!IsPane(nIndex))
        return FALSE;
    CPane& pane = m_panes[static_cast<size_t>(nIndex)];
    const CString strNew = lpszNewText ? lpszNewText : "";
    if (pane.strText != strNew) {
        pane.strText = strNew;
        WidenToText(pane);
        UpdatePaneText(nIndex);
    }
    if (bUpdate)
        UpdateWindow();
    return TRUE;
}

void CStatusBar::UpdatePaneEdges()
{
    if (!m_hWnd || m_panes.empty())
        return;
    CRect rcClient;
    GetClientRect(&rcClient);
    std::vector<int> widths;
    int nStretch = -1;
    for (size_t i = 0; i < m_panes.size(); ++i) {
        const CPane& pane = m_panes[i];
        if ((pane.nStyle & SBPS_STRETCH) && nStretch < 0)
            nStretch = static_cast<int>(i);
        widths.push_back(pane.cxText > 0 ? pane.cxText + PANE_EXTRA : 0);
    }
    if (nStretch >= 0) {
        // The stretching pane takes what the others and the gaps between them leave.
        const int nOthers = std::accumulate(widths.begin(), widths.end(), 0) - widths[static_cast<size_t>(nStretch)];
        const auto nShown = std::count_if(widths.begin(), widths.end(), [](int n) { return n > 0; })
            + (widths[static_cast<size_t>(nStretch)] > 0 ? 0 : 1);
        widths[static_cast<size_t>(nStretch)]
            = std::max(0, rcClient.Width() - nOthers - PANE_GAP * std::max<int>(static_cast<int>(nShown) - 1, 0));
    }
    // The control starts a part after the last one with any width, past the gap.
    std::vector<int> edges;
    int nLeft = 0;
    for (int nWidth : widths) {
        edges.push_back(nLeft + nWidth);
        if (nWidth > 0)
            nLeft += nWidth + PANE_GAP;
    }
    m_ctrl.SetParts(static_cast<int>(edges.size()), edges.data());
}

void CStatusBar::UpdatePaneText(int nIndex)
{
    if (!m_hWnd || !IsPane(nIndex))
        return;
    const CPane& pane = m_panes[static_cast<size_t>(nIndex)];
    int nType = 0;
    nType |= (pane.nStyle & SBPS_NOBORDERS) ? static_cast<int>(SBT_NOBORDERS) : 0;
    nType |= (pane.nStyle & SBPS_POPOUT) ? static_cast<int>(SBT_POPOUT) : 0;
    const CString strShown = (pane.nStyle & SBPS_DISABLED) ? CString() : pane.strText;
    int nOldType = 0;
    if (m_ctrl.GetText(nIndex, &nOldType) != strShown || nOldType != nType)
        m_ctrl.SetText(strShown, nIndex, nType);
}

void CStatusBar::WidenToText(CPane& pane)
{
    // A hidden pane (no width) and the stretching one keep their widths.
    if (pane.cxText <= 0 || (pane.nStyle & SBPS_STRETCH) || !m_hWnd)
        return;
    SIZE size {};
    ::GetTextExtentPoint32(CBarFontDC(m_hWnd).Get(), pane.strText, pane.strText.GetLength(), &size);
    if (size.cx <= pane.cxText)
        return;
    pane.cxText = size.cx;
    UpdatePaneEdges();
}

void CStatusBar::MeasureTexts(std::vector<CPane>& panes) const
{
    const CBarFontDC dc(m_hWnd);
    for (CPane& pane : panes) {
        if (pane.nID == 0)
            continue;
        SIZE size {};
        ::GetTextExtentPoint32(dc.Get(), pane.strText, pane.strText.GetLength(), &size);
        pane.cxText = size.cx;
    }
}

/***** Control bar *****/

CSize CStatusBar::CalcFixedLayout(BOOL bStretch, BOOL bHorz)
{
    TEXTMETRIC tm {};
    ::GetTextMetrics(CBarFontDC(m_hWnd).Get(), &tm);
    CSize size = AddInsets(CSize(0, tm.tmHeight + BAR_EXTRA_HEIGHT));
    if (bStretch && bHorz)
        size.cx = 32767;
    return size;
}

void CStatusBar::OnUpdateCmdUI(CFrameWnd* pTarget, BOOL)
{
    CStatusCmdUI state(*this);
    state.m_nIndexMax = static_cast<UINT>(GetCount());
    for (state.m_nIndex = 0; state.m_nIndex < state.m_nIndexMax; ++state.m_nIndex) {
        state.m_nID = GetItemID(static_cast<int>(state.m_nIndex));
        if (state.m_nID == 0)
            continue;
        // The bar's own entries come first, without routing; a pane with no handler stays as it is.
        if (CCmdTarget::OnCmdMsg(state.m_nID, static_cast<int>(CN_UPDATE_COMMAND_UI), &state, nullptr))
            continue;
        state.DoUpdate(pTarget, FALSE);
    }
    UpdateDialogControls(pTarget, FALSE);
}

/***** Handlers *****/

void CStatusBar::OnSize(UINT nType, int cx, int cy)
{
    CControlBar::OnSize(nType, cx, cy);
    UpdatePaneEdges();
}

LRESULT CStatusBar::OnSetText(WPARAM, LPARAM lParam)
{
    const int nIndex = CommandToIndex(0);
    if (nIndex < 0)
        return FALSE;
    return SetPaneText(nIndex, reinterpret_cast<LPCTSTR>(lParam));
}

LRESULT CStatusBar::OnGetText(WPARAM wParam, LPARAM lParam)
{
    auto* pszBuffer = reinterpret_cast<LPTSTR>(lParam);
    if (!pszBuffer || wParam == 0)
        return 0;
    const CString strText = GetPaneText(CommandToIndex(0));
    lstrcpynA(pszBuffer, strText, static_cast<int>(std::min<WPARAM>(wParam, 0x7FFFFFFF)));
    return lstrlenA(pszBuffer);
}

LRESULT CStatusBar::OnGetTextLength(WPARAM, LPARAM)
{
    return GetPaneText(CommandToIndex(0)).GetLength();
}
