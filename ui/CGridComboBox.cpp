#include "ui/CGridComboBox.h"

#include "platform/base/TextFunctions.h"
#include "platform/framework/CDC.h"
#include "platform/framework/MessageMap.h"
#include "platform/window/SystemMetrics.h"
#include "ui/GridEditEnd.h"

#include <algorithm>
#include <string_view>

IMPLEMENT_DYNAMIC(CGridComboBox, CComboBox)

// clang-format off
BEGIN_MESSAGE_MAP(CGridComboBox, CComboBox)
    ON_WM_CREATE()
    ON_WM_CHAR()
    ON_WM_KILLFOCUS()
END_MESSAGE_MAP()
// clang-format on

namespace {

// The first nChars characters of strText.
CString FirstCharacters(const CString& strText, int nChars)
{
    const std::string_view text(strText, static_cast<std::size_t>(strText.GetLength()));
    std::size_t nPos = 0;
    for (int i = 0; i < nChars && nPos < text.size(); ++i)
        nPos += Utf8CharLength(text, nPos);
    return nPos < text.size() ? CString(text.data(), static_cast<int>(nPos)) : strText;
}

} // namespace

CGridComboBox::CGridComboBox(int nItem, int nColumn, LPCTSTR pszInitial, const CStringArray& choices)
    : m_nItem(nItem)
    , m_nColumn(nColumn)
    , m_strInitial(pszInitial ? pszInitial : "")
{
    m_choices.Copy(choices);
}

int CGridComboBox::OnCreate(LPCREATESTRUCT lpCreateStruct)
{
    if (CComboBox::OnCreate(lpCreateStruct) == -1)
        return -1;
    int nSelection = 0;
    bool bMatched = false;
    for (int i = static_cast<int>(m_choices.GetSize()) - 1; i >= 0; --i) {
        const CString strChoice = FirstCharacters(m_choices[i], CHOICE_LIMIT);
        const int nIndex = AddString(strChoice);
        if (nIndex >= 0 && strChoice.CompareNoCase(m_strInitial) == 0) {
            nSelection = nIndex;
            bMatched = true;
        }
    }
    SetCurSel(bMatched ? nSelection : 0);
    CWnd* pList = GetParent();
    if (pList)
        SetFont(pList->GetFont(), TRUE);
    FitDropWidth();
    SetFocus();
    return 0;
}

void CGridComboBox::EndEdit()
{
    if (CWnd* pList = GetParent())
        pList->SetFocus();
}

void CGridComboBox::FitDropWidth()
{
    CWnd* pList = GetParent();
    if (!pList)
        return;
    int nWidest = 0;
    int nBlank = 0;
    {
        CClientDC dc(this);
        CFont* pOldFont = dc.SelectObject(pList->GetFont());
        for (int i = 0; i < GetCount(); ++i) {
            CString strChoice;
            GetLBText(i, strChoice);
            nWidest = std::max(nWidest, static_cast<int>(dc.GetTextExtent(strChoice).cx));
        }
        nBlank = dc.GetTextExtent(" ").cx;
        dc.SelectObject(pOldFont);
    }
    const int nNeeded = nWidest + GetSystemMetrics(SM_CXVSCROLL) + 2 * nBlank;
    RECT rect {};
    GetWindowRect(&rect);
    pList->ScreenToClient(&rect);
    if (nNeeded > rect.right - rect.left) {
        RECT list {};
        pList->GetClientRect(&list);
        rect.right = std::max(rect.right, std::min(rect.left + nNeeded, list.right - LIST_MARGIN));
        SetWindowPos(nullptr, rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top,
            SWP_NOZORDER | SWP_NOACTIVATE);
    }
    SetDroppedWidth(static_cast<UINT>(rect.right - rect.left));
}

BOOL CGridComboBox::PreTranslateMessage(MSG* pMsg)
{
    if (pMsg->message == WM_KEYDOWN) {
        const bool bControl = (GetKeyState(VK_CONTROL) & 0x8000) != 0;
        if (pMsg->wParam == VK_RETURN || pMsg->wParam == VK_DELETE || pMsg->wParam == VK_ESCAPE || bControl) {
            TranslateMessage(pMsg);
            return TRUE;
        }
        if (pMsg->wParam == VK_UP || pMsg->wParam == VK_DOWN) {
            TranslateMessage(pMsg);
            DispatchMessage(pMsg);
            return TRUE;
        }
    }
    return CComboBox::PreTranslateMessage(pMsg);
}

void CGridComboBox::OnChar(UINT nChar, UINT nRepCnt, UINT nFlags)
{
    if (nChar == VK_RETURN || nChar == VK_ESCAPE) {
        if (nChar == VK_ESCAPE)
            m_bCancelled = TRUE;
        EndEdit();
        return;
    }
    CComboBox::OnChar(nChar, nRepCnt, nFlags);
}

void CGridComboBox::OnKillFocus(CWnd* pNewWnd)
{
    CComboBox::OnKillFocus(pNewWnd);
    CString strText;
    NMLVDISPINFO info {};
    info.item.mask = LVIF_TEXT;
    if (!m_bCancelled) {
        GetWindowText(strText);
        info.item.pszText = strText.GetBuffer(0);
        info.item.cchTextMax = strText.GetLength();
    }
    SendGridEditEnd(this, m_nItem, m_nColumn, info);
}
