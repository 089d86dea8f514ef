#include "ui/CPIDLPopupCtrl.h"

#include "catalog/CInfoPIDL.h"
#include "catalog/ShellItemIds.h"
#include "platform/base/Volumes.h"
#include "platform/framework/AfxMessageBox.h"
#include "platform/framework/CMenu.h"
#include "platform/framework/MessageMap.h"
#include "platform/window/Input.h"
#include "resources/ResourceIds.h"
#include "store/CDocumentRec.h"
#include "store/DocumentBackup.h"
#include "store/FileHelpers.h"
#include "store/ResString.h"
#include "ui/CKadDragObjReg.h"
#include "ui/CUiHostServices.h"
#include "ui/MainWindowMessages.h"
#include "ui/PopupImages.h"

#include <algorithm>
#include <cctype>
#include <memory>

IMPLEMENT_DYNAMIC(CPIDLPopupCtrl, CPopupCtrl)

BEGIN_MESSAGE_MAP(CPIDLPopupCtrl, CPopupCtrl)
    ON_WM_DESTROY()
END_MESSAGE_MAP()

namespace {

constexpr int ARROW_WIDTH = 16;
constexpr COLORREF IMAGE_MASK = RGB(255, 0, 255);
constexpr int DRIVE_ROOT_LENGTH = 3; // "c:\"

// The name lower-cased with its first character upper-cased.
CString RowText(CString strName)
{
    strName.MakeLower();
    if (!strName.IsEmpty())
        strName.SetAt(0, static_cast<char>(std::toupper(static_cast<unsigned char>(strName[0]))));
    return strName;
}

} // namespace

CPIDLPopupCtrl::CPIDLPopupCtrl()
    : m_pArrows(SharedPopupImages(IDB_POPUP_ARROWS, ARROW_WIDTH, IMAGE_MASK))
{
    SHGetMalloc(&m_pMalloc);
}

CPIDLPopupCtrl::~CPIDLPopupCtrl()
{
    FreeItems();
    if (m_pMalloc)
        m_pMalloc->Release();
}

/* Rows. */

void CPIDLPopupCtrl::FreeItems()
{
    for (CItem& item : m_items) {
        m_pMalloc->Free(item.pidlRelative);
        m_pMalloc->Free(item.pidlAbsolute);
    }
    m_items.clear();
    if (m_pFolder) {
        m_pFolder->Release();
        m_pFolder = nullptr;
    }
}

void CPIDLPopupCtrl::FillFromPIDL(LPCITEMIDLIST pidlFolder, DWORD dwDriveTypeMask)
{
    m_nWidest = 0;
    if (dwDriveTypeMask == MASK_SELF) {
        LPITEMIDLIST pidlRelative = nullptr;
        IShellFolder* pParent = nullptr;
        if (FAILED(BindParentFolder(pidlFolder, IID_IShellFolder, reinterpret_cast<void**>(&pParent), &pidlRelative)))
            return;
        m_pFolder = pParent;
        CString strName;
        GetDisplayNameOfPIDL(m_pFolder, pidlRelative, SHGDN_NORMAL, strName);
        AddShellRow(RowText(strName), pidlRelative, CopyPIDL(m_pMalloc, pidlFolder));
        return;
    }
    IShellFolder* pDesktop = nullptr;
    if (FAILED(SHGetDesktopFolder(&pDesktop)))
        return;
    if (GetPIDLSize(pidlFolder) <= sizeof(USHORT))
        m_pFolder = pDesktop;
    else if (FAILED(
                 pDesktop->BindToObject(pidlFolder, nullptr, IID_IShellFolder, reinterpret_cast<void**>(&m_pFolder))))
        m_pFolder = nullptr;
    if (m_pFolder != pDesktop)
        pDesktop->Release();
    IEnumIDList* pEnum = nullptr;
    const HWND hCapture = ::GetCapture();
    const BOOL bListed = m_pFolder
        && m_pFolder->EnumObjects(nullptr, SHCONTF_FOLDERS | SHCONTF_INCLUDEHIDDEN, &pEnum) == S_OK && pEnum;
    // The enumeration may have taken the capture (a network logon); its holder gets it back.
    if (hCapture && ::GetCapture() != hCapture)
        ::SetCapture(hCapture);
    LPITEMIDLIST pidlItem = nullptr;
    while (bListed && pEnum->Next(1, &pidlItem, nullptr) == S_OK) {
        if (dwDriveTypeMask != MASK_ALL) {
            CString strParsing;
            GetDisplayNameOfPIDL(m_pFolder, pidlItem, SHGDN_FORPARSING, strParsing);
            if (strParsing.GetLength() == DRIVE_ROOT_LENGTH) {
                const UINT nType = GetDriveType(strParsing);
                if (nType >= 32 || !(dwDriveTypeMask & (1u << nType))) {
                    m_pMalloc->Free(pidlItem);
                    continue;
                }
            }
        }
        CString strName;
        GetDisplayNameOfPIDL(m_pFolder, pidlItem, SHGDN_NORMAL, strName);
        AddShellRow(RowText(strName), pidlItem, ConcatPIDLs(pidlFolder, pidlItem));
    }
    if (pEnum)
        pEnum->Release();
    if (GetCount() == 0 && !HasParentPopup())
        AddItem(GetResString(IDS_NO_FOLDERS), NO_ITEM, FALSE, FALSE);
}

void CPIDLPopupCtrl::AddShellRow(LPCTSTR pszText, LPITEMIDLIST pidlRelative, LPITEMIDLIST pidlAbsolute)
{
    const CItem item { pidlRelative, pidlAbsolute };
    const BOOL bHasChild = pidlRelative && pidlAbsolute && (Attributes(item, SFGAO_HASSUBFOLDER) & SFGAO_HASSUBFOLDER);
    m_items.push_back(item);
    AddItem(pszText, static_cast<DWORD>(m_items.size() - 1), bHasChild, TRUE);
}

const CPIDLPopupCtrl::CItem* CPIDLPopupCtrl::Item(int nIndex) const
{
    if (nIndex < 0 || nIndex >= GetCount())
        return nullptr;
    const size_t nPosition = GetItemValue(nIndex);
    return nPosition < m_items.size() ? &m_items[nPosition] : nullptr;
}

SFGAOF CPIDLPopupCtrl::Attributes(const CItem& item, SFGAOF dwAsked) const
{
    SFGAOF dwAttributes = dwAsked;
    LPCITEMIDLIST items[] = { item.pidlRelative };
    if (!m_pFolder || FAILED(m_pFolder->GetAttributesOf(1, items, &dwAttributes)))
        return 0;
    return dwAttributes & dwAsked;
}

CString CPIDLPopupCtrl::GetParsingName(int nIndex) const
{
    CString strName;
    if (const CItem* pItem = Item(nIndex); pItem && m_pFolder)
        GetDisplayNameOfPIDL(m_pFolder, pItem->pidlRelative, SHGDN_FORPARSING, strName);
    return strName;
}

void* CPIDLPopupCtrl::GetItemResult(int nIndex)
{
    const CItem* pItem = Item(nIndex);
    if (!pItem)
        return nullptr;
    auto* pInfo = new CInfoPIDL;
    FillInfoPIDL(m_pMalloc, pInfo, m_pFolder, pItem->pidlRelative, pItem->pidlAbsolute);
    return pInfo;
}

CPopupWnd* CPIDLPopupCtrl::CreateChildPopup(int nIndex)
{
    const CItem* pItem = Item(nIndex);
    if (!pItem || !pItem->pidlAbsolute)
        return nullptr;
    auto pChild = std::make_unique<CPIDLPopupWnd>();
    if (pChild->Create(this) != 1)
        return nullptr;
    pChild->GetPIDLList().FillFromPIDL(pItem->pidlAbsolute, MASK_ALL);
    if (pChild->GetPIDLList().GetCount() == 0) {
        ClearItemChild(nIndex);
        InvalidateRect(nullptr);
        return nullptr; // the window goes with the object
    }
    return pChild.release();
}

/* Drawing. */

void CPIDLPopupCtrl::MeasureItem(LPMEASUREITEMSTRUCT lpMeasureItemStruct)
{
    m_look.MeasureListRow(
        *this, lpMeasureItemStruct, ImageSizeOf(GetSystemImageList(1)), CPopupRowLook::ROW_MARGIN, m_nWidest);
}

void CPIDLPopupCtrl::DrawItem(LPDRAWITEMSTRUCT lpDrawItemStruct)
{
    const CItem* pItem = Item(static_cast<int>(lpDrawItemStruct->itemID));
    CPopupRowLook::CRow row;
    row.pImages = GetSystemImageList(1);
    row.nImage = pItem && pItem->pidlAbsolute ? GetPIDLIconIndex(pItem->pidlAbsolute, FALSE, TRUE) : -1;
    row.imageSize = ImageSizeOf(row.pImages);
    row.pArrows = m_pArrows;
    m_look.DrawListRow(*this, lpDrawItemStruct, row);
}

/* The row menu. */

BOOL CPIDLPopupCtrl::OnRightClick()
{
    const int nIndex = GetCurSel();
    const CItem* pItem = Item(nIndex);
    if (!pItem || !IsItemEnabled(nIndex))
        return FALSE;
    CloseChild();
    CancelChildTimer();
    CMenu menu;
    if (!menu.LoadMenu(IDM_SHELL_FOLDER_ROW))
        return FALSE;
    POINT cursor {};
    GetCursorPos(&cursor);
    const UINT nCommand = static_cast<UINT>(
        menu.GetSubMenu(0)->TrackPopupMenu(TPM_RIGHTBUTTON | TPM_RETURNCMD, cursor.x, cursor.y, this));
    const BOOL bFileSystem = (Attributes(*pItem, SFGAO_FILESYSTEM) & SFGAO_FILESYSTEM) != 0;
    CString strParent = GetParsingName(nIndex);
    strParent.MakeLower();
    OnMouseLeave();
    Close(TRUE); // this list may be gone now
    if (nCommand == ID_FOLDER_NEW && bFileSystem)
        if (CUiHostServices* pHost = GetUiHostServices())
            pHost->RunNewFolder(strParent);
    return TRUE;
}

/* Drops. */

int CPIDLPopupCtrl::OnDragOver(CKadDragObj* pPayload, UINT nKeyState, int x, int y)
{
    if (!pPayload || pPayload->GetKind() != CKadDragObj::KIND_CATALOG_RECORDS)
        return DROPEFFECT_NONE;
    CPopupCtrl::OnDragOver(pPayload, nKeyState, x, y);
    const int nIndex = GetCurSel();
    const CItem* pItem = Item(nIndex);
    if (!pItem || !IsItemEnabled(nIndex) || GetParsingName(nIndex).IsEmpty())
        return DROPEFFECT_NONE;
    if (Attributes(*pItem, SFGAO_REMOVABLE) & SFGAO_REMOVABLE)
        return (nKeyState & MK_SHIFT) ? DROPEFFECT_MOVE : DROPEFFECT_COPY;
    return (nKeyState & MK_CONTROL) ? DROPEFFECT_COPY : DROPEFFECT_MOVE;
}

int CPIDLPopupCtrl::EndDragMode(CKadDragObj* pPayload, int nEffect)
{
    const CString strTarget = GetParsingName(GetCurSel());
    CPopupCtrl::EndDragMode(pPayload, nEffect); // this list may be gone now
    if (!strTarget.IsEmpty())
        DropDocumentsIn(strTarget + "\\", pPayload, nEffect);
    return 0;
}

void CPIDLPopupCtrl::DropDocumentsIn(const CString& strFolder, CKadDragObj* pPayload, int nEffect)
{
    const DWORD dwFolder = CheckFolder(strFolder, FOLDER_WRITABLE | FOLDER_REMOVABLE);
    if (!(dwFolder & FOLDER_WRITABLE) || (dwFolder & (FOLDER_UNUSABLE | FOLDER_MISSING))) {
        CString strMessage;
        strMessage.Format(IDS_FOLDER_NOT_WRITABLE, strFolder);
        AfxMessageBox(strMessage, MB_OK | MB_ICONEXCLAMATION);
        return;
    }
    if (!pPayload || pPayload->GetKind() != CKadDragObj::KIND_CATALOG_RECORDS)
        return;
    const auto* pRecords = static_cast<CKadDragObjReg*>(pPayload);
    CPtrArray documents;
    for (int i = 0; i < pRecords->GetItemCount(); ++i)
        if (auto* pDocument = dynamic_cast<CDocumentRec*>(pRecords->GetItem(i).pRecord))
            documents.Add(pDocument);
    if (documents.GetSize() == 0)
        return;
    const BOOL bRemovable = (dwFolder & FOLDER_REMOVABLE) != 0;
    if (CopyDocumentsToFolder(GetHostMainCatalog(), &documents, strFolder, bRemovable, nEffect != DROPEFFECT_COPY))
        SendToMainWindow(MSG_REDO);
}

/* Handlers. */

void CPIDLPopupCtrl::OnDestroy()
{
    CPopupCtrl::OnDestroy();
    FreeItems();
}

CPIDLPopupWnd::CPIDLPopupWnd()
    : CPopupWnd("PIDLPopupWnd")
{
}
