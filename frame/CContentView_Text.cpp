// The preview's text: plain texts, a system's properties, text sizes and
// the highlighting of the find bar's words.

#include "frame/CContentView.h"

#include "resources/ResourceIds.h"
#include "store/CKeywordRec.h"
#include "store/CNodeFolderRec.h"
#include "store/CNodeRec.h"
#include "store/ResString.h"
#include "ui/CZoomWnd.h"

#include "platform/framework/AfxMessageBox.h"
#include "platform/gdi/SysColors.h"
#include "platform/window/Messages.h"

#include <iterator>

namespace {

constexpr int SIZE_COUNT = static_cast<int>(std::size(CContentView::TEXT_SIZES));
constexpr int ZOOM_COUNT = static_cast<int>(std::size(CContentView::ZOOM_PERCENTS));

struct CWordBit {
    WORD wBit;
    UINT nStringID;
};

// clang-format off
constexpr CWordBit FILE_SEARCH_BITS[] = {
    { 0x01, IDS_NODE_PROP_BIT_NAME }, { 0x02, IDS_NODE_PROP_BIT_DESCRIPTION },
    { 0x04, IDS_NODE_PROP_BIT_CONTENT }, { 0x08, IDS_NODE_PROP_BIT_NOTE },
};
constexpr CWordBit MAIL_SEARCH_BITS[] = {
    { 0x10, IDS_NODE_PROP_BIT_SUBJECT }, { 0x20, IDS_NODE_PROP_BIT_SENDER },
    { 0x40, IDS_NODE_PROP_BIT_CONTENT }, { 0x80, IDS_NODE_PROP_BIT_NOTE },
};
// clang-format on

CString NamesOfBits(WORD wWord, std::span<const CWordBit> bits)
{
    CString strNames;
    for (const CWordBit& bit : bits) {
        if (wWord & bit.wBit)
            strNames += CString(GetResString(bit.nStringID)) + "  ";
    }
    return strNames;
}

CString FormatCount(UINT nOneID, UINT nManyID, int nCount)
{
    CString strText;
    strText.Format(GetResString(nCount == 1 ? nOneID : nManyID), nCount);
    return strText;
}

} // namespace

/***************************** Plain texts *****************************/

void CContentView::ShowMessageText(UINT nStringID)
{
    ShowMessageText(GetResString(nStringID));
}

void CContentView::ShowMessageText(LPCTSTR pszText)
{
    m_text.Invalidate();
    m_text.HideSelection(TRUE, FALSE);
    m_nSizeIndex = DEFAULT_SIZE_INDEX;
    m_text.SetSel(0, -1);
    CHARFORMAT format {};
    format.cbSize = sizeof(format);
    format.dwMask = CFM_SIZE | CFM_BOLD | CFM_COLOR;
    format.dwEffects = CFE_AUTOCOLOR;
    format.yHeight = TEXT_SIZES[DEFAULT_SIZE_INDEX];
    m_text.SetSelectionCharFormat(format);
    m_text.ReplaceSel(pszText);
    m_text.SetSel(0, 0);
    m_text.LineScroll(-m_text.GetFirstVisibleLine());
    m_text.HideSelection(FALSE, FALSE);
    m_text.ShowWindow(SW_SHOW);
}

void CContentView::AppendText(LPCTSTR pszText, BOOL bLabel)
{
    const long nEnd = m_text.GetTextLength();
    m_text.SetSel(nEnd, nEnd);
    CHARFORMAT format {};
    format.cbSize = sizeof(format);
    format.dwMask = CFM_SIZE | CFM_BOLD;
    format.dwEffects = bLabel ? CFE_BOLD : 0; // labels bold, values regular
    format.yHeight = TEXT_SIZES[m_nSizeIndex];
    m_text.SetSelectionCharFormat(format);
    m_text.ReplaceSel(pszText);
}

void CContentView::FillRichEdit(const CNodeRec& node)
{
    ShowMessageText(IDS_NODE_PROPERTIES);
    m_text.HideSelection(TRUE, FALSE);
    AppendText(GetResString(IDS_NODE_PROP_GENERAL), TRUE);
    AppendText("\n", FALSE);

    AppendText(GetResString(IDS_NODE_PROP_INFO), TRUE);
    const CString strInfo = node.GetInfoString();
    AppendText(strInfo.IsEmpty() ? CString("\n") : strInfo + "\n\n", FALSE);

    AppendText(GetResString(IDS_NODE_PROP_KEYWORDS), TRUE);
    CString strKeywords;
    for (const auto& pKeyword : node.GetKeywords())
        strKeywords += pKeyword->GetText() + "  ";
    AppendText(strKeywords + "\n", FALSE);

    const WORD wWord = node.GetInfoWord();
    AppendText(GetResString(IDS_NODE_PROP_SEARCH_FILES), TRUE);
    AppendText(NamesOfBits(wWord, FILE_SEARCH_BITS) + "\n", FALSE);
    AppendText(GetResString(IDS_NODE_PROP_SEARCH_MAIL), TRUE);
    AppendText(NamesOfBits(wWord, MAIL_SEARCH_BITS) + "\n", FALSE);

    AppendText(GetResString(IDS_NODE_PROP_FOLDERS), TRUE);
    CString strFolders;
    for (const auto& pFolder : node.GetNodeFolders())
        strFolders += pFolder->GetText() + "  ";
    AppendText(strFolders + "\n", FALSE);

    AppendText(GetResString(IDS_NODE_PROP_CONTENTS), TRUE);
    AppendText(FormatCount(IDS_NODE_PROP_ONE_GROUP, IDS_NODE_PROP_GROUPS, node.CountChildren()), FALSE);
    AppendText(FormatCount(IDS_NODE_PROP_ONE_DOCUMENT, IDS_NODE_PROP_DOCUMENTS, node.CountDocuments()), FALSE);

    m_text.SetSel(0, 0);
    m_text.LineScroll(-m_text.GetFirstVisibleLine());
    m_text.HideSelection(FALSE, FALSE);
    m_bTextLoaded = TRUE;
}

/***************************** Sizes *****************************/

void CContentView::SetTextSize(int nIndex)
{
    m_nSizeIndex = nIndex;
    long nStart = 0;
    long nEnd = 0;
    m_text.GetSel(nStart, nEnd);
    m_text.HideSelection(TRUE, FALSE);
    m_text.SetSel(0, -1);
    CHARFORMAT format {};
    format.cbSize = sizeof(format);
    format.dwMask = CFM_SIZE;
    format.yHeight = TEXT_SIZES[nIndex];
    m_text.SetSelectionCharFormat(format);
    m_text.SetSel(nStart, nEnd);
    m_text.HideSelection(FALSE, FALSE);
}

void CContentView::OnLarger()
{
    if (m_zoom.pWnd) {
        // A percent outside the table goes to the next entry above it.
        int nIndex = m_nSizeIndex + 1;
        if (m_nSizeIndex < 0 || m_nSizeIndex >= ZOOM_COUNT) {
            nIndex = 0;
            while (nIndex < ZOOM_COUNT - 1 && ZOOM_PERCENTS[nIndex] <= GetZoomPercent())
                ++nIndex;
        }
        m_nSizeIndex = std::min(nIndex, ZOOM_COUNT - 1);
        SetZoomPercent(ZOOM_PERCENTS[m_nSizeIndex]);
        EnableFindBar(ID_PREVIEW_LARGER, ID_PREVIEW_LARGER, m_nSizeIndex < ZOOM_COUNT - 1);
        EnableFindBar(ID_PREVIEW_SMALLER, ID_PREVIEW_SMALLER, TRUE);
        return;
    }
    if (!m_bTextLoaded)
        return;
    SetTextSize(std::min(m_nSizeIndex + 1, SIZE_COUNT - 1));
    EnableFindBar(ID_PREVIEW_LARGER, ID_PREVIEW_LARGER, m_nSizeIndex < SIZE_COUNT - 1);
    EnableFindBar(ID_PREVIEW_SMALLER, ID_PREVIEW_SMALLER, TRUE);
}

void CContentView::OnSmaller()
{
    if (m_zoom.pWnd) {
        // A percent outside the table goes to the last entry below it.
        int nIndex = m_nSizeIndex - 1;
        if (m_nSizeIndex < 0 || m_nSizeIndex >= ZOOM_COUNT) {
            nIndex = ZOOM_COUNT - 1;
            while (nIndex > 0 && ZOOM_PERCENTS[nIndex] >= GetZoomPercent())
                --nIndex;
        }
        m_nSizeIndex = std::max(nIndex, 0);
        SetZoomPercent(ZOOM_PERCENTS[m_nSizeIndex]);
        EnableFindBar(ID_PREVIEW_SMALLER, ID_PREVIEW_SMALLER, m_nSizeIndex > 0);
        EnableFindBar(ID_PREVIEW_LARGER, ID_PREVIEW_LARGER, TRUE);
        return;
    }
    if (!m_bTextLoaded)
        return;
    SetTextSize(std::max(m_nSizeIndex - 1, 0));
    EnableFindBar(ID_PREVIEW_SMALLER, ID_PREVIEW_SMALLER, m_nSizeIndex > 0);
    EnableFindBar(ID_PREVIEW_LARGER, ID_PREVIEW_LARGER, TRUE);
}

/***************************** Find *****************************/

void CContentView::OnFind()
{
    if (m_findBar.GetSearchText().IsEmpty())
        return;
    if (!HighlightWords(TRUE))
        AfxMessageBox(IDS_PREVIEW_NO_MATCH, MB_ICONEXCLAMATION);
}

BOOL CContentView::HighlightWords(BOOL bSelectFirst)
{
    const CString strWords = m_findBar.GetSearchText();
    if (strWords.IsEmpty() || !m_bTextLoaded)
        return FALSE;
    long nStart = 0;
    long nEnd = 0;
    m_text.GetSel(nStart, nEnd);
    m_text.HideSelection(TRUE, FALSE);
    m_text.SetSel(0, -1);
    CHARFORMAT format {};
    format.cbSize = sizeof(format);
    format.dwMask = CFM_COLOR;
    format.crTextColor = GetSysColor(COLOR_WINDOWTEXT);
    m_text.SetSelectionCharFormat(format);
    format.crTextColor = MATCH_COLOUR;
    const long nLength = m_text.GetTextLength();
    CHARRANGE first { -1, -1 };
    FINDTEXTEX find {};
    find.lpstrText = strWords;
    find.chrg = { 0, -1 };
    while (find.chrg.cpMin <= nLength && m_text.FindText(FR_DOWN, &find) >= 0) {
        if (first.cpMin < 0)
            first = find.chrgText;
        m_text.SetSel(find.chrgText);
        m_text.SetSelectionCharFormat(format);
        // Always past the match, also for an empty or overlapping one.
        find.chrg.cpMin = std::max(find.chrgText.cpMax, find.chrgText.cpMin + 1);
    }
    if (bSelectFirst && first.cpMin >= 0)
        m_text.SetSel(first);
    else
        m_text.SetSel(nStart, nEnd);
    m_text.HideSelection(FALSE, FALSE);
    return first.cpMin >= 0;
}

/***************************** Selection *****************************/

void CContentView::OnSelectAll()
{
    m_text.SetSel(0, -1);
}

void CContentView::OnCopy()
{
    m_text.SendMessage(WM_COPY);
}
