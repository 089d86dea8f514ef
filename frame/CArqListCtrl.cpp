#include "frame/CArqListCtrl.h"

#include "frame/AppMessages.h"
#include "frame/CArchivoraApp.h"
#include "mail/CMailClientSet.h"
#include "resources/ResourceIds.h"
#include "store/CCatalog.h"
#include "store/CCatalogBlock.h"
#include "store/CDocumentRec.h"
#include "store/CPreferences.h"
#include "store/CatalogColumns.h"
#include "store/CatalogCompare.h"
#include "store/DateHelpers.h"
#include "store/PathHelpers.h"
#include "ui/CDragTracker.h"
#include "ui/CKadDragObj.h"
#include "ui/DocumentIcons.h"
#include "ui/DropTargets.h"

#include "platform/base/CTime.h"
#include "platform/base/Clock.h"
#include "platform/base/FileFunctions.h"
#include "platform/base/TextFunctions.h"
#include "platform/controls/HeaderControl.h"
#include "platform/controls/ListViewControl.h"
#include "platform/framework/AfxFrameIds.h"
#include "platform/framework/CRect.h"
#include "platform/framework/CWaitCursor.h"
#include "platform/framework/CWinThread.h"
#include "platform/gdi/Rects.h"
#include "platform/shell/ShellFileInfo.h"

IMPLEMENT_DYNCREATE(CArqListCtrl, CGridListCtrl)

// clang-format off
BEGIN_MESSAGE_MAP(CArqListCtrl, CGridListCtrl)
    ON_WM_DESTROY()
    ON_WM_LBUTTONDOWN()
    ON_WM_LBUTTONDBLCLK()
    ON_WM_MOUSEMOVE()
    ON_WM_KEYDOWN()
    ON_WM_CONTEXTMENU()
    ON_NOTIFY_REFLECT(LVN_GETDISPINFO, &CArqListCtrl::OnGetDispInfo)
    ON_NOTIFY_REFLECT(LVN_COLUMNCLICK, &CArqListCtrl::OnSortColumnClick)
    ON_NOTIFY(HDN_BEGINTRACK, 0, &CArqListCtrl::OnHeaderBeginTrack)
    ON_NOTIFY(HDN_ENDDRAG, 0, &CArqListCtrl::OnHeaderEndDrag)
    ON_NOTIFY(HDN_DIVIDERDBLCLICK, 0, &CArqListCtrl::OnHeaderDividerDblClk)
    ON_NOTIFY_REFLECT(LVN_ENDLABELEDIT, &CArqListCtrl::OnEndLabelEdit)
    ON_NOTIFY_REFLECT(LVN_BEGINDRAG, &CArqListCtrl::OnBeginDrag)
    ON_COMMAND(ID_FILE_OPEN, &CArqListCtrl::OnOpenSelected)
    ON_UPDATE_COMMAND_UI(ID_FILE_OPEN, &CArqListCtrl::OnUpdateOpenSelected)
    ON_COMMAND(ID_DOC_OPEN, &CArqListCtrl::OnOpenItems)
    ON_UPDATE_COMMAND_UI(ID_DOC_OPEN, &CArqListCtrl::OnUpdateOpenItems)
    ON_COMMAND_RANGE(ID_DOC_OPEN_CHOOSER, ID_DOC_OPEN_ASSOCIATED, &CArqListCtrl::OnOpenAs)
    ON_COMMAND_RANGE(ID_DOC_OPEN_CHOSEN, ID_DOC_OPEN_CHOSEN, &CArqListCtrl::OnOpenAs)
    ON_UPDATE_COMMAND_UI_RANGE(ID_DOC_OPEN_CHOOSER, ID_DOC_OPEN_ASSOCIATED, &CArqListCtrl::OnUpdateFocusedFile)
    ON_UPDATE_COMMAND_UI(ID_DOC_OPEN_CHOSEN, &CArqListCtrl::OnUpdateFocusedFile)
    ON_COMMAND(ID_DOC_SHOW_FOLDER, &CArqListCtrl::OnFolderDialog)
    ON_UPDATE_COMMAND_UI(ID_DOC_SHOW_FOLDER, &CArqListCtrl::OnUpdateFocusedFile)
    ON_COMMAND_RANGE(ID_OPEN_WITH_FIRST, ID_FAVORITE_FIRST - 1, &CArqListCtrl::OnOpenWithProgram)
    ON_COMMAND_RANGE(ID_DOC_MAIL_FORWARD, ID_DOC_MAIL_REPLY_ALL, &CArqListCtrl::OnOpenAs)
    ON_UPDATE_COMMAND_UI_RANGE(ID_DOC_MAIL_FORWARD, ID_DOC_MAIL_REPLY_ALL, &CArqListCtrl::OnUpdateOpenMailAs)
    ON_COMMAND_RANGE(ID_DOC_MAIL_COMPOSE, ID_DOC_MAIL_COMPOSE, &CArqListCtrl::OnOpenAs)
    ON_UPDATE_COMMAND_UI(ID_DOC_MAIL_COMPOSE, &CArqListCtrl::OnUpdateOpenMailAs)
    ON_COMMAND(ID_DOC_OPEN_ACTION, &CArqListCtrl::OnEditChoice)
    ON_UPDATE_COMMAND_UI(ID_DOC_OPEN_ACTION, &CArqListCtrl::OnUpdateFocusedFile)
    ON_COMMAND(ID_DOC_MAIL_OPEN_ACTION, &CArqListCtrl::OnEditChoice)
    ON_UPDATE_COMMAND_UI(ID_DOC_MAIL_OPEN_ACTION, &CArqListCtrl::OnUpdateOpenMailAs)
    ON_UPDATE_COMMAND_UI(ID_DOC_OPEN_WITH_MENU, &CArqListCtrl::OnUpdateOpenActionMenu)
    ON_COMMAND(ID_DOC_VERSION, &CArqListCtrl::OnEditNumber)
    ON_UPDATE_COMMAND_UI(ID_DOC_VERSION, &CArqListCtrl::OnUpdateEditNumber)
    ON_COMMAND(ID_DOC_PROTECT, &CArqListCtrl::OnProtect)
    ON_UPDATE_COMMAND_UI(ID_DOC_PROTECT, &CArqListCtrl::OnUpdateProtect)
    ON_COMMAND(ID_DOC_PROTECT_MAIL, &CArqListCtrl::OnProtect)
    ON_UPDATE_COMMAND_UI(ID_DOC_PROTECT_MAIL, &CArqListCtrl::OnUpdateProtect)
    ON_UPDATE_COMMAND_UI(ID_DOC_PROTECT_WORDED, &CArqListCtrl::OnUpdateProtectWorded)
    ON_COMMAND(ID_DOC_PROTECT_AGAIN, &CArqListCtrl::OnProtectAgain)
    ON_COMMAND(ID_DOC_IMAGE_PREVIEW, &CArqListCtrl::OnImagePreview)
    ON_COMMAND(ID_SEND_TO_UNSORTED, &CArqListCtrl::OnMoveToUnsorted)
    ON_UPDATE_COMMAND_UI(ID_SEND_TO_UNSORTED, &CArqListCtrl::OnUpdateMoveToUnsorted)
    ON_COMMAND(ID_SEND_TO_OTHER, &CArqListCtrl::OnMoveToArchive)
    ON_UPDATE_COMMAND_UI(ID_SEND_TO_OTHER, &CArqListCtrl::OnUpdateMoveToArchive)
    ON_COMMAND(ID_DOC_CATALOG_AGAIN, &CArqListCtrl::OnCatalogAgain)
    ON_UPDATE_COMMAND_UI(ID_DOC_CATALOG_AGAIN, &CArqListCtrl::OnUpdateCatalogAgain)
    ON_COMMAND_RANGE(ID_SEND_TO_DRIVE_FIRST, ID_SEND_TO_DRIVE_LAST, &CArqListCtrl::OnBackup)
    ON_UPDATE_COMMAND_UI_RANGE(ID_SEND_TO_DRIVE_FIRST, ID_SEND_TO_DRIVE_LAST, &CArqListCtrl::OnUpdateSelectedFiles)
    ON_COMMAND(ID_DOC_SEND_MAIL, &CArqListCtrl::OnMailSelected)
    ON_UPDATE_COMMAND_UI(ID_DOC_SEND_MAIL, &CArqListCtrl::OnUpdateMailSelected)
    ON_COMMAND(ID_DOC_NOTE_SENDER, &CArqListCtrl::OnNoteFromSender)
    ON_COMMAND(ID_DOC_NOTE_RECIPIENTS, &CArqListCtrl::OnNoteFromRecipients)
    ON_UPDATE_COMMAND_UI_RANGE(ID_DOC_NOTE_SENDER, ID_DOC_NOTE_RECIPIENTS, &CArqListCtrl::OnUpdateSelectedMessages)
    ON_COMMAND(ID_DOC_DESCRIPTION, &CArqListCtrl::OnDocumentDialog)
    ON_UPDATE_COMMAND_UI(ID_DOC_DESCRIPTION, &CArqListCtrl::OnUpdateDocumentDialog)
    ON_COMMAND(ID_DOC_DESCRIBE_FROM_CONTENT, &CArqListCtrl::OnDescribeFromContent)
    ON_UPDATE_COMMAND_UI(ID_DOC_DESCRIBE_FROM_CONTENT, &CArqListCtrl::OnUpdateDescribeFromContent)
    ON_COMMAND(ID_DOC_RENAME, &CArqListCtrl::OnRename)
    ON_UPDATE_COMMAND_UI(ID_DOC_RENAME, &CArqListCtrl::OnUpdateRename)
    ON_COMMAND(ID_DOC_EDIT_CELL, &CArqListCtrl::OnEditCell)
    ON_UPDATE_COMMAND_UI(ID_DOC_EDIT_CELL, &CArqListCtrl::OnUpdateEditCell)
    ON_COMMAND(ID_DOC_PROPERTIES, &CArqListCtrl::OnProperties)
    ON_UPDATE_COMMAND_UI(ID_DOC_PROPERTIES, &CArqListCtrl::OnUpdateProperties)
    ON_COMMAND(ID_DOC_REMOVE_FROM_GROUP, &CArqListCtrl::OnRemoveFromGroup)
    ON_UPDATE_COMMAND_UI(ID_DOC_REMOVE_FROM_GROUP, &CArqListCtrl::OnUpdateRemoveFromGroup)
    ON_COMMAND(ID_DOC_RECYCLE, &CArqListCtrl::OnRecycle)
    ON_UPDATE_COMMAND_UI(ID_DOC_RECYCLE, &CArqListCtrl::OnUpdateRecycle)
    ON_COMMAND(ID_EDIT_COPY, &CArqListCtrl::OnCopy)
    ON_UPDATE_COMMAND_UI(ID_EDIT_COPY, &CArqListCtrl::OnUpdateCopy)
    ON_COMMAND(ID_EDIT_CUT, &CArqListCtrl::OnCut)
    ON_UPDATE_COMMAND_UI(ID_EDIT_CUT, &CArqListCtrl::OnUpdateCut)
    ON_COMMAND(ID_DOC_SELECT_ALL, &CArqListCtrl::OnSelectAll)
    ON_COMMAND(ID_DOC_INVERT_SELECTION, &CArqListCtrl::OnInvertSelection)
    ON_MESSAGE(CArqListCtrl::MSG_FILL_REDRAW, &CArqListCtrl::OnFillRedraw)
    ON_MESSAGE(CArqListCtrl::MSG_REOPEN_EDIT, &CArqListCtrl::OnReopenEdit)
END_MESSAGE_MAP()
// clang-format on

namespace {

// The pseudo file whose type gives node rows their icon.
constexpr char NODE_ITEM_FILE_NAME[] = "archivora.kdcat";
constexpr COLORREF IMAGE_MASK = RGB(255, 0, 255);

// The state image of an expiry state, unprotected and protected (0: none).
struct StateImages {
    int nState;
    UINT nPlain;
    UINT nProtected;
};
constexpr StateImages STATE_IMAGES[] = {
    { EXPIRY_NEW, 1, 6 },
    { EXPIRY_PASSED, 2, 7 },
    { EXPIRY_MAIL_DELETED, 3, 3 },
    { EXPIRY_NOT_FOUND, 8, 8 },
    { EXPIRY_UNREACHABLE, 4, 4 },
    { EXPIRY_NONE, 0, 5 },
};

// A time cell: empty for 0 or less.
CString TimeText(LONGLONG tTime, LPCTSTR pszFormat)
{
    return tTime > 0 ? CTime(static_cast<time_t>(tTime)).Format(pszFormat) : CString();
}

CString SizeText(LONGLONG nSize, BOOL bSizeInKB)
{
    CString strText;
    if (nSize < 0)
        return strText;
    if (bSizeInKB)
        strText.Format("%lldKB", (nSize + 1023) / 1024);
    else
        strText.Format("%lld", nSize);
    return strText;
}

CString DocumentCellText(const CDocumentRec& document, LONG nColumnId, BOOL bShowExtension, BOOL bSizeInKB)
{
    CString strText;
    switch (nColumnId) {
    case COLUMN_NAME:
        strText = DocumentColumnText(document, nColumnId);
        if (!bShowExtension && !document.IsMail()) {
            CString strBase;
            CString strExtension;
            SplitFileName(strText, strBase, strExtension);
            strText = strBase;
        }
        break;
    case COLUMN_EXPIRY_STATE:
        if (const UINT nImage = CArqListCtrl::GetStateImage(document) >> 12)
            strText.Format("%u", nImage - 1);
        break;
    case COLUMN_LABEL:
        // A message's folder is its mailbox as the user's mail client names it.
        strText = document.IsMail() ? GetMailboxDisplayName(document.GetDirectoryString())
                                    : DocumentColumnText(document, nColumnId);
        break;
    case COLUMN_DESCRIPTION:
    case COLUMN_ALT_NAME:
    case COLUMN_TYPE:
        strText = DocumentColumnText(document, nColumnId);
        break;
    case COLUMN_DATE:
    case COLUMN_EXPIRED_DATE:
        strText = TimeText(document.GetExpiry(), "%x");
        break;
    case COLUMN_SIZE:
        strText = SizeText(document.LoadState().nSize, bSizeInKB);
        break;
    case COLUMN_MODIFIED:
        strText = TimeText(document.LoadState().tModified, "%c");
        break;
    case COLUMN_CREATED:
        strText = TimeText(document.LoadState().tCreated, "%c");
        break;
    case COLUMN_ACCESSED:
        strText = TimeText(document.LoadState().tAccessed, "%x");
        break;
    case COLUMN_NO_TEXT:
        break;
    default:
        strText = "STUB";
        break;
    }
    return strText;
}

} // namespace

CArqListCtrl::CArqListCtrl() = default;

CArqListCtrl::~CArqListCtrl()
{
    WaitForFill(FALSE);
    FreeListFilter(&m_filter);
}

/******************************************************************************
 * Setting up
 ******************************************************************************/

BOOL CArqListCtrl::Initialize()
{
    // A list without a font of its own still gets its tip, drops and icons.
    const BOOL bGrid = CGridListCtrl::Initialize();
    if (!m_tip.GetSafeHwnd())
        m_tip.Create(this);
    m_tip.Enable(TRUE);
    m_bTipsEnabled = TRUE;
    RegisterDropTarget(this, TRUE);
    ModifyStyle(0, LVS_SHAREIMAGELISTS);
    SHFILEINFO info {};
    if (SHGetFileInfo(NODE_ITEM_FILE_NAME, FILE_ATTRIBUTE_NORMAL, &info, sizeof(info),
            SHGFI_SYSICONINDEX | SHGFI_USEFILEATTRIBUTES | SHGFI_SMALLICON))
        m_nNodeIcon = info.iIcon;
    return bGrid;
}

void CArqListCtrl::CreateStateImageList()
{
    auto pGridImages = std::make_unique<CImageList>();
    if (pGridImages->Create(IDB_LIST_STATES, STATE_IMAGE_WIDTH, 1, IMAGE_MASK))
        SetImageColumnList(pGridImages.release());
    if (!m_stateImages.GetSafeHandle() && !m_stateImages.Create(IDB_LIST_STATES, STATE_IMAGE_WIDTH, 1, IMAGE_MASK))
        return;
    m_bStateImagesOn = TRUE;
    const DWORD dwMode = GetStyle() & LVS_TYPEMASK;
    SetImageList(dwMode == LVS_REPORT ? nullptr : &m_stateImages, LVSIL_STATE);
}

void CArqListCtrl::AttachSystemImageList()
{
    SetImageList(GetSystemImageList(1), LVSIL_SMALL);
    SetImageList(GetSystemImageList(0), LVSIL_NORMAL);
}

/******************************************************************************
 * Rows
 ******************************************************************************/

CArqListCtrl::RowKind CArqListCtrl::KindOf(const CCatalogRecord* pRecord)
{
    CCatalogFile* pFile = pRecord ? pRecord->GetDatabase() : nullptr;
    const CCatalogBlock* pBlock = pFile ? pFile->GetBlock(pRecord->GetBlock()) : nullptr;
    if (!pBlock)
        return RowKind::Empty;
    // The object's class must match the table too: a record read through a
    // reference to another table is no row of either kind.
    if (pBlock->GetTableType() == TABLE_NODE && dynamic_cast<const CNodeRec*>(pRecord))
        return RowKind::Node;
    if (pBlock->GetTableType() == TABLE_DOCUMENT && dynamic_cast<const CDocumentRec*>(pRecord))
        return RowKind::Document;
    return RowKind::Empty;
}

UINT CArqListCtrl::GetStateImage(const CDocumentRec& document)
{
    const int nState = document.GetExpiryState(0);
    for (const StateImages& images : STATE_IMAGES) {
        if (images.nState == nState)
            return (document.IsProtected() ? images.nProtected : images.nPlain) << 12;
    }
    return 0;
}

int CArqListCtrl::InsertRow(int nRow, CCatalogRecord* pRecord)
{
    LVITEM item {};
    item.mask = LVIF_TEXT | LVIF_IMAGE | LVIF_PARAM;
    item.iItem = nRow;
    item.pszText = LPSTR_TEXTCALLBACK;
    item.iImage = I_IMAGECALLBACK;
    item.lParam = reinterpret_cast<LPARAM>(pRecord);
    if (m_bStateImagesOn && KindOf(pRecord) == RowKind::Document) {
        if (const UINT nState = GetStateImage(*static_cast<CDocumentRec*>(pRecord))) {
            item.mask |= LVIF_STATE;
            item.state = nState;
            item.stateMask = STATE_IMAGE_MASK;
        }
    }
    // Sent, not called: the worker inserts through the list's own thread.
    return static_cast<int>(::SendMessage(m_hWnd, LVM_INSERTITEM, 0, reinterpret_cast<LPARAM>(&item)));
}

CCatalogRecord* CArqListCtrl::GetRowRecord(int nRow) const
{
    if (nRow < 0 || nRow >= GetItemCount())
        return nullptr;
    return reinterpret_cast<CCatalogRecord*>(GetItemData(nRow));
}

CNodeRec* CArqListCtrl::GetRowNode(int nRow) const
{
    CCatalogRecord* pRecord = GetRowRecord(nRow);
    return KindOf(pRecord) == RowKind::Node ? static_cast<CNodeRec*>(pRecord) : nullptr;
}

CDocumentRec* CArqListCtrl::GetRowDocument(int nRow) const
{
    CCatalogRecord* pRecord = GetRowRecord(nRow);
    return KindOf(pRecord) == RowKind::Document ? static_cast<CDocumentRec*>(pRecord) : nullptr;
}

void CArqListCtrl::SelectOnly(int nRow)
{
    for (int nSelected = GetNextItem(-1, LVNI_SELECTED); nSelected >= 0;
         nSelected = GetNextItem(nSelected, LVNI_SELECTED))
        SetItemState(nSelected, 0, LVIS_SELECTED);
    if (const int nFocused = GetFocusedRow(); nFocused >= 0)
        SetItemState(nFocused, 0, LVIS_FOCUSED);
    if (nRow < 0 || nRow >= GetItemCount())
        return;
    SetItemState(nRow, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
    EnsureVisible(nRow, FALSE);
}

CNodeRec* CArqListCtrl::GetFocusedNode() const
{
    return GetRowNode(GetFocusedRow());
}

int CArqListCtrl::FindRecordRow(const CCatalogRecord& record) const
{
    for (int nRow = 0, nCount = GetItemCount(); nRow < nCount; ++nRow) {
        const CCatalogRecord* pRecord = GetRowRecord(nRow);
        if (pRecord && pRecord->GetRef() == record.GetRef() && KindOf(pRecord) == KindOf(&record))
            return nRow;
    }
    return -1;
}

/******************************************************************************
 * Cells
 ******************************************************************************/

CString CArqListCtrl::CellText(const CCatalogRecord* pRecord, LONG nColumnId, BOOL bShowExtension, BOOL bSizeInKB)
{
    switch (KindOf(pRecord)) {
    case RowKind::Node: {
        const auto* pNode = static_cast<const CNodeRec*>(pRecord);
        if (nColumnId == COLUMN_NAME)
            return pNode->GetName();
        if (nColumnId == COLUMN_DESCRIPTION)
            return pNode->GetInfoString();
        return CString();
    }
    case RowKind::Document:
        return DocumentCellText(*static_cast<const CDocumentRec*>(pRecord), nColumnId, bShowExtension, bSizeInKB);
    case RowKind::Empty:
        break;
    }
    return CString();
}

CString CArqListCtrl::GetRowCellText(const CCatalogRecord* pRecord, LONG nColumnId)
{
    return CellText(pRecord, nColumnId, m_bShowExtension, m_bSizeInKB);
}

LONG CArqListCtrl::GetColumnId(int nColumn) const
{
    const GridColumn* pColumn = GetGridColumn(nColumn);
    return pColumn ? static_cast<LONG>(pColumn->nTitleID) : 0;
}

int CArqListCtrl::FindColumn(LONG nColumnId) const
{
    for (int nColumn = 0; const GridColumn* pColumn = GetGridColumn(nColumn); ++nColumn) {
        if (static_cast<LONG>(pColumn->nTitleID) == nColumnId)
            return nColumn;
    }
    return -1;
}

void CArqListCtrl::OnGetDispInfo(NMHDR* pNMHDR, LRESULT* pResult)
{
    *pResult = 0;
    auto* pInfo = reinterpret_cast<NMLVDISPINFO*>(pNMHDR);
    LVITEM& item = pInfo->item;
    const auto* pRecord = reinterpret_cast<const CCatalogRecord*>(item.lParam);
    const RowKind eKind = KindOf(pRecord);
    if (item.mask & LVIF_TEXT && item.pszText && item.cchTextMax > 0) {
        const CString strText = GetRowCellText(pRecord, GetColumnId(item.iSubItem));
        Utf8CopyToField(item.pszText, static_cast<std::size_t>(item.cchTextMax), strText, FieldEnd::NulTerminated);
    }
    if (item.mask & LVIF_IMAGE) {
        if (eKind == RowKind::Node)
            item.iImage = m_nNodeIcon;
        else if (eKind == RowKind::Document)
            item.iImage = GetDocumentTypeIcon(*static_cast<const CDocumentRec*>(pRecord));
        else
            item.iImage = -1;
    }
}

LONG CArqListCtrl::GetCellValue(int nItem, int nColumn)
{
    const LONG nColumnId = GetColumnId(nColumn);
    const CDocumentRec* pDocument = GetRowDocument(nItem);
    if (pDocument && (nColumnId == COLUMN_DATE || nColumnId == COLUMN_EXPIRED_DATE))
        return pDocument->GetExpiry();
    return 0;
}

int CArqListCtrl::DocumentEditLimit(const CDocumentRec& document, LONG nColumnId)
{
    if (nColumnId == COLUMN_DATE || nColumnId == COLUMN_EXPIRED_DATE)
        return DATE_EDIT_LIMIT;
    if (document.IsMail())
        return nColumnId == COLUMN_ALT_NAME && !IsBlocked(document, 1) ? TEXT_EDIT_LIMIT : 0;
    if (nColumnId == COLUMN_ALT_NAME)
        return TEXT_EDIT_LIMIT;
    if (nColumnId == COLUMN_NAME || nColumnId == COLUMN_LABEL)
        return IsBlocked(document, 0) ? 0 : TEXT_EDIT_LIMIT;
    return 0;
}

int CArqListCtrl::GetCellEditLimit(int nItem, int nColumn)
{
    const LONG nColumnId = GetColumnId(nColumn);
    switch (nColumnId) {
    case COLUMN_DESCRIPTION:
        return TEXT_EDIT_LIMIT;
    case COLUMN_SIZE:
    case COLUMN_CREATED:
    case COLUMN_MODIFIED:
    case COLUMN_ACCESSED:
    case COLUMN_TYPE:
    case COLUMN_EXPIRY_STATE:
        return 0;
    default:
        break;
    }
    if (GetRowNode(nItem))
        return nColumnId == COLUMN_NAME ? NODE_NAME_LIMIT : 0;
    const CDocumentRec* pDocument = GetRowDocument(nItem);
    return pDocument ? DocumentEditLimit(*pDocument, nColumnId) : 0;
}

int CArqListCtrl::GetCellEditorKind(int nItem, int)
{
    const CDocumentRec* pDocument = GetRowDocument(nItem);
    if (!pDocument)
        return -1;
    return pDocument->IsMail() ? GRID_EDITOR_COMBO : GRID_EDITOR_TEXT;
}

BOOL CArqListCtrl::IsItemRecent(int nItem)
{
    const CDocumentRec* pDocument = GetRowDocument(nItem);
    CArchivoraApp* pApp = GetArchivoraApp();
    if (!pDocument || !pApp)
        return FALSE;
    CDocumentInfo info {};
    if (!pDocument->GetInfo(&info))
        return FALSE;
    const ULONGLONG nCatalogTime
        = static_cast<ULONGLONG>(info.ftCatalogTime.dwHighDateTime) << 32 | info.ftCatalogTime.dwLowDateTime;
    const FILETIME ftUpdate = pApp->GetCatalogTimeStamp();
    const ULONGLONG nUpdateTime = static_cast<ULONGLONG>(ftUpdate.dwHighDateTime) << 32 | ftUpdate.dwLowDateTime;
    const bool bSinceUpdate = nCatalogTime > nUpdateTime;
    bool bWithinDays = false;
    if (nCatalogTime >= FILETIME_UNIX_EPOCH_SECONDS * FILETIME_UNITS_PER_SECOND) {
        const auto tCatalogued
            = static_cast<time_t>(nCatalogTime / FILETIME_UNITS_PER_SECOND - FILETIME_UNIX_EPOCH_SECONDS);
        const auto tNow = static_cast<time_t>(ClockUtcNow() / FILETIME_UNITS_PER_SECOND - FILETIME_UNIX_EPOCH_SECONDS);
        bWithinDays = DaysBetween(tCatalogued, tNow) < thePreferences.m_nNumDayRecentlyCatalog;
    }
    switch (thePreferences.m_nLastCatalogOption) {
    case CPreferences::NEW_SINCE_UPDATE:
        return bSinceUpdate;
    case CPreferences::NEW_WITHIN_DAYS:
        return bWithinDays;
    case CPreferences::NEW_SINCE_UPDATE | CPreferences::NEW_WITHIN_DAYS:
        return bSinceUpdate && bWithinDays;
    default:
        return FALSE;
    }
}

/******************************************************************************
 * Mouse and keys
 ******************************************************************************/

void CArqListCtrl::OnDestroy()
{
    WaitForFill(FALSE);
    RegisterDropTarget(this, FALSE);
    CGridListCtrl::OnDestroy();
}

void CArqListCtrl::OnLButtonDown(UINT nFlags, CPoint point)
{
    m_tip.Hide();
    CGridListCtrl::OnLButtonDown(nFlags, point);
}

void CArqListCtrl::OnLButtonDblClk(UINT nFlags, CPoint point)
{
    CGridListCtrl::OnLButtonDblClk(nFlags, point);
    UINT uFlags = 0;
    const int nRow = HitTest(point, &uFlags);
    if (nRow < 0 || !(uFlags & LVHT_ONITEM))
        return;
    if (CNodeRec* pNode = GetRowNode(nRow)) {
        FollowGroup(*pNode);
        return;
    }
    CDocumentRec* pDocument = GetRowDocument(nRow);
    CArchivoraApp* pApp = GetArchivoraApp();
    if (!pDocument || !pApp || IsBlocked(*pDocument, 1))
        return;
    if (pApp->OpenItem(*pDocument, this))
        pApp->MinimizeAfterOpen();
}

CString CArqListCtrl::TipText(int nRow)
{
    const CCatalogRecord* pRecord = GetRowRecord(nRow);
    CString strText = GetRowCellText(pRecord, COLUMN_NAME);
    const CString strDescription = GetRowCellText(pRecord, COLUMN_DESCRIPTION);
    if (!strDescription.IsEmpty())
        strText += "\n\n" + strDescription;
    return strText;
}

void CArqListCtrl::OnMouseMove(UINT nFlags, CPoint point)
{
    if (TrackDragMove(nFlags, point))
        return;
    if (m_bTipsEnabled && thePreferences.m_bDescrTip && FindColumn(COLUMN_NAME) >= 0
        && FindColumn(COLUMN_DESCRIPTION) >= 0) {
        UINT uFlags = 0;
        const int nRow = HitTest(point, &uFlags);
        if (nRow >= 0 && (uFlags & LVHT_ONITEM)) {
            CRect rcRow;
            CRect rcClient;
            GetItemRect(nRow, &rcRow, LVIR_BOUNDS);
            GetClientRect(&rcClient);
            ::IntersectRect(&rcRow, &rcRow, &rcClient);
            m_tip.Show(point.x, point.y, rcRow, TipText(nRow));
        }
    }
    CGridListCtrl::OnMouseMove(nFlags, point);
}

void CArqListCtrl::OnKeyDown(UINT nChar, UINT nRepCnt, UINT nFlags)
{
    if (nChar == VK_RETURN)
        OnEnterKey();
    else if (nChar == VK_DELETE)
        OnDeleteKey();
    else if (nChar == 'A' && (GetKeyState(VK_CONTROL) & 0x8000))
        OnSelectAll(); // also where no accelerator table serves the list (its windows)
    CGridListCtrl::OnKeyDown(nChar, nRepCnt, nFlags);
}

void CArqListCtrl::OnEnterKey()
{
    OpenSelectedItems();
}

void CArqListCtrl::OnDeleteKey()
{
    RecycleSelected();
}

/******************************************************************************
 * Sorting
 ******************************************************************************/

CSortSpec CArqListCtrl::GetSortSpec()
{
    CGridHeaderCtrl& header = GetGridHeader();
    if (header.GetSortColumn() < 0)
        header.SetSortImage(0, TRUE);
    return { GetColumnId(header.GetSortColumn()), header.GetSortDirection(), m_bSizeInKB };
}

void CArqListCtrl::SortByColumn(int nColumn)
{
    CWaitCursor wait;
    WaitForFill(TRUE);
    CGridHeaderCtrl& header = GetGridHeader();
    const BOOL bAscending = header.GetSortColumn() == nColumn ? !header.GetSortDirection() : TRUE;
    header.SetSortImage(nColumn, bAscending);
    CSortSpec spec { GetColumnId(nColumn), bAscending, m_bSizeInKB };
    SortItems(&CompareCatalogRecords, reinterpret_cast<DWORD_PTR>(&spec));
    if (m_nIdleCursor < GetItemCount())
        m_nIdleCursor = 0;
}

void CArqListCtrl::OnSortColumnClick(NMHDR* pNMHDR, LRESULT* pResult)
{
    CGridListCtrl::OnColumnClick(pNMHDR, pResult);
    SortByColumn(reinterpret_cast<NMLISTVIEW*>(pNMHDR)->iSubItem);
    *pResult = 0;
}

/******************************************************************************
 * Header rules
 ******************************************************************************/

BOOL CArqListCtrl::IsStateColumn(LONG nColumnId)
{
    return nColumnId == COLUMN_EXPIRY_STATE || nColumnId == COLUMN_BIN_STATE;
}

void CArqListCtrl::SetHeaderStatePicture(int nColumn)
{
    auto pHeaderImages = std::make_unique<CImageList>();
    if (pHeaderImages->Create(IDB_LIST_HEADER, 16, 1, IMAGE_MASK)) {
        GetGridHeader().SetImageList(pHeaderImages.release());
        GetGridHeader().SetItemImage(nColumn, 0);
    }
}

void CArqListCtrl::OnHeaderBeginTrack(NMHDR* pNMHDR, LRESULT* pResult)
{
    EndEdit();
    const LONG nColumnId = GetColumnId(reinterpret_cast<NMHEADER*>(pNMHDR)->iItem);
    *pResult = IsStateColumn(nColumnId) ? TRUE : FALSE; // TRUE refuses
}

void CArqListCtrl::OnHeaderEndDrag(NMHDR* pNMHDR, LRESULT* pResult)
{
    EndEdit();
    const auto* pHeader = reinterpret_cast<NMHEADER*>(pNMHDR);
    const LONG nColumnId = GetColumnId(pHeader->iItem);
    const int nTarget = pHeader->pitem ? pHeader->pitem->iOrder : -1;
    // A refused drag keeps the order; an accepted one takes it now.
    if (nColumnId != COLUMN_NAME && !IsStateColumn(nColumnId) && nTarget > 1 && pHeader->pitem) {
        GetGridHeader().SetItem(pHeader->iItem, pHeader->pitem);
        Invalidate();
    }
    *pResult = TRUE;
}

void CArqListCtrl::OnHeaderDividerDblClk(NMHDR* pNMHDR, LRESULT* pResult)
{
    EndEdit();
    const int nColumn = reinterpret_cast<NMHEADER*>(pNMHDR)->iItem;
    if (!IsStateColumn(GetColumnId(nColumn)))
        SetColumnWidth(nColumn, LVSCW_AUTOSIZE);
    *pResult = 0;
}
