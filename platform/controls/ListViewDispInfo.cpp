#include "platform/controls/ListViewInternal.h"

#include "platform/window/MessageQueue.h"

#include <algorithm>
#include <cstring>
#include <string_view>

namespace {

// The stored text of a cell; nullptr when none was set.
const std::string* StoredText(const CListViewRow& row, int iSubItem)
{
    if (!row.pTexts || iSubItem < 0)
        return nullptr;
    if (iSubItem == 0)
        return &row.pTexts->strLabel;
    const auto nIndex = static_cast<size_t>(iSubItem) - 1;
    return nIndex < row.pTexts->subItems.size() ? &row.pTexts->subItems[nIndex].strText : nullptr;
}

// A sub-item whose text was never set follows the label: a row inserted with
// a callback text asks for all its texts.
bool IsCallbackCell(const CListViewRow& row, int iSubItem)
{
    if (iSubItem > 0 && row.pTexts && static_cast<size_t>(iSubItem) <= row.pTexts->subItems.size())
        return row.pTexts->subItems[static_cast<size_t>(iSubItem) - 1].bCallback;
    return row.bCallbackLabel;
}

// Copies text into a buffer of cchMax bytes, cut before a partial UTF-8
// character, always ended with a NUL. Returns the bytes copied.
int CopyText(std::string_view text, LPSTR pszBuffer, int cchMax)
{
    if (!pszBuffer || cchMax <= 0)
        return 0;
    size_t nCopy = std::min(text.size(), static_cast<size_t>(cchMax - 1));
    if (nCopy < text.size()) {
        while (nCopy > 0 && (static_cast<unsigned char>(text[nCopy]) & 0xC0) == 0x80)
            --nCopy;
    }
    std::copy_n(text.data(), nCopy, pszBuffer);
    pszBuffer[nCopy] = '\0';
    return static_cast<int>(nCopy);
}

// Asks the parent for what `nMask` (LVIF_TEXT, LVIF_IMAGE) names of a row.
// The text lands in the caller's buffer even when the handler points
// pszText at one of its own. FALSE when the row went away meanwhile.
bool AskDispInfo(HWND hWnd, int nRow, int iSubItem, UINT nMask, LPSTR pszBuffer, int cchMax, int* piImage)
{
    CListViewState* pState = ListViewState(hWnd);
    const CListViewRow& row = pState->rows[static_cast<size_t>(nRow)];
    const unsigned nSerial = row.nSerial;
    NMLVDISPINFO di {};
    di.item.mask = nMask;
    di.item.iItem = nRow;
    di.item.iSubItem = iSubItem;
    di.item.state = row.nState;
    di.item.lParam = row.lParam;
    di.item.pszText = pszBuffer;
    di.item.cchTextMax = cchMax;
    // Only a text asked for starts empty: a stored text already in the buffer stays.
    if ((nMask & LVIF_TEXT) && pszBuffer && cchMax > 0)
        pszBuffer[0] = '\0';
    SendNotify(hWnd, LVN_GETDISPINFO, &di.hdr);
    pState = ListViewSurvivor(hWnd);
    if (!pState)
        return false;
    if ((nMask & LVIF_TEXT) && di.item.pszText != pszBuffer)
        CopyText(di.item.pszText && di.item.pszText != LPSTR_TEXTCALLBACK ? di.item.pszText : "", pszBuffer, cchMax);
    if (piImage && (nMask & LVIF_IMAGE))
        *piImage = di.item.iImage;
    const int nNow = RowOfSerial(*pState, nSerial, nRow);
    if (nNow < 0)
        return false;
    if (di.item.mask & LVIF_DI_SETITEM) {
        CListViewRow& stored = pState->rows[static_cast<size_t>(nNow)];
        if ((nMask & LVIF_TEXT) && pszBuffer)
            SetCellText(stored, iSubItem, pszBuffer);
        if ((nMask & LVIF_IMAGE) && iSubItem == 0)
            stored.iImage = di.item.iImage;
    }
    return true;
}

} // namespace

void SetCellText(CListViewRow& row, int iSubItem, LPCSTR pszText)
{
    if (iSubItem < 0)
        return;
    const bool bCallback = pszText == LPSTR_TEXTCALLBACK;
    const std::string_view text = bCallback || !pszText ? std::string_view() : std::string_view(pszText);
    if (iSubItem == 0) {
        row.bCallbackLabel = bCallback;
        if (!text.empty() && !row.pTexts)
            row.pTexts = std::make_unique<CListViewTexts>();
        if (row.pTexts)
            row.pTexts->strLabel = text;
        return;
    }
    if (!row.pTexts)
        row.pTexts = std::make_unique<CListViewTexts>();
    std::vector<CListViewCell>& subItems = row.pTexts->subItems;
    subItems.resize(std::max(subItems.size(), static_cast<size_t>(iSubItem)));
    CListViewCell& cell = subItems[static_cast<size_t>(iSubItem) - 1];
    cell.bCallback = bCallback;
    cell.strText = text;
}

BOOL GetRowItem(HWND hWnd, LVITEM* pItem)
{
    CListViewState* pState = ListViewState(hWnd);
    if (!pItem || !IsRow(*pState, pItem->iItem) || pItem->iSubItem < 0)
        return FALSE;
    const int nRow = pItem->iItem;
    UINT nAsk = 0;
    {
        const CListViewRow& row = pState->rows[static_cast<size_t>(nRow)];
        if (pItem->mask & LVIF_TEXT) {
            const std::string* pText = StoredText(row, pItem->iSubItem);
            if (IsCallbackCell(row, pItem->iSubItem))
                nAsk |= LVIF_TEXT;
            else
                CopyText(pText ? std::string_view(*pText) : std::string_view(), pItem->pszText, pItem->cchTextMax);
        }
        if (pItem->mask & LVIF_IMAGE) {
            if (row.iImage == I_IMAGECALLBACK && pItem->iSubItem == 0)
                nAsk |= LVIF_IMAGE;
            else
                pItem->iImage = pItem->iSubItem == 0 ? row.iImage : 0;
        }
        if (pItem->mask & LVIF_PARAM)
            pItem->lParam = row.lParam;
        if (pItem->mask & LVIF_STATE)
            pItem->state = row.nState & pItem->stateMask;
    }
    if (nAsk && !AskDispInfo(hWnd, nRow, pItem->iSubItem, nAsk, pItem->pszText, pItem->cchTextMax, &pItem->iImage))
        return FALSE;
    return TRUE;
}

std::string RowText(HWND hWnd, int nRow, int iSubItem)
{
    char szBuffer[LISTVIEW_CALLBACK_TEXT];
    LVITEM item {};
    item.mask = LVIF_TEXT;
    item.iItem = nRow;
    item.iSubItem = iSubItem;
    item.pszText = szBuffer;
    item.cchTextMax = LISTVIEW_CALLBACK_TEXT;
    return GetRowItem(hWnd, &item) ? std::string(szBuffer) : std::string();
}

bool RowLabel(HWND hWnd, int nRow, std::string* pText, int* piImage)
{
    char szBuffer[LISTVIEW_CALLBACK_TEXT];
    LVITEM item {};
    item.mask = LVIF_TEXT | LVIF_IMAGE;
    item.iItem = nRow;
    item.pszText = szBuffer;
    item.cchTextMax = LISTVIEW_CALLBACK_TEXT;
    if (!GetRowItem(hWnd, &item))
        return false;
    *pText = szBuffer;
    *piImage = item.iImage;
    return true;
}
