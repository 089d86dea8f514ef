#include "ui/CDocumentPopupCtrl.h"

#include "platform/framework/AfxMessageBox.h"
#include "platform/framework/CImageList.h"
#include "platform/framework/CMenu.h"
#include "platform/framework/MessageMap.h"
#include "platform/window/Input.h"
#include "resources/ResourceIds.h"
#include "store/CCatalog.h"
#include "store/CNodeRec.h"
#include "store/ResString.h"
#include "ui/COpenWithMenu.h"
#include "ui/CStartMenuIndex.h"
#include "ui/CUiHostServices.h"
#include "ui/DocumentIcons.h"
#include "ui/MainWindowMessages.h"
#include "ui/OpenCommandText.h"

#include <algorithm>

IMPLEMENT_DYNAMIC(CDocumentPopupCtrl, CPopupCtrl)

BEGIN_MESSAGE_MAP(CDocumentPopupCtrl, CPopupCtrl)
    ON_WM_CREATE()
    ON_WM_DESTROY()
END_MESSAGE_MAP()

namespace {

constexpr DWORD OPEN_WITH_CHOSEN_PROGRAM = 1;

BOOL BlocksOpening(int nExpiry)
{
    return nExpiry == EXPIRY_MAIL_DELETED || nExpiry == EXPIRY_NOT_FOUND || nExpiry == EXPIRY_UNREACHABLE;
}

// Makes command nID of the menu the submenu hSub titled strText.
void PlugSubmenu(CMenu& popup, UINT nID, HMENU hSub, const CString& strText)
{
    const int nCount = static_cast<int>(popup.GetMenuItemCount());
    for (int i = 0; i < nCount; ++i) {
        if (popup.GetMenuItemID(i) == nID) {
            popup.ModifyMenu(static_cast<UINT>(i), MF_BYPOSITION | MF_POPUP, reinterpret_cast<UINT_PTR>(hSub), strText);
            return;
        }
    }
}

// Takes the submenu hSub out of the menu again without destroying it.
void UnplugSubmenu(CMenu& popup, HMENU hSub)
{
    for (int i = static_cast<int>(popup.GetMenuItemCount()) - 1; i >= 0; --i) {
        CMenu* pSub = popup.GetSubMenu(i);
        if (pSub && pSub->GetSafeHmenu() == hSub)
            popup.RemoveMenu(static_cast<UINT>(i), MF_BYPOSITION);
    }
}

void OpenDocument(CDocumentRec& document, LPCTSTR pszProgram)
{
    CUiHostServices* pHost = GetUiHostServices();
    if (pHost && pHost->OpenItem(document, pszProgram))
        pHost->MinimizeAfterOpen();
}

} // namespace

CDocumentPopupCtrl::CDocumentPopupCtrl() = default;

CDocumentPopupCtrl::~CDocumentPopupCtrl() = default;

/* Rows. */

void CDocumentPopupCtrl::ClearDocuments()
{
    ResetContent();
    m_documents.clear();
    m_nWidest = 0;
    m_bTips = TRUE;
    m_tip.Enable(TRUE);
}

void CDocumentPopupCtrl::AddDocumentRow(std::unique_ptr<CDocumentRec> pDocument)
{
    if (!pDocument)
        return;
    CString strPath;
    pDocument->GetFullPath(strPath);
    strPath = pDocument->GetDirectoryPath(FALSE) + strPath;
    m_documents.push_back(std::move(pDocument));
    AddItem(strPath, static_cast<DWORD>(m_documents.size() - 1), FALSE, TRUE);
}

void CDocumentPopupCtrl::AddEmptyRow(UINT nStringId)
{
    AddItem(GetResString(nStringId), NO_DOCUMENT, FALSE, FALSE);
    m_bTips = FALSE;
    m_tip.Enable(FALSE);
}

CDocumentRec* CDocumentPopupCtrl::GetDocument(int nIndex) const
{
    if (nIndex < 0 || nIndex >= GetCount())
        return nullptr;
    const size_t nPosition = GetItemValue(nIndex);
    return nPosition < m_documents.size() ? m_documents[nPosition].get() : nullptr;
}

RECT CDocumentPopupCtrl::GetIconRect(const RECT& row)
{
    return CPopupRowLook::ImageRect(row, ImageSizeOf(GetSystemImageList(1)));
}

int CDocumentPopupCtrl::SelectItem(int nIndex)
{
    m_tip.Hide();
    return CPopupCtrl::SelectItem(nIndex);
}

void* CDocumentPopupCtrl::GetItemResult(int nIndex)
{
    const CDocumentRec* pDocument = GetDocument(nIndex);
    return pDocument ? pDocument->Clone() : nullptr;
}

void CDocumentPopupCtrl::OnMouseMove(UINT nFlags, int x, int y)
{
    if (m_bTips) {
        BOOL bOutside = TRUE;
        const int nItem = static_cast<int>(ItemFromPoint(CPoint(x, y), bOutside));
        if (!bOutside) {
            if (const CDocumentRec* pDocument = GetDocument(nItem)) {
                CString strText;
                pDocument->GetNameWithLocation(strText);
                RECT rect {};
                GetItemRect(nItem, &rect);
                if (!strText.IsEmpty())
                    m_tip.Show(x, y, rect, strText);
            }
        }
    }
    CPopupCtrl::OnMouseMove(nFlags, x, y);
}

/* Drawing. */

void CDocumentPopupCtrl::MeasureItem(LPMEASUREITEMSTRUCT lpMeasureItemStruct)
{
    m_look.MeasureListRow(
        *this, lpMeasureItemStruct, ImageSizeOf(GetSystemImageList(1)), CPopupRowLook::ROW_MARGIN, m_nWidest);
}

void CDocumentPopupCtrl::DrawItem(LPDRAWITEMSTRUCT lpDrawItemStruct)
{
    const CDocumentRec* pDocument = GetDocument(static_cast<int>(lpDrawItemStruct->itemID));
    CPopupRowLook::CRow row;
    row.pImages = GetSystemImageList(1);
    row.nImage = pDocument ? GetDocumentTypeIcon(*pDocument) : -1;
    row.imageSize = ImageSizeOf(row.pImages);
    m_look.DrawListRow(*this, lpDrawItemStruct, row);
}

/* The menu. */

void CDocumentPopupCtrl::AdjustMenu(CMenu& popup, const CDocumentRec& document, CMenu& openWith)
{
    CDocumentInfo info {};
    document.GetInfo(&info);
    const DWORD dwAction = info.dwOpenAction;
    if (document.IsMail()) {
        popup.ModifyMenu(
            ID_DOC_OPEN, MF_BYCOMMAND | MF_STRING, ID_DOC_OPEN, GetResString(OpenCommandTextId(TRUE, dwAction)));
    } else if (dwAction == OPEN_WITH_CHOSEN_PROGRAM) {
        CUiHostServices* pHost = GetUiHostServices();
        if (COpenWithMenu* pMenu = pHost ? pHost->GetOpenWithMenu() : nullptr) {
            pMenu->Build();
            openWith.Attach(pMenu->GetSafeHmenu());
            PlugSubmenu(popup, ID_DOC_OPEN, pMenu->GetSafeHmenu(), GetResString(IDS_OPEN_WITH_SUBMENU));
        } else {
            popup.ModifyMenu(ID_DOC_OPEN, MF_BYCOMMAND | MF_STRING, ID_DOC_OPEN, GetResString(IDS_OPEN));
        }
    } else {
        popup.ModifyMenu(
            ID_DOC_OPEN, MF_BYCOMMAND | MF_STRING, ID_DOC_OPEN, GetResString(OpenCommandTextId(FALSE, dwAction)));
    }
    CString strLinked;
    popup.GetMenuString(ID_DOC_LINKED_SYSTEMS, strLinked, MF_BYCOMMAND);
    if (m_linkedMenu.Build(document))
        PlugSubmenu(popup, ID_DOC_LINKED_SYSTEMS, m_linkedMenu.GetSafeHmenu(), strLinked);
    else
        popup.EnableMenuItem(ID_DOC_LINKED_SYSTEMS, MF_BYCOMMAND | MF_GRAYED);
    if (BlocksOpening(document.GetExpiryState(FALSE))) {
        popup.EnableMenuItem(ID_DOC_OPEN, MF_BYCOMMAND | MF_GRAYED);
        popup.EnableMenuItem(ID_DOC_DESCRIPTION, MF_BYCOMMAND | MF_GRAYED);
    }
}

UINT CDocumentPopupCtrl::TrackContextMenu(CDocumentRec& document)
{
    m_tip.Hide();
    CMenu menu;
    if (!menu.LoadMenu(GetContextMenuId()))
        return 0;
    CMenu* pPopup = menu.GetSubMenu(0);
    CMenu openWith; // the frame's menu, attached only while it is shown here
    AdjustMenu(*pPopup, document, openWith);
    POINT cursor {};
    GetCursorPos(&cursor);
    const UINT nCommand
        = static_cast<UINT>(pPopup->TrackPopupMenu(TPM_RIGHTBUTTON | TPM_RETURNCMD, cursor.x, cursor.y, this));
    UnplugSubmenu(*pPopup, m_linkedMenu.GetSafeHmenu());
    if (openWith.GetSafeHmenu())
        UnplugSubmenu(*pPopup, openWith.Detach());
    return nCommand;
}

BOOL CDocumentPopupCtrl::OnRightClick()
{
    const int nIndex = GetCurSel();
    const CDocumentRec* pDocument = GetDocument(nIndex);
    if (!pDocument || !IsItemEnabled(nIndex))
        return FALSE;
    const std::unique_ptr<CDocumentRec> pCopy(pDocument->Clone());
    const UINT nCommand = TrackContextMenu(*pCopy);
    OnMouseLeave();
    Close(TRUE); // this list may be gone now
    RunCommand(nCommand, *pCopy);
    return TRUE;
}

void CDocumentPopupCtrl::RunCommand(UINT nCommand, CDocumentRec& document)
{
    CUiHostServices* pHost = GetUiHostServices();
    if (nCommand >= ID_OPEN_WITH_FIRST && nCommand <= ID_OPEN_WITH_LAST) {
        const CStartMenuIndex& index = GetStartMenuIndex();
        const int nEntry = static_cast<int>(nCommand - ID_OPEN_WITH_FIRST);
        if (nEntry < index.GetCount())
            OpenDocument(document, index.GetEntry(nEntry).strProgram);
        return;
    }
    if (nCommand >= ID_LINKED_SYSTEM_FIRST && nCommand <= ID_LINKED_SYSTEM_LAST) {
        const CNodeRecArray nodes = document.GetLinkedNodes();
        const size_t nPosition = nCommand - ID_LINKED_SYSTEM_FIRST;
        if (nPosition < nodes.size() && nodes[nPosition])
            SendToMainWindow(MSG_SELECT_ENTRY, reinterpret_cast<WPARAM>(nodes[nPosition].get()),
                reinterpret_cast<LPARAM>(&document));
        return;
    }
    switch (nCommand) {
    case ID_DOC_OPEN:
        OpenDocument(document, nullptr);
        break;
    case ID_DOC_PROPERTIES:
        if (const int nChange = pHost ? pHost->RunDocumentProperties(document) : 0)
            PostToMainWindow(nChange == CUiHostServices::DOCUMENT_CATALOG_CHANGED ? MSG_REDO : MSG_REREAD);
        break;
    case ID_DOC_DESCRIPTION:
        if (pHost && pHost->RunProcessDocuments(document) == CUiHostServices::PROCESS_PATH_CHANGED) {
            CDocumentInfo info {};
            if (document.GetInfo(&info) && document.UpdateInfo(info))
                SendToMainWindow(MSG_REDO);
        }
        break;
    case ID_DOC_REMOVE_FAVORITE: {
        CString strPath;
        document.GetFullPath(strPath);
        CString strQuestion;
        strQuestion.Format(IDS_ASK_REMOVE_FAVORITE, document.GetDirectoryPath(FALSE) + strPath);
        if (AfxMessageBox(strQuestion, MB_YESNO | MB_ICONQUESTION | MB_DEFBUTTON2) != IDYES)
            break;
        const std::unique_ptr<CNodeRec> pFavorites(
            document.GetDatabase() ? CNodeRec::NewTopNodeRec2(GetHostMainCatalog()) : nullptr);
        if (pFavorites && pFavorites->DeleteLinks(&document))
            SendToMainWindow(MSG_REDO);
        break;
    }
    default:
        break;
    }
}

/* Handlers. */

int CDocumentPopupCtrl::OnCreate(LPCREATESTRUCT lpCreateStruct)
{
    if (CPopupCtrl::OnCreate(lpCreateStruct) == -1)
        return -1;
    m_nWidest = 0;
    m_documents.clear();
    SetFont(&m_look.NormalFont(), FALSE);
    m_tip.Create(this);
    m_bTips = TRUE;
    m_tip.Enable(TRUE);
    return 0;
}

void CDocumentPopupCtrl::OnDestroy()
{
    m_tip.Hide();
    m_documents.clear();
    CPopupCtrl::OnDestroy();
}
