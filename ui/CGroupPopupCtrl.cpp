#include "ui/CGroupPopupCtrl.h"

#include "platform/framework/CDC.h"
#include "platform/framework/MessageMap.h"
#include "platform/gdi/SysColors.h"
#include "platform/gdi/Text.h"
#include "platform/window/SystemMetrics.h"
#include "store/CDocumentRec.h"
#include "ui/DrawDisabledImage.h"
#include "ui/MenuFont.h"
#include "ui/NodePath.h"

#include <algorithm>
#include <cstdlib>

IMPLEMENT_DYNAMIC(CGroupPopupCtrl, CPopupCtrl)

BEGIN_MESSAGE_MAP(CGroupPopupCtrl, CPopupCtrl)
    ON_WM_CREATE()
    ON_WM_DESTROY()
END_MESSAGE_MAP()

CGroupPopupCtrl::CGroupPopupCtrl()
{
    RECT workArea {};
    SystemParametersInfo(SPI_GETWORKAREA, 0, &workArea, 0);
    m_nWidthCap = (workArea.right - workArea.left) / 2;
    CreateMenuFont(m_font, FW_NORMAL);
}

CGroupPopupCtrl::~CGroupPopupCtrl() = default;

void CGroupPopupCtrl::FillGroups(const CDocumentRec* pDocument)
{
    ResetContent();
    m_nWidest = 0;
    m_groups = pDocument ? pDocument->GetLinkedNodes() : CNodeRecArray {};
    for (size_t i = 0; i < m_groups.size() && m_groups[i]; ++i) {
        CString strText;
        strText.Format("%u", static_cast<unsigned>(i));
        AddItem(strText, static_cast<DWORD>(i), FALSE, TRUE);
    }
}

const CNodeRec* CGroupPopupCtrl::GetGroup(int nIndex) const
{
    if (nIndex < 0 || nIndex >= GetCount())
        return nullptr;
    const size_t nPosition = GetItemValue(nIndex);
    return nPosition < m_groups.size() ? m_groups[nPosition].get() : nullptr;
}

void* CGroupPopupCtrl::ChooseHotItem()
{
    return nullptr;
}

int CGroupPopupCtrl::PathWidth(const CNodeRec& node)
{
    CClientDC dc(this);
    CFont* pOldFont = dc.SelectObject(&m_font);
    int nWidth = 0;
    for (const auto& pAncestor : node.GetAncestors())
        nWidth += dc.GetTextExtent(pAncestor->GetName()).cx + NAME_PAD;
    nWidth += dc.GetTextExtent(node.GetName()).cx + NAME_PAD;
    dc.SelectObject(pOldFont);
    return std::min(nWidth, m_nWidthCap);
}

void CGroupPopupCtrl::MeasureItem(LPMEASUREITEMSTRUCT lpMeasureItemStruct)
{
    // The row's value is not set yet while it is being added; its text is
    // the same position.
    CString strText;
    GetText(static_cast<int>(lpMeasureItemStruct->itemID), strText);
    const size_t nPosition = std::strtoul(strText, nullptr, 10);
    int nWidth = ROW_PAD;
    if (nPosition < m_groups.size() && m_groups[nPosition])
        nWidth += PathWidth(*m_groups[nPosition]);
    lpMeasureItemStruct->itemWidth = static_cast<UINT>(nWidth);
    lpMeasureItemStruct->itemHeight = ROW_HEIGHT;
    m_nWidest = std::max(m_nWidest, nWidth);
}

void CGroupPopupCtrl::DrawItem(LPDRAWITEMSTRUCT lpDrawItemStruct)
{
    const int nItem = static_cast<int>(lpDrawItemStruct->itemID);
    if (nItem < 0 || nItem >= GetCount())
        return;
    CDC* pDC = CDC::FromHandle(lpDrawItemStruct->hDC);
    RECT rect = lpDrawItemStruct->rcItem;
    pDC->FillSolidRect(&rect, ROW_COLOUR);
    pDC->FillSolidRect(rect.left, rect.bottom - 1, rect.right - rect.left, 1, LINE_COLOUR);
    const COLORREF crOldText = pDC->SetTextColor(TEXT_COLOUR);
    const int nOldMode = pDC->SetBkMode(TRANSPARENT);
    CFont* pOldFont = pDC->SelectObject(&m_font);
    if (const CNodeRec* pGroup = GetGroup(nItem)) {
        RECT path = rect;
        DrawNodePath(pGroup, pDC->GetSafeHdc(), &path);
    }
    pDC->SelectObject(pOldFont);
    pDC->SetBkMode(nOldMode);
    pDC->SetTextColor(crOldText);
    if (!IsItemEnabled(nItem))
        DrawDisabledImage(pDC, rect, ROW_COLOUR, GetSysColor(COLOR_BTNHIGHLIGHT), GetSysColor(COLOR_BTNSHADOW));
}

int CGroupPopupCtrl::OnCreate(LPCREATESTRUCT lpCreateStruct)
{
    if (CPopupCtrl::OnCreate(lpCreateStruct) == -1)
        return -1;
    m_nWidest = 0;
    m_groups.clear();
    SetFont(&m_font, FALSE);
    return 0;
}

void CGroupPopupCtrl::OnDestroy()
{
    m_groups.clear();
    CPopupCtrl::OnDestroy();
}
