#include "ui/CNewDocPopupCtrl.h"

#include "mail/CMapiMail.h"
#include "platform/controls/ListBoxControl.h"
#include "platform/framework/CDC.h"
#include "platform/framework/MessageMap.h"
#include "platform/gdi/FrameControls.h"
#include "resources/ResourceIds.h"
#include "store/ResString.h"

#include <algorithm>

IMPLEMENT_DYNAMIC(CNewDocPopupCtrl, CPopupCtrl)

BEGIN_MESSAGE_MAP(CNewDocPopupCtrl, CPopupCtrl)
    ON_WM_CREATE()
END_MESSAGE_MAP()

BOOL CNewDocPopupCtrl::PreCreateWindow(CREATESTRUCT& cs)
{
    cs.style &= ~static_cast<LONG>(LBS_SORT);
    return CPopupCtrl::PreCreateWindow(cs);
}

int CNewDocPopupCtrl::OnCreate(LPCREATESTRUCT lpCreateStruct)
{
    if (CPopupCtrl::OnCreate(lpCreateStruct) == -1)
        return -1;
    m_nWidest = 0;
    SetFont(&m_look.NormalFont(), FALSE);
    return 0;
}

void CNewDocPopupCtrl::FillItems(const CStringArray& first, const CStringArray& second)
{
    m_names.RemoveAll();
    m_names.Append(first);
    m_names.Append(second);
    m_strMail = GetResString(IDS_SEND_MAIL_ENTRY);
    if (IsMapiAvailable())
        AddItem(m_strMail, ROW_MAIL, FALSE, TRUE);
    for (int i = 0; i < first.GetSize(); ++i)
        AddItem(first[i], static_cast<DWORD>(i + 1), FALSE, TRUE);
    if (first.GetSize() > 0 && second.GetSize() > 0)
        AddItem("", ROW_SEPARATOR, FALSE, TRUE);
    for (int i = 0; i < second.GetSize(); ++i)
        AddItem(second[i], static_cast<DWORD>(first.GetSize() + i + 1), FALSE, TRUE);
}

void* CNewDocPopupCtrl::GetItemResult(int nIndex)
{
    if (nIndex < 0 || nIndex >= GetCount())
        return nullptr;
    const DWORD nValue = GetItemValue(nIndex);
    if (nValue == ROW_MAIL)
        return const_cast<LPTSTR>(static_cast<LPCTSTR>(m_strMail));
    if (nValue == ROW_SEPARATOR || nValue == 0 || nValue > static_cast<DWORD>(m_names.GetSize()))
        return nullptr;
    return const_cast<LPTSTR>(static_cast<LPCTSTR>(m_names[static_cast<int>(nValue - 1)]));
}

void CNewDocPopupCtrl::MeasureItem(LPMEASUREITEMSTRUCT lpMeasureItemStruct)
{
    // The separator is the row without a text (its value is not set yet while it is added).
    CString strText;
    GetText(static_cast<int>(lpMeasureItemStruct->itemID), strText);
    if (strText.IsEmpty()) {
        lpMeasureItemStruct->itemWidth = 0;
        lpMeasureItemStruct->itemHeight = SEPARATOR_HEIGHT;
        return;
    }
    m_look.MeasureListRow(
        *this, lpMeasureItemStruct, ImageSizeOf(GetSystemImageList(1)), CPopupRowLook::ROW_MARGIN, m_nWidest);
}

void CNewDocPopupCtrl::DrawItem(LPDRAWITEMSTRUCT lpDrawItemStruct)
{
    const int nItem = static_cast<int>(lpDrawItemStruct->itemID);
    if (nItem < 0 || nItem >= GetCount())
        return;
    const DWORD nValue = GetItemValue(nItem);
    if (nValue == ROW_SEPARATOR) {
        CDC* pDC = CDC::FromHandle(lpDrawItemStruct->hDC);
        RECT rect = lpDrawItemStruct->rcItem;
        pDC->FillSolidRect(&rect, CPopupRowLook::ROW_COLOUR);
        DrawEdge(lpDrawItemStruct->hDC, &rect, EDGE_ETCHED, BF_TOP);
        return;
    }
    CString strText;
    GetText(nItem, strText);
    CPopupRowLook::CRow row;
    row.pImages = GetSystemImageList(1);
    row.nImage = nValue == ROW_MAIL ? -1 : GetFileIconIndex(strText, FALSE, TRUE);
    row.imageSize = ImageSizeOf(row.pImages);
    m_look.DrawListRow(*this, lpDrawItemStruct, row);
}

CNewDocPopupWnd::CNewDocPopupWnd()
    : CPopupWnd("NewDocPopupWnd")
{
}
