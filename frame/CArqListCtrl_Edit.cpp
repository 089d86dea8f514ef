// Editing the document list's cells: each edited value goes into the catalog
// (a node's name or text, a document's name, folder, texts or expiry date)
// and the list tells its parent what changed ("ALM AlterouCatalogo" when
// rows may come or go, "ALM AlterouProp" when only properties changed). A
// value the catalog refuses reopens the editor with it, so nothing typed is
// lost.

#include "frame/CArqListCtrl.h"

#include "frame/AppMessages.h"
#include "resources/ResourceIds.h"
#include "store/CDocumentRec.h"
#include "store/CatalogColumns.h"
#include "store/DocumentBackup.h"
#include "store/PathHelpers.h"
#include "store/ResString.h"
#include "ui/CGridCalendarWnd.h"

#include "platform/base/TextFunctions.h"
#include "platform/controls/ListViewControl.h"
#include "platform/framework/AfxMessageBox.h"

#include <utility>

namespace {

// The text of info's field, replaced by strText cut at a character boundary.
template<std::size_t N> void SetField(char (&field)[N], const CString& strText)
{
    Utf8CopyToField(field, N, strText, FieldEnd::NulTerminated);
}

} // namespace

void CArqListCtrl::OnEndLabelEdit(NMHDR* pNMHDR, LRESULT* pResult)
{
    const auto* pInfo = reinterpret_cast<NMLVDISPINFO*>(pNMHDR);
    const int nRow = pInfo->item.iItem;
    const int nColumn = pInfo->item.iSubItem;
    const bool bDate = (pInfo->item.mask & LVIF_PARAM) != 0;
    const LPARAM lDate = pInfo->item.lParam;
    const bool bText = (pInfo->item.mask & LVIF_TEXT) && pInfo->item.pszText;
    const CString strText = bText ? CString(pInfo->item.pszText) : CString();
    CGridListCtrl::OnEndLabelEdit(pNMHDR, pResult);
    *pResult = 0;
    // An editor that ends while a value is being taken lost its focus to the
    // message box of that value: what it holds is not the user's answer.
    if (m_bTakingEdit || (!bDate && !bText))
        return; // cancelled, or see above
    m_bTakingEdit = TRUE;
    const LONG nColumnId = GetColumnId(nColumn);
    EditResult eResult = EditResult::Unchanged;
    if (bDate)
        eResult = SetDocumentDate(nRow, lDate);
    else if (CNodeRec* pNode = GetRowNode(nRow))
        eResult = SetNodeText(*pNode, nColumnId, strText);
    else if (GetRowDocument(nRow))
        eResult = SetDocumentText(nRow, nColumnId, strText);
    m_bTakingEdit = FALSE;
    CWnd* pParent = GetParent();
    switch (eResult) {
    case EditResult::CatalogChanged:
        if (pParent)
            pParent->PostMessage(g_nMsgListCatalogChanged);
        break;
    case EditResult::PropertiesChanged:
        if (pParent)
            pParent->PostMessage(g_nMsgListPropChanged);
        break;
    case EditResult::Refused:
        // The editor comes back with what was typed once this edit has ended.
        m_strReopenText = strText;
        PostMessage(MSG_REOPEN_EDIT, static_cast<WPARAM>(nRow), static_cast<LPARAM>(nColumn));
        break;
    case EditResult::Unchanged:
        break;
    }
    RedrawItems(nRow, nRow);
}

LRESULT CArqListCtrl::OnReopenEdit(WPARAM wParam, LPARAM lParam)
{
    EditCellAt(static_cast<int>(wParam), static_cast<int>(lParam), m_strReopenText);
    return 0;
}

CArqListCtrl::EditResult CArqListCtrl::SetNodeText(CNodeRec& node, LONG nColumnId, const CString& strText)
{
    CNodeInfo info {};
    if (!node.GetInfo(&info))
        return EditResult::Unchanged;
    if (nColumnId == COLUMN_DESCRIPTION) {
        if (strText == info.szInfo)
            return EditResult::Unchanged;
        SetField(info.szInfo, strText);
        return node.UpdateInfo(info) ? EditResult::PropertiesChanged : EditResult::Unchanged;
    }
    if (nColumnId != COLUMN_NAME || node.IsFixedNode())
        return EditResult::Unchanged;
    CString strName = strText;
    strName.TrimLeft();
    if (strName.IsEmpty()) {
        AfxMessageBox(GetResString(IDS_NAME_EMPTY), MB_ICONEXCLAMATION);
        return EditResult::Refused;
    }
    if (strName == info.szName)
        return EditResult::Unchanged;
    // Another group of the same parent with that name (in any case) refuses it.
    if (std::unique_ptr<CNodeRec> pParent(node.GetParent()); pParent) {
        for (const auto& pSibling : pParent->GetChildren()) {
            if (pSibling->GetRef() != node.GetRef() && pSibling->GetName().CompareNoCase(strName) == 0) {
                AfxMessageBox(GetResString(IDS_NAME_TAKEN), MB_ICONEXCLAMATION);
                return EditResult::Refused;
            }
        }
    }
    SetField(info.szName, strName);
    return node.UpdateInfo(info) ? EditResult::CatalogChanged : EditResult::Refused;
}

CArqListCtrl::EditResult CArqListCtrl::SetDocumentText(int nRow, LONG nColumnId, const CString& strText)
{
    CDocumentRec& document = *GetRowDocument(nRow);
    switch (nColumnId) {
    case COLUMN_NAME: {
        CString strOld;
        document.GetFullPath(strOld);
        CString strName = strText;
        if (!GetShowExtension() && !document.IsMail()) {
            // The extension was not shown: it stays what it was.
            CString strBase;
            CString strExtension;
            SplitFileName(strOld, strBase, strExtension);
            if (!strExtension.IsEmpty())
                strName += "." + strExtension;
        }
        if (strName.CompareNoCase(strOld) == 0)
            return EditResult::Unchanged;
        CDocumentRec* pRenamed = RenameDocumentFile(&document, strName);
        if (!pRenamed)
            return EditResult::Refused;
        ReplaceRowRecord(nRow, std::unique_ptr<CDocumentRec>(pRenamed));
        return EditResult::CatalogChanged;
    }
    case COLUMN_LABEL: {
        CString strFolder = AddBackslash(strText);
        if (strFolder.CompareNoCase(AddBackslash(document.GetDirectoryPath(TRUE))) == 0)
            return EditResult::Unchanged;
        CDocumentRec* pMoved = MoveDocumentFiles(&document, strFolder);
        if (!pMoved)
            return EditResult::Refused;
        ReplaceRowRecord(nRow, std::unique_ptr<CDocumentRec>(pMoved));
        return EditResult::CatalogChanged;
    }
    case COLUMN_DESCRIPTION:
    case COLUMN_ALT_NAME: {
        CDocumentInfo info {};
        if (!document.GetInfo(&info))
            return EditResult::Unchanged;
        auto& field = nColumnId == COLUMN_DESCRIPTION ? info.szDescription : info.szSecondary;
        if (strText == field)
            return EditResult::Unchanged;
        SetField(field, strText);
        return document.UpdateInfo(info) ? EditResult::PropertiesChanged : EditResult::Unchanged;
    }
    default:
        return EditResult::Unchanged;
    }
}

CArqListCtrl::EditResult CArqListCtrl::SetDocumentDate(int nRow, LPARAM lDate)
{
    CDocumentRec* pDocument = GetRowDocument(nRow);
    if (!pDocument || lDate == CGridCalendarWnd::VALUE_UNCHANGED)
        return EditResult::Unchanged;
    CDocumentInfo info {};
    if (!pDocument->GetInfo(&info))
        return EditResult::Unchanged;
    // UpdateInfo links the document under the expiring-documents node while it
    // has a date, and unlinks it when the date is cleared.
    info.nExpiry = static_cast<LONG>(lDate);
    return pDocument->UpdateInfo(info) ? EditResult::CatalogChanged : EditResult::Unchanged;
}

void CArqListCtrl::ReplaceRowRecord(int nRow, std::unique_ptr<CDocumentRec> pDocument)
{
    auto* pOld = GetRowDocument(nRow);
    if (!pOld || !m_pDocuments)
        return;
    for (auto& pElement : *m_pDocuments) {
        if (pElement.get() == pOld) {
            SetItemData(nRow, reinterpret_cast<DWORD_PTR>(pDocument.get()));
            pElement = std::move(pDocument);
            RedrawItems(nRow, nRow);
            return;
        }
    }
}

void CArqListCtrl::RenameFocused()
{
    const int nRow = GetFocusedRow();
    const int nColumn = FindColumn(COLUMN_NAME);
    if (nRow >= 0 && nColumn >= 0)
        EditCellAt(nRow, nColumn, nullptr);
}
