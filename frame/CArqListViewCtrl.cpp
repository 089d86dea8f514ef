#include "frame/CArqListViewCtrl.h"

#include "frame/AppGlobals.h"
#include "resources/ResourceIds.h"
#include "store/CRegistryKey.h"
#include "store/CatalogColumns.h"

#include "platform/base/Registry.h"
#include "platform/controls/HeaderControl.h"
#include "platform/controls/ListViewControl.h"
#include "platform/framework/CCmdUI.h"
#include "platform/framework/CRect.h"

#include <algorithm>
#include <array>

// clang-format off
BEGIN_MESSAGE_MAP(CArqListViewCtrl, CArqListCtrl)
    ON_NOTIFY(HDN_ENDTRACK, 0, &CArqListViewCtrl::OnHeaderEndTrack)
    ON_NOTIFY(HDN_BEGINTRACK, 0, &CArqListViewCtrl::OnViewHeaderBeginTrack)
    ON_NOTIFY(HDN_DIVIDERDBLCLICK, 0, &CArqListViewCtrl::OnViewHeaderDividerDblClk)
    ON_NOTIFY(HDN_ENDDRAG, 0, &CArqListViewCtrl::OnViewHeaderEndDrag)
    ON_COMMAND(ID_VIEW_LARGE_ICONS, &CArqListViewCtrl::OnViewLargeIcons)
    ON_COMMAND(ID_VIEW_DETAILS, &CArqListViewCtrl::OnViewDetails)
    ON_COMMAND(ID_VIEW_LIST, &CArqListViewCtrl::OnViewList)
    ON_UPDATE_COMMAND_UI(ID_VIEW_LARGE_ICONS, &CArqListViewCtrl::OnUpdateViewStyle)
    ON_UPDATE_COMMAND_UI(ID_VIEW_DETAILS, &CArqListViewCtrl::OnUpdateViewStyle)
    ON_UPDATE_COMMAND_UI(ID_VIEW_LIST, &CArqListViewCtrl::OnUpdateViewStyle)
END_MESSAGE_MAP()
// clang-format on

namespace {

constexpr char PREFERENCES_KEY[] = "Preferences";
constexpr int FILL_REST = -1; // a list width: the column fills the rest

// The columns in index order: title ID, grid type, format, default widths in
// characters (details, list) and whether the grid shades the column.
struct DefaultColumn {
    LONG nId;
    int nType;
    int nFormat;
    int nDetailChars;
    int nListChars;
    BOOL bShaded;
};
// clang-format off
constexpr std::array<DefaultColumn, CArqListViewCtrl::COLUMN_COUNT> DEFAULT_COLUMNS = { {
    { COLUMN_NAME,          GRID_COLUMN_TEXT,     LVCFMT_LEFT,   15, 15,        TRUE },
    { COLUMN_EXPIRY_STATE,  GRID_COLUMN_IMAGE,    LVCFMT_CENTER,  3,  3,        TRUE },
    { COLUMN_DESCRIPTION,   GRID_COLUMN_TEXT,     LVCFMT_LEFT,   32, FILL_REST, FALSE },
    { COLUMN_LABEL,         GRID_COLUMN_TEXT,     LVCFMT_LEFT,   24,  0,        FALSE },
    { COLUMN_ALT_NAME,      GRID_COLUMN_PER_CELL, LVCFMT_LEFT,   15,  0,        FALSE },
    { COLUMN_DATE,          GRID_COLUMN_DATE,     LVCFMT_LEFT,   10,  0,        FALSE },
    { COLUMN_SIZE,          GRID_COLUMN_TEXT,     LVCFMT_RIGHT,   8,  0,        FALSE },
    { COLUMN_MODIFIED,      GRID_COLUMN_TEXT,     LVCFMT_LEFT,   10,  0,        FALSE },
    { COLUMN_TYPE,          GRID_COLUMN_TEXT,     LVCFMT_LEFT,   20,  0,        FALSE },
    { COLUMN_CREATED,       GRID_COLUMN_TEXT,     LVCFMT_LEFT,   12,  0,        FALSE },
    { COLUMN_ACCESSED,      GRID_COLUMN_TEXT,     LVCFMT_LEFT,   12,  0,        FALSE },
} };
// clang-format on

int DefaultIndexOf(LONG nColumnId)
{
    for (size_t i = 0; i < DEFAULT_COLUMNS.size(); ++i) {
        if (DEFAULT_COLUMNS[i].nId == nColumnId)
            return static_cast<int>(i);
    }
    return -1;
}

BOOL ReadDword(CRegistryKey& key, LPCTSTR pszName, BOOL& bValue)
{
    DWORD dwValue = 0;
    if (!key.GetDWORD(pszName, dwValue))
        return FALSE;
    bValue = dwValue ? TRUE : FALSE;
    return TRUE;
}

} // namespace

BOOL CArqListViewCtrl::Initialize()
{
    if (!CArqListCtrl::Initialize())
        return FALSE;
    const DWORD dwStyle = GetStyle() & LVS_TYPEMASK;
    m_nViewStyle = dwStyle == LVS_REPORT ? STYLE_DETAILS : static_cast<int>(dwStyle);
    return TRUE;
}

int CArqListViewCtrl::CharWidth()
{
    return std::max(GetStringWidth("a"), 1);
}

void CArqListViewCtrl::ResetColumnLayout()
{
    const int cxChar = CharWidth();
    m_layout.clear();
    for (size_t i = 0; i < DEFAULT_COLUMNS.size(); ++i) {
        const DefaultColumn& column = DEFAULT_COLUMNS[i];
        const LONG nList = column.nListChars < 0 ? FILL_REST : column.nListChars * cxChar;
        m_layout.push_back({ nList, column.nDetailChars * cxChar, static_cast<LONG>(i) });
    }
    // The state column shows first, the name second.
    std::swap(m_layout[0].nOrder, m_layout[1].nOrder);
}

/******************************************************************************
 * Styles and columns
 ******************************************************************************/

void CArqListViewCtrl::SetViewStyle(int nStyle)
{
    m_nViewStyle = nStyle;
    EndEdit();
    SetRedraw(FALSE);
    const DWORD dwMode = nStyle == STYLE_LIST ? LVS_REPORT : static_cast<DWORD>(nStyle);
    if ((GetStyle() & LVS_TYPEMASK) != dwMode) {
        if (AreStateImagesOn())
            SetImageList(dwMode == LVS_REPORT ? nullptr : &GetStateImageList(), LVSIL_STATE);
        SetViewMode(dwMode);
    }
    CHeaderCtrl& header = GetGridHeader();
    const int nColumns = std::min(static_cast<int>(m_layout.size()), header.GetSafeHwnd() ? header.GetItemCount() : 0);
    if (nStyle == STYLE_DETAILS) {
        SetShowExtension(m_bDetailExtension);
        for (int nColumn = nColumns - 1; nColumn >= 0; --nColumn) {
            HDITEM item {};
            item.mask = HDI_WIDTH | HDI_ORDER;
            item.cxy = std::max<LONG>(m_layout[static_cast<size_t>(nColumn)].nDetailWidth, 0);
            item.iOrder = m_layout[static_cast<size_t>(nColumn)].nOrder;
            header.SetItem(nColumn, &item);
        }
    } else if (nStyle == STYLE_LIST) {
        SetShowExtension(m_bListExtension);
        for (int nColumn = 0; nColumn < nColumns; ++nColumn) {
            CColumnLayout& layout = m_layout[static_cast<size_t>(nColumn)];
            if (GetColumnId(nColumn) == COLUMN_DESCRIPTION && layout.nListWidth < 0) {
                CRect rcClient;
                GetClientRect(&rcClient);
                const int nName = FindColumn(COLUMN_NAME);
                const int nState = FindColumn(COLUMN_EXPIRY_STATE);
                layout.nListWidth = std::max(0,
                    rcClient.Width() - (nName >= 0 ? GetColumnWidth(nName) : 0)
                        - (nState >= 0 ? GetColumnWidth(nState) : 0));
            }
            HDITEM item {};
            item.mask = HDI_WIDTH | HDI_ORDER;
            item.cxy = std::max<LONG>(layout.nListWidth, 0);
            item.iOrder = layout.nOrder;
            header.SetItem(nColumn, &item);
        }
    }
    Invalidate();
    SetRedraw(TRUE);
}

void CArqListViewCtrl::SetColumnVisible(LONG nColumnId, BOOL bShow)
{
    const int nColumn = FindColumn(nColumnId);
    if (nColumn < 0 || static_cast<size_t>(nColumn) >= m_layout.size())
        return;
    CColumnLayout& layout = m_layout[static_cast<size_t>(nColumn)];
    // A hidden column keeps its width negated, so that it comes back with it.
    if (bShow && layout.nDetailWidth <= 0) {
        layout.nDetailWidth = -layout.nDetailWidth;
        if (layout.nDetailWidth == 0) {
            const int nDefault = DefaultIndexOf(nColumnId);
            layout.nDetailWidth
                = nDefault >= 0 ? DEFAULT_COLUMNS[static_cast<size_t>(nDefault)].nDetailChars * CharWidth() : 0;
        }
    } else if (!bShow && layout.nDetailWidth > 0) {
        layout.nDetailWidth = -layout.nDetailWidth;
    }
    if (m_nViewStyle == STYLE_DETAILS)
        SetColumnWidth(nColumn, std::max<LONG>(layout.nDetailWidth, 0));
}

BOOL CArqListViewCtrl::IsColumnVisible(LONG nColumnId) const
{
    const int nColumn = FindColumn(nColumnId);
    if (nColumn < 0 || static_cast<size_t>(nColumn) >= m_layout.size())
        return FALSE;
    switch (m_nViewStyle) {
    case STYLE_ICONS:
        return nColumnId == COLUMN_NAME;
    case STYLE_DETAILS:
        return m_layout[static_cast<size_t>(nColumn)].nDetailWidth > 0;
    case STYLE_LIST:
        return m_layout[static_cast<size_t>(nColumn)].nListWidth > 0;
    default:
        return FALSE;
    }
}

/******************************************************************************
 * The preferences' choices
 ******************************************************************************/

void CArqListViewCtrl::GetVisibleColumns(CListColumnChoices* pChoices, BOOL* pbListExtension) const
{
    auto shown = [this](LONG nColumnId) -> BOOL {
        const int nColumn = FindColumn(nColumnId);
        return nColumn >= 0 && static_cast<size_t>(nColumn) < m_layout.size()
            && m_layout[static_cast<size_t>(nColumn)].nDetailWidth > 0;
    };
    *pChoices = { shown(COLUMN_ACCESSED), shown(COLUMN_CREATED), shown(COLUMN_DESCRIPTION), shown(COLUMN_DATE),
        m_bDetailExtension, shown(COLUMN_LABEL), shown(COLUMN_ALT_NAME), shown(COLUMN_MODIFIED), shown(COLUMN_SIZE),
        shown(COLUMN_TYPE), shown(COLUMN_NAME), GetSizeInKB(), !GetSizeInKB() };
    *pbListExtension = m_bListExtension;
}

void CArqListViewCtrl::ApplyColumnChoices(const CListColumnChoices& choices, BOOL bListExtension)
{
    SetRedraw(FALSE);
    const std::pair<LONG, BOOL> columns[] = {
        { COLUMN_ACCESSED, choices.bAccessed },
        { COLUMN_NAME, choices.bName },
        { COLUMN_CREATED, choices.bCreated },
        { COLUMN_DESCRIPTION, choices.bDescription },
        { COLUMN_DATE, choices.bDate },
        { COLUMN_LABEL, choices.bLabel },
        { COLUMN_ALT_NAME, choices.bAltName },
        { COLUMN_MODIFIED, choices.bModified },
        { COLUMN_SIZE, choices.bSize },
        { COLUMN_TYPE, choices.bType },
    };
    for (const auto& [nColumnId, bShow] : columns)
        SetColumnVisible(nColumnId, bShow);
    m_bDetailExtension = choices.bDetailExtension;
    if (m_nViewStyle == STYLE_DETAILS)
        SetShowExtension(m_bDetailExtension);
    SetSizeInKB(choices.bSizeInKB);
    m_bListExtension = bListExtension;
    if (m_nViewStyle == STYLE_LIST)
        SetShowExtension(m_bListExtension);
    (void)SaveDefaultColumns(); // a registry that refuses keeps the choices for this run
    Invalidate();
    SetRedraw(TRUE);
}

/******************************************************************************
 * The registry
 ******************************************************************************/

void CArqListViewCtrl::LoadDefaultColumns()
{
    BOOL bRead = FALSE;
    CRegistryKey key;
    if (key.Open(g_regKeyDefault, PREFERENCES_KEY, KEY_READ)) {
        bRead = ReadColumnLayout(key, &m_layout);
        ReadDword(key, "DetailFileExtension", m_bDetailExtension);
        ReadDword(key, "ListFileExtension", m_bListExtension);
        BOOL bSizeInKB = GetSizeInKB();
        ReadDword(key, "KBytes", bSizeInKB);
        SetSizeInKB(bSizeInKB);
    } else {
        CRegistryKey created;
        (void)created.Create(g_regKeyDefault, PREFERENCES_KEY); // the defaults below are written into it
    }
    SetShowExtension(m_nViewStyle == STYLE_LIST ? m_bListExtension : m_bDetailExtension);
    if (!bRead) {
        ResetColumnLayout();
        (void)SaveDefaultColumns(); // a registry that refuses leaves the defaults for this run
    }
    for (size_t i = 0; i < DEFAULT_COLUMNS.size(); ++i) {
        const DefaultColumn& column = DEFAULT_COLUMNS[i];
        InsertColumn(static_cast<int>(i), std::max<LONG>(m_layout[i].nDetailWidth, 0), static_cast<UINT>(column.nId),
            column.bShaded, column.nType, column.nFormat);
    }
    std::array<int, COLUMN_COUNT> order {};
    for (size_t i = 0; i < m_layout.size(); ++i)
        order[static_cast<size_t>(m_layout[i].nOrder)] = static_cast<int>(i);
    GetGridHeader().SetOrderArray(COLUMN_COUNT, order.data());
    SetHeaderStatePicture(FindColumn(COLUMN_EXPIRY_STATE));
}

BOOL CArqListViewCtrl::SaveDefaultColumns()
{
    CRegistryKey key;
    if (!key.Create(g_regKeyDefault, PREFERENCES_KEY))
        return FALSE;
    return WriteColumnLayout(key, m_layout) && key.SetDWORD("DetailFileExtension", m_bDetailExtension)
        && key.SetDWORD("ListFileExtension", m_bListExtension) && key.SetDWORD("KBytes", GetSizeInKB());
}

void CArqListViewCtrl::LoadSettings(HKEY hParent, LPCTSTR pszPath)
{
    CRegistryKey frameKey;
    CRegistryKey key;
    if (!frameKey.Open(hParent, pszPath, KEY_READ) || !key.Open(frameKey, SETTINGS_KEY, KEY_READ))
        return;
    const CListViewKept kept = ReadListViewKept(key);
    (void)ReadColumnLayout(key, &m_layout); // a damaged layout keeps the program-wide one
    ReadDword(key, "DetailFileExtension", m_bDetailExtension);
    ReadDword(key, "ListFileExtension", m_bListExtension);
    GetGridHeader().SetSortImage(kept.nSortColumn, kept.bAscending);
    SetViewStyle(kept.nViewStyle);
    CListFilter filter;
    if (LoadListFilter(key, &filter))
        CopyListFilter(&GetListFilter(), filter);
    FreeListFilter(&filter);
}

void CArqListViewCtrl::SaveSettings(HKEY hParent, LPCTSTR pszPath)
{
    CRegistryKey frameKey;
    CRegistryKey key;
    if (!frameKey.Create(hParent, pszPath) || !key.Create(frameKey, SETTINGS_KEY))
        return;
    const auto dwStyle = static_cast<DWORD>(m_nViewStyle);
    RegSetValueEx(key, "ViewStyle", 0, REG_BINARY, reinterpret_cast<const BYTE*>(&dwStyle), sizeof(dwStyle));
    WriteColumnLayout(key, m_layout);
    key.SetDWORD("DetailFileExtension", m_bDetailExtension);
    key.SetDWORD("ListFileExtension", m_bListExtension);
    key.SetDWORD("SortColumn", static_cast<DWORD>(GetGridHeader().GetSortColumn()));
    key.SetDWORD("SortOrder", GetGridHeader().GetSortDirection() ? 1 : 0);
    SaveListFilter(key, GetListFilter());
}

void CArqListViewCtrl::OnUpdateViewStyle(CCmdUI* pCmdUI)
{
    const int nStyle = pCmdUI->m_nID == ID_VIEW_LARGE_ICONS ? STYLE_ICONS
        : pCmdUI->m_nID == ID_VIEW_LIST                     ? STYLE_LIST
                                                            : STYLE_DETAILS;
    pCmdUI->SetCheck(m_nViewStyle == nStyle ? 1 : 0);
}

/******************************************************************************
 * Header notifications
 ******************************************************************************/

BOOL CArqListViewCtrl::IsListStyleResizable(LONG nColumnId)
{
    return nColumnId == COLUMN_NAME || nColumnId == COLUMN_DESCRIPTION;
}

void CArqListViewCtrl::KeepColumnWidth(int nColumn, int nWidth)
{
    if (nColumn < 0 || static_cast<size_t>(nColumn) >= m_layout.size())
        return;
    if (m_nViewStyle == STYLE_DETAILS)
        m_layout[static_cast<size_t>(nColumn)].nDetailWidth = nWidth;
    else if (m_nViewStyle == STYLE_LIST && IsListStyleResizable(GetColumnId(nColumn)))
        m_layout[static_cast<size_t>(nColumn)].nListWidth = nWidth;
    (void)SaveDefaultColumns();
}

void CArqListViewCtrl::OnHeaderEndTrack(NMHDR* pNMHDR, LRESULT* pResult)
{
    const auto* pHeader = reinterpret_cast<NMHEADER*>(pNMHDR);
    if (pHeader->pitem && (pHeader->pitem->mask & HDI_WIDTH))
        KeepColumnWidth(pHeader->iItem, pHeader->pitem->cxy);
    *pResult = 0;
}

void CArqListViewCtrl::OnViewHeaderBeginTrack(NMHDR* pNMHDR, LRESULT* pResult)
{
    EndEdit();
    const LONG nColumnId = GetColumnId(reinterpret_cast<NMHEADER*>(pNMHDR)->iItem);
    const BOOL bAllowed = m_nViewStyle == STYLE_LIST ? IsListStyleResizable(nColumnId) : !IsStateColumn(nColumnId);
    *pResult = bAllowed ? FALSE : TRUE;
}

void CArqListViewCtrl::OnViewHeaderDividerDblClk(NMHDR* pNMHDR, LRESULT* pResult)
{
    EndEdit();
    *pResult = 0;
    const int nColumn = reinterpret_cast<NMHEADER*>(pNMHDR)->iItem;
    const LONG nColumnId = GetColumnId(nColumn);
    const BOOL bAllowed = m_nViewStyle == STYLE_LIST ? IsListStyleResizable(nColumnId) : !IsStateColumn(nColumnId);
    if (!bAllowed)
        return;
    SetColumnWidth(nColumn, LVSCW_AUTOSIZE);
    KeepColumnWidth(nColumn, GetColumnWidth(nColumn));
}

void CArqListViewCtrl::OnViewHeaderEndDrag(NMHDR* pNMHDR, LRESULT* pResult)
{
    EndEdit();
    *pResult = TRUE;
    const auto* pHeader = reinterpret_cast<NMHEADER*>(pNMHDR);
    const LONG nColumnId = GetColumnId(pHeader->iItem);
    if (m_nViewStyle != STYLE_DETAILS || !pHeader->pitem || nColumnId == COLUMN_NAME || IsStateColumn(nColumnId)
        || pHeader->pitem->iOrder < 2)
        return;
    CHeaderCtrl& header = GetGridHeader();
    header.SetItem(pHeader->iItem, pHeader->pitem);
    const int nCount = header.GetItemCount();
    std::vector<int> order(static_cast<size_t>(std::max(nCount, 0)));
    if (!order.empty() && header.GetOrderArray(order.data(), nCount)) {
        for (int nPosition = 0; nPosition < nCount; ++nPosition) {
            const auto nColumn = static_cast<size_t>(order[static_cast<size_t>(nPosition)]);
            if (nColumn < m_layout.size())
                m_layout[nColumn].nOrder = nPosition;
        }
    }
    (void)SaveDefaultColumns();
    Invalidate();
}
