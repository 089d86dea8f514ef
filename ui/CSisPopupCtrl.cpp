#include "ui/CSisPopupCtrl.h"

#include "catalog/CRecycleRun.h"
#include "catalog/ShellItemIds.h"
#include "platform/controls/ListViewControl.h"
#include "platform/framework/AfxFrameIds.h"
#include "platform/framework/AfxMessageBox.h"
#include "platform/framework/CImageList.h"
#include "platform/framework/CMenu.h"
#include "platform/framework/CWinThread.h"
#include "platform/framework/MessageMap.h"
#include "platform/window/Clipboard.h"
#include "platform/window/Input.h"
#include "platform/window/MessageQueue.h"
#include "resources/ResourceIds.h"
#include "store/CNodeInfoRec.h"
#include "store/CPreferences.h"
#include "store/CatalogColumns.h"
#include "ui/CGridEdit.h"
#include "ui/CKadDragObjPIDL.h"
#include "ui/CKadDragObjReg.h"
#include "ui/CSisPopupWnd.h"
#include "ui/CUiHostServices.h"
#include "ui/ConfirmDelete.h"
#include "ui/MainWindowMessages.h"
#include "ui/PopupImages.h"
#include "ui/ShellItemsBackup.h"

#include <algorithm>

IMPLEMENT_DYNAMIC(CSisPopupCtrl, CPopupCtrl)

BEGIN_MESSAGE_MAP(CSisPopupCtrl, CPopupCtrl)
    ON_WM_CREATE()
    ON_WM_DESTROY()
    ON_WM_INITMENUPOPUP()
    ON_NOTIFY_REFLECT(LVN_ENDLABELEDIT, &CSisPopupCtrl::OnEndLabelEdit)
    ON_MESSAGE(CSisPopupCtrl::WM_EDIT_AGAIN, &CSisPopupCtrl::OnEditAgain)
END_MESSAGE_MAP()

namespace {

constexpr int IMAGE_WIDTH = 18;
constexpr int ARROW_WIDTH = 16;
constexpr COLORREF IMAGE_MASK = RGB(255, 0, 255);
constexpr int EDITOR_GAP = 2;    // between the image and the editor
constexpr int EDITOR_MARGIN = 4; // added to the tallest text

/* Editors whose edit ended. The one that reported the end is still in its
   focus-loss handler (which may even have closed the popup and deleted the
   list), so editors are deleted only once no end is being handled. */
std::vector<std::unique_ptr<CGridEdit>>& RetiredEditors()
{
    static std::vector<std::unique_ptr<CGridEdit>> s_editors;
    return s_editors;
}
int s_nEndsRunning = 0;

void DeleteRetiredEditors()
{
    if (s_nEndsRunning == 0)
        RetiredEditors().clear();
}

const CSortSpec BY_NAME { COLUMN_NAME, 1, 1 };

} // namespace

CSisPopupCtrl::CSisPopupCtrl()
    : m_pImages(SharedPopupImages(IDB_SYSTEM_IMAGES, IMAGE_WIDTH, IMAGE_MASK))
    , m_pArrows(SharedPopupImages(IDB_POPUP_ARROWS, ARROW_WIDTH, IMAGE_MASK))
{
}

CSisPopupCtrl::~CSisPopupCtrl()
{
    if (m_pEditor)
        RetiredEditors().push_back(std::move(m_pEditor));
    DeleteRetiredEditors();
}

/* Rows. */

void CSisPopupCtrl::FillItems(const CNodeRec* pNode, BOOL bAddTop3, BOOL bAddTop4, BOOL bAddSelf)
{
    ResetContent();
    m_nodes.clear();
    m_allowChild.clear();
    m_nWidest = m_nTallestText = 0;
    if (pNode) {
        if (bAddSelf)
            AddNode(std::unique_ptr<CNodeRec>(pNode->Clone()), FALSE);
        for (auto& pChild : pNode->GetSortedChildren(&BY_NAME))
            AddNode(std::move(pChild), TRUE);
    } else if (CCatalog* pBin = GetHostRecycleCatalog()) {
        std::unique_ptr<CNodeRec> pRoot(CNodeRec::NewRootNodeRec(pBin));
        if (pRoot) {
            CNodeRecArray children = pRoot->GetSortedChildren(&BY_NAME);
            AddNode(std::move(pRoot), FALSE);
            for (auto& pChild : children)
                AddNode(std::move(pChild), TRUE);
        }
        for (CNodeRec* pTop : { CNodeRec::NewTopNodeRec3(pBin), CNodeRec::NewTopNodeRec4(pBin) }) {
            std::unique_ptr<CNodeRec> pOwned(pTop);
            if (pOwned && pOwned->CountDocuments() > 0)
                AddNode(std::move(pOwned), TRUE);
        }
    }
    CCatalog* pMain = GetHostMainCatalog();
    if (bAddTop3 && pMain)
        AddNode(std::unique_ptr<CNodeRec>(CNodeRec::NewTopNodeRec3(pMain)), TRUE);
    if (bAddTop4 && pMain)
        AddNode(std::unique_ptr<CNodeRec>(CNodeRec::NewTopNodeRec4(pMain)), TRUE);
}

void CSisPopupCtrl::AddNode(std::unique_ptr<CNodeRec> pNode, BOOL bAllowChild)
{
    if (!pNode)
        return;
    const BOOL bHasChild = bAllowChild && std::unique_ptr<CNodeRec>(pNode->GetFirstChild()) != nullptr;
    const CString strName = pNode->GetName();
    m_nodes.push_back(std::move(pNode));
    AddItem(strName, static_cast<DWORD>(m_nodes.size() - 1), bHasChild, TRUE);
}

CNodeRec* CSisPopupCtrl::GetNode(int nIndex) const
{
    if (nIndex < 0 || nIndex >= GetCount())
        return nullptr;
    const size_t nPosition = GetItemValue(nIndex);
    return nPosition < m_nodes.size() ? m_nodes[nPosition].get() : nullptr;
}

void* CSisPopupCtrl::GetItemResult(int nIndex)
{
    const CNodeRec* pNode = GetNode(nIndex);
    return pNode ? pNode->Clone() : nullptr;
}

CPopupWnd* CSisPopupCtrl::CreateChildPopup(int nIndex)
{
    const CNodeRec* pNode = GetNode(nIndex);
    if (!pNode || !ItemHasChild(nIndex))
        return nullptr;
    auto pChild = std::make_unique<CSisPopupWnd>();
    if (pChild->Create(this) != 1)
        return nullptr;
    pChild->GetSisList().FillItems(pNode, FALSE, FALSE, FALSE);
    return pChild.release();
}

/* Drawing. */

void CSisPopupCtrl::MeasureItem(LPMEASUREITEMSTRUCT lpMeasureItemStruct)
{
    CString strText;
    GetText(static_cast<int>(lpMeasureItemStruct->itemID), strText);
    const SIZE text = m_look.MeasureText(this, strText);
    const SIZE image = ImageSizeOf(m_pImages);
    lpMeasureItemStruct->itemWidth = static_cast<UINT>(image.cx + text.cx + CPopupRowLook::ROW_PAD);
    lpMeasureItemStruct->itemHeight = static_cast<UINT>(std::max(image.cy, text.cy));
    m_nWidest = std::max(m_nWidest, static_cast<int>(lpMeasureItemStruct->itemWidth));
    m_nTallestText = std::max(m_nTallestText, static_cast<int>(text.cy));
}

void CSisPopupCtrl::DrawItem(LPDRAWITEMSTRUCT lpDrawItemStruct)
{
    const CNodeRec* pNode = GetNode(static_cast<int>(lpDrawItemStruct->itemID));
    if (!pNode)
        return;
    const int nSelected = CPopupRowLook::IsSelected(lpDrawItemStruct) ? 1 : 0;
    int nImage = std::max<LONG>(pNode->GetKind(), 0) + nSelected;
    if (m_pImages && nImage >= m_pImages->GetImageCount())
        nImage = nSelected; // a number beyond the pictures: the first one
    CPopupRowLook::CRow row;
    row.pImages = m_pImages;
    row.nImage = nImage;
    row.imageSize = ImageSizeOf(m_pImages);
    row.pArrows = m_pArrows;
    row.nArrow = ARROW_IMAGE;
    m_look.DrawListRow(*this, lpDrawItemStruct, row);
}

/* The row menu. */

CWnd* CSisPopupCtrl::RootHost()
{
    CPopupCtrl* pList = this;
    while (pList->HasParentPopup())
        pList = static_cast<CPopupCtrl*>(pList->GetParentPopup());
    return pList->GetHost();
}

BOOL CSisPopupCtrl::OnRightClick()
{
    const int nIndex = GetCurSel();
    CNodeRec* pNode = GetNode(nIndex);
    if (!pNode || !IsItemEnabled(nIndex) || pNode->GetKind() == 3 || pNode->GetKind() == 4)
        return FALSE;
    CloseChild();
    CancelChildTimer();
    CMenu menu;
    if (!menu.LoadMenu(IDR_TREE_NODE_MENU))
        return FALSE;
    POINT cursor {};
    GetCursorPos(&cursor);
    const UINT nCommand = static_cast<UINT>(
        menu.GetSubMenu(0)->TrackPopupMenu(TPM_RIGHTBUTTON | TPM_RETURNCMD, cursor.x, cursor.y, this));
    if (nCommand == 0 || nCommand == ID_DOC_RENAME) {
        // The chain stays open: its root takes back the capture the menu took.
        if (CWnd* pRoot = RootHost(); pRoot && pRoot->GetSafeHwnd())
            pRoot->SetCapture();
        if (nCommand == ID_DOC_RENAME)
            BeginEditLabel(nIndex, nullptr);
        return FALSE;
    }

    const std::unique_ptr<CNodeRec> pCopy(pNode->Clone());
    OnMouseLeave();
    Close(TRUE); // this list may be gone now
    if (pCopy)
        RunCommand(nCommand, *pCopy);
    return TRUE;
}

void CSisPopupCtrl::RunCommand(UINT nCommand, CNodeRec& node)
{
    CUiHostServices* pHost = GetUiHostServices();
    switch (nCommand) {
    case ID_DOC_REMOVE_FROM_GROUP: {
        const std::unique_ptr<CNodeRec> pParent(node.GetParent());
        CCatalogRecord* items[] = { &node };
        if (pParent && ConfirmDeleteItems(pParent.get(), items, &AskConfirmDelete))
            PostToMainWindow(MSG_REDO);
        break;
    }
    case ID_DOC_RECYCLE: {
        std::vector<std::unique_ptr<CCatalogRecord>> entries;
        entries.emplace_back(node.Clone());
        if (MoveToRecycleBin(GetHostMainCatalog(), GetHostRecycleCatalog(), entries, FALSE))
            PostToMainWindow(MSG_REDO);
        break;
    }
    case ID_DOC_PROPERTIES:
        if (pHost && pHost->RunGroupProperties(node))
            PostToMainWindow(MSG_REREAD);
        break;
    case ID_CATALOG_NEW_GROUP:
        if (pHost && pHost->RunNewGroup(node))
            PostToMainWindow(MSG_REDO);
        break;
    case ID_CATALOG_KEYWORDS:
        if (pHost && pHost->RunKeywordProperties(node))
            PostToMainWindow(MSG_REREAD);
        break;
    case ID_EDIT_COPY:
        CopyItem(PAYLOAD_COPY, &node);
        break;
    case ID_EDIT_CUT:
        CopyItem(PAYLOAD_MOVE, &node);
        break;
    case ID_EDIT_PASTE:
        PasteItems(&node);
        break;
    default:
        break;
    }
}

void CSisPopupCtrl::OnInitMenuPopup(CMenu* pPopupMenu, UINT /*nIndex*/, BOOL /*bSysMenu*/)
{
    const UINT nFormat = thePreferences.m_nClipboardFormat;
    const BOOL bPayload = nFormat && IsClipboardFormatAvailable(nFormat);
    pPopupMenu->EnableMenuItem(ID_EDIT_PASTE, MF_BYCOMMAND | (bPayload ? MF_ENABLED : MF_GRAYED));
}

/* The clipboard. */

BOOL CSisPopupCtrl::CopyItem(UINT nOperation, const CNodeRec* pNode)
{
    if (!pNode)
        return FALSE;
    const std::unique_ptr<CNodeRec> pParent(pNode->GetParent());
    const std::unique_ptr<CNodeRec> pItem(pNode->Clone());
    CKadDragObjReg payload;
    payload.SetSource(pParent.get());
    payload.AddItem(pItem.get(), 0);
    return payload.CopyToClipboard(static_cast<int>(nOperation));
}

BOOL CSisPopupCtrl::PasteItems(CNodeRec* pNode)
{
    CKadDragObjReg payload;
    const int nOperation = pNode ? payload.PasteFromClipboard() : 0;
    if (!nOperation || !DropDocuments(pNode, payload.ToPayload(nOperation), nOperation))
        return FALSE;
    PostToMainWindow(MSG_REDO);
    if (nOperation == PAYLOAD_MOVE)
        CKadDragObjReg::ForgetClipboardPayload();
    return TRUE;
}

/* Drops. */

CNodeRec* CSisPopupCtrl::DropTargetNode() const
{
    const int nIndex = GetCurSel();
    return nIndex >= 0 && IsItemEnabled(nIndex) ? GetNode(nIndex) : nullptr;
}

int CSisPopupCtrl::OnDragOver(CKadDragObj* pPayload, UINT nKeyState, int x, int y)
{
    CPopupCtrl::OnDragOver(pPayload, nKeyState, x, y);
    const CNodeRec* pTarget = DropTargetNode();
    if (!pTarget || !pPayload)
        return DROPEFFECT_NONE;
    if (pPayload->GetKind() == CKadDragObj::KIND_SHELL_ITEMS)
        return DROPEFFECT_COPY;
    if (pPayload->GetKind() != CKadDragObj::KIND_CATALOG_RECORDS)
        return DROPEFFECT_NONE;
    const CCatalogRecord* pSource = static_cast<CKadDragObjReg*>(pPayload)->GetSource();
    const BOOL bOwnEntries
        = pSource && pSource->GetDatabase() == pTarget->GetDatabase() && pSource->GetRef() == pTarget->GetRef();
    return bOwnEntries ? DROPEFFECT_NONE : DROPEFFECT_MOVE;
}

int CSisPopupCtrl::EndDragMode(CKadDragObj* pPayload, int nEffect)
{
    const CNodeRec* pSelected = DropTargetNode();
    const std::unique_ptr<CNodeRec> pTarget(pSelected ? pSelected->Clone() : nullptr);
    CPopupCtrl::EndDragMode(pPayload, nEffect); // this list may be gone now
    BOOL bDone = FALSE;
    if (pTarget && pPayload && pPayload->GetKind() == CKadDragObj::KIND_CATALOG_RECORDS) {
        const int nOperation = nEffect == DROPEFFECT_MOVE ? PAYLOAD_MOVE : PAYLOAD_COPY;
        bDone = DropDocuments(pTarget.get(), static_cast<CKadDragObjReg*>(pPayload)->ToPayload(nOperation), nOperation);
    } else if (pTarget && pPayload && pPayload->GetKind() == CKadDragObj::KIND_SHELL_ITEMS) {
        bDone = BackupDroppedShellItems(*pTarget, *static_cast<CKadDragObjPIDL*>(pPayload));
    }
    if (bDone)
        PostToMainWindow(MSG_REDO);
    return bDone;
}

/* Renaming. */

void CSisPopupCtrl::BeginEditLabel(int nIndex, LPCTSTR pszText)
{
    DeleteRetiredEditors();
    if (m_pEditor)
        RetiredEditors().push_back(std::move(m_pEditor));
    RECT row {};
    if (GetItemRect(nIndex, &row) == LB_ERR)
        return;
    CString strText;
    if (pszText)
        strText = pszText;
    else
        GetText(nIndex, strText);
    const RECT image = CPopupRowLook::ImageRect(row, ImageSizeOf(m_pImages));
    const int nHeight = m_nTallestText + EDITOR_MARGIN;
    const int nTop = row.top + (row.bottom - row.top - nHeight) / 2;
    const RECT rect { image.right + EDITOR_GAP, nTop, row.right, nTop + nHeight };
    m_nEditItem = nIndex;
    m_pEditor = std::make_unique<CGridEdit>(nIndex, 0, strText);
    if (!m_pEditor->Create(WS_CHILD | WS_VISIBLE | WS_BORDER | ES_AUTOHSCROLL, rect, this, ID_EDITOR)) {
        m_pEditor.reset();
        return;
    }
    m_pEditor->LimitText(EDITOR_LIMIT);
    m_pEditor->FitToText();
}

void CSisPopupCtrl::OnEndLabelEdit(NMHDR* pNMHDR, LRESULT* pResult)
{
    *pResult = 0;
    if (!m_pEditor)
        return; // an editor retired before
    const auto* pInfo = reinterpret_cast<const NMLVDISPINFO*>(pNMHDR);
    const CString strName = pInfo->item.pszText ? pInfo->item.pszText : "";
    const int nItem = m_nEditItem;
    ++s_nEndsRunning;
    // Still the focus's window while its focus-loss handler runs: it stays
    // shown until it goes with the list or a new edit replaces it.
    RetiredEditors().push_back(std::move(m_pEditor));
    m_nEditItem = -1;
    CNodeRec* pNode = GetNode(nItem);
    if (pNode && !strName.IsEmpty() && strName != pNode->GetName()) {
        const std::unique_ptr<CNodeRec> pParent(pNode->GetParent());
        const CNodeRecArray siblings = pParent ? pParent->GetChildren() : CNodeRecArray {};
        const BOOL bTaken = std::any_of(siblings.begin(), siblings.end(), [&](const auto& pSibling) {
            return pSibling && pSibling->GetRef() != pNode->GetRef() && pSibling->GetName().CompareNoCase(strName) == 0;
        });
        if (bTaken) {
            AfxMessageBox(IDS_NAME_TAKEN, MB_OK | MB_ICONEXCLAMATION);
            // Once the focus change that ended this edit is over.
            m_strEditAgain = strName;
            PostMessage(WM_EDIT_AGAIN, static_cast<WPARAM>(nItem));
            --s_nEndsRunning;
            return;
        }
        CNodeInfo info {};
        if (pNode->GetInfoText(&info)) {
            lstrcpyn(info.szName, strName, sizeof(info.szName));
            if (pNode->UpdateInfo(info))
                PostToMainWindow(MSG_REDO);
        }
    }
    OnMouseLeave();
    Close(TRUE); // this list may be gone now
    --s_nEndsRunning;
}

LRESULT CSisPopupCtrl::OnEditAgain(WPARAM wParam, LPARAM /*lParam*/)
{
    BeginEditLabel(static_cast<int>(wParam), m_strEditAgain);
    return 0;
}

/* Handlers. */

int CSisPopupCtrl::OnCreate(LPCREATESTRUCT lpCreateStruct)
{
    if (CPopupCtrl::OnCreate(lpCreateStruct) == -1)
        return -1;
    m_nWidest = m_nTallestText = 0;
    m_nodes.clear();
    SetFont(&m_look.NormalFont(), FALSE);
    return 0;
}

void CSisPopupCtrl::OnDestroy()
{
    if (m_pEditor)
        RetiredEditors().push_back(std::move(m_pEditor));
    m_nodes.clear();
    CPopupCtrl::OnDestroy();
}
