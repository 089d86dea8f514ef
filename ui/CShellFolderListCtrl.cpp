#include "ui/CShellFolderListCtrl.h"

#include "catalog/ShellItemEnum.h"
#include "catalog/ShellItemIds.h"
#include "platform/base/CTime.h"
#include "platform/base/FileFind.h"
#include "platform/base/TextFunctions.h"
#include "platform/framework/CWaitCursor.h"
#include "platform/framework/MessageMap.h"
#include "platform/shell/ShellFileInfo.h"
#include "platform/window/Input.h"
#include "resources/ResourceIds.h"
#include "store/TextMatch.h"

#include <algorithm>

BEGIN_MESSAGE_MAP(CShellFolderListCtrl, CGridListCtrl)
    ON_NOTIFY_REFLECT(LVN_GETDISPINFO, &CShellFolderListCtrl::OnGetDispInfo)
    ON_WM_DESTROY()
END_MESSAGE_MAP()

namespace {

// What a fill walks: folders, files and hidden items.
constexpr SHCONTF FILL_FLAGS = SHCONTF_FOLDERS | SHCONTF_NONFOLDERS | SHCONTF_INCLUDEHIDDEN;
constexpr ULONGLONG BYTES_PER_KILOBYTE = 1024;

// The item's attributes among nAsked.
SFGAOF AttributesOf(IShellFolder* pFolder, LPCITEMIDLIST pidl, SFGAOF nAsked)
{
    SFGAOF nAttributes = nAsked;
    if (!pFolder || FAILED(pFolder->GetAttributesOf(1, &pidl, &nAttributes)))
        return 0;
    return nAttributes & nAsked;
}

// The text after the last backslash.
CString LastComponent(const CString& strName)
{
    const int nSlash = strName.ReverseFind('\\');
    return nSlash >= 0 ? strName.Mid(nSlash + 1) : strName;
}

// Lower case with the first character upper-cased.
CString Capitalized(CString strText)
{
    strText.MakeLower();
    if (!strText.IsEmpty()) {
        CString strFirst = strText.Left(1);
        strFirst.MakeUpper();
        strText = strFirst + strText.Mid(1);
    }
    return strText;
}

} // namespace

CShellFolderListCtrl::CShellFolderListCtrl()
{
    SHGetDesktopFolder(&m_pDesktop);
    SHGetMalloc(&m_pMalloc);
}

CShellFolderListCtrl::~CShellFolderListCtrl()
{
    if (m_pidlFolder)
        m_pMalloc->Free(m_pidlFolder);
    if (m_pDesktop)
        m_pDesktop->Release();
    if (m_pMalloc)
        m_pMalloc->Release();
}

BOOL CShellFolderListCtrl::Initialize()
{
    const BOOL bResult = CGridListCtrl::Initialize();
    ModifyStyle(0, LVS_SHAREIMAGELISTS);
    return bResult;
}

/* Rows. */

void CShellFolderListCtrl::ClearItems()
{
    for (int nItem = GetItemCount() - 1; nItem >= 0; --nItem) {
        if (CInfoPIDL* pInfo = GetShellItem(nItem)) {
            FreeInfoPIDL(m_pMalloc, pInfo);
            delete pInfo;
        }
    }
    DeleteAllItems();
}

void CShellFolderListCtrl::SetSystemImageList(int nWhich)
{
    SHFILEINFO info {};
    const UINT nFlags = SHGFI_SYSICONINDEX | (nWhich == LVSIL_SMALL ? SHGFI_SMALLICON : 0);
    const auto hList = reinterpret_cast<HIMAGELIST>(SHGetFileInfo("C:\\", 0, &info, sizeof(info), nFlags));
    SendMessage(LVM_SETIMAGELIST, static_cast<WPARAM>(nWhich), reinterpret_cast<LPARAM>(hList));
}

int CShellFolderListCtrl::InsertShellItem(
    int nIndex, IShellFolder* pParent, LPCITEMIDLIST pidlRelative, LPCITEMIDLIST pidlAbsolute)
{
    auto* pInfo = new CInfoPIDL;
    FillInfoPIDL(m_pMalloc, pInfo, pParent, pidlRelative, pidlAbsolute);
    const int nItem = InsertItem(LVIF_TEXT | LVIF_IMAGE | LVIF_PARAM, nIndex, LPSTR_TEXTCALLBACK, 0, 0, I_IMAGECALLBACK,
        reinterpret_cast<LPARAM>(pInfo));
    if (nItem < 0) {
        FreeInfoPIDL(m_pMalloc, pInfo);
        delete pInfo;
    }
    return nItem;
}

int CShellFolderListCtrl::InsertPath(int nIndex, LPCTSTR pszPath)
{
    LPITEMIDLIST pidl = nullptr;
    if (!m_pDesktop || FAILED(PathToPIDL(pszPath, &pidl, m_pDesktop)))
        return -1;
    const int nItem = InsertShellItem(nIndex, m_pDesktop, pidl, pidl);
    CoTaskMemFree(pidl);
    return nItem;
}

CInfoPIDL* CShellFolderListCtrl::GetShellItem(int nItem) const
{
    if (nItem < 0 || nItem >= GetItemCount())
        return nullptr;
    return reinterpret_cast<CInfoPIDL*>(GetItemData(nItem));
}

/* Filling. */

void CShellFolderListCtrl::Fill(LPCITEMIDLIST pidlFolder, const CString& strMask, BOOL bFileSystemOnly)
{
    CWaitCursor wait;
    if (m_pidlFolder)
        m_pMalloc->Free(m_pidlFolder);
    m_pidlFolder = CopyPIDL(m_pMalloc, pidlFolder);
    m_strMask = strMask;
    m_bFileSystemOnly = bFileSystemOnly;
    SetRedraw(FALSE);
    ClearItems();
    SetSystemImageList(LVSIL_SMALL);
    EnumFolderItems(m_pDesktop, m_pidlFolder, FILL_FLAGS, AddFolderItem, this, nullptr);
    RecalcLayout();
    SortItems(CompareItems, 0);
    SetRedraw(TRUE);
    UpdateWindow();
}

int CShellFolderListCtrl::AddFolderItem(IShellFolder* pFolder, LPCITEMIDLIST pidlItem, void* pUser)
{
    auto* pList = static_cast<CShellFolderListCtrl*>(pUser);
    const SFGAOF nAttributes = AttributesOf(pFolder, pidlItem, SFGAO_FILESYSTEM | SFGAO_FOLDER);
    if (pList->m_bFileSystemOnly && !(nAttributes & SFGAO_FILESYSTEM))
        return 1;
    if (!(nAttributes & SFGAO_FOLDER)) {
        CString strName;
        GetDisplayNameOfPIDL(pFolder, pidlItem, SHGDN_FORPARSING, strName);
        CString strLowerName = LastComponent(strName);
        strLowerName.MakeLower();
        CString strLowerMask = pList->m_strMask;
        strLowerMask.MakeLower();
        if (!MatchTextNoCase(strLowerName, strLowerMask))
            return 1;
    }
    LPITEMIDLIST pidlAbsolute = ConcatPIDLs(pList->m_pidlFolder, pidlItem);
    pList->InsertShellItem(pList->GetItemCount(), pFolder, pidlItem, pidlAbsolute);
    CoTaskMemFree(pidlAbsolute);
    return 1;
}

int CALLBACK CShellFolderListCtrl::CompareItems(LPARAM lParam1, LPARAM lParam2, LPARAM /*lParamSort*/)
{
    const auto* pFirst = reinterpret_cast<const CInfoPIDL*>(lParam1);
    const auto* pSecond = reinterpret_cast<const CInfoPIDL*>(lParam2);
    const bool bFirstFolder = AttributesOf(pFirst->m_pFolder, pFirst->m_pidlRelative, SFGAO_FOLDER) != 0;
    const bool bSecondFolder = AttributesOf(pSecond->m_pFolder, pSecond->m_pidlRelative, SFGAO_FOLDER) != 0;
    if (bFirstFolder != bSecondFolder)
        return bFirstFolder ? -1 : 1;
    CString strFirst;
    CString strSecond;
    GetDisplayNameOfPIDL(pFirst->m_pFolder, pFirst->m_pidlRelative, SHGDN_INFOLDER, strFirst);
    GetDisplayNameOfPIDL(pSecond->m_pFolder, pSecond->m_pidlRelative, SHGDN_INFOLDER, strSecond);
    return CompareNoCase(strFirst, strSecond);
}

/* Texts. */

CString CShellFolderListCtrl::SizeText(ULONGLONG nBytes)
{
    CString strSize;
    strSize.Format("%lluKB", (nBytes + BYTES_PER_KILOBYTE - 1) / BYTES_PER_KILOBYTE);
    return strSize;
}

CString CShellFolderListCtrl::ItemText(const CInfoPIDL& item, UINT nTitleID) const
{
    switch (nTitleID) {
    case IDS_SHELL_LIST_NAME: {
        CString strName;
        GetDisplayNameOfPIDL(item.m_pFolder, item.m_pidlRelative, SHGDN_NORMAL, strName);
        if (strName.IsEmpty())
            GetDisplayNameOfPIDL(item.m_pFolder, item.m_pidlRelative, SHGDN_INFOLDER, strName);
        return Capitalized(LastComponent(strName));
    }
    case IDS_SHELL_LIST_SIZE: {
        WIN32_FIND_DATA data {};
        if (AttributesOf(item.m_pFolder, item.m_pidlRelative, SFGAO_FOLDER)
            || FAILED(SHGetDataFromIDList(
                item.m_pFolder, item.m_pidlRelative, SHGDFIL_FINDDATA, &data, static_cast<int>(sizeof(data)))))
            return CString();
        return SizeText((static_cast<ULONGLONG>(data.nFileSizeHigh) << 32) | data.nFileSizeLow);
    }
    case IDS_SHELL_LIST_TYPE: {
        SHFILEINFO info {};
        SHGetFileInfo(
            reinterpret_cast<LPCTSTR>(item.m_pidlAbsolute), 0, &info, sizeof(info), SHGFI_PIDL | SHGFI_TYPENAME);
        return CString(info.szTypeName);
    }
    case IDS_SHELL_LIST_FOLDER: {
        CString strPath;
        GetDisplayNameOfPIDL(item.m_pFolder, item.m_pidlRelative, SHGDN_FORPARSING, strPath);
        const int nSlash = strPath.ReverseFind('\\');
        // A drive's own files lie in its root, which keeps its backslash.
        return nSlash < 0 ? CString() : strPath.Left(nSlash == 2 && strPath[1] == ':' ? nSlash + 1 : nSlash);
    }
    case IDS_SHELL_LIST_MODIFIED: {
        WIN32_FIND_DATA data {};
        if (FAILED(SHGetDataFromIDList(
                item.m_pFolder, item.m_pidlRelative, SHGDFIL_FINDDATA, &data, static_cast<int>(sizeof(data)))))
            return CString();
        return CTime(data.ftLastWriteTime).Format("%x %X");
    }
    default:
        return CString();
    }
}

/* Messages. */

void CShellFolderListCtrl::OnGetDispInfo(NMHDR* pNotify, LRESULT* pResult)
{
    auto* pInfo = reinterpret_cast<NMLVDISPINFO*>(pNotify);
    *pResult = 0;
    const CInfoPIDL* pItem = reinterpret_cast<const CInfoPIDL*>(pInfo->item.lParam);
    if (!pItem)
        pItem = GetShellItem(pInfo->item.iItem);
    if (!pItem)
        return;
    if (pInfo->item.mask & LVIF_IMAGE) {
        SHFILEINFO info {};
        SHGetFileInfo(reinterpret_cast<LPCTSTR>(pItem->m_pidlAbsolute), 0, &info, sizeof(info),
            SHGFI_PIDL | SHGFI_SYSICONINDEX | SHGFI_SMALLICON);
        pInfo->item.iImage = info.iIcon;
    }
    if ((pInfo->item.mask & LVIF_TEXT) && pInfo->item.pszText && pInfo->item.cchTextMax > 0) {
        const GridColumn* pColumn = GetGridColumn(pInfo->item.iSubItem);
        const CString strText = pColumn ? ItemText(*pItem, pColumn->nTitleID) : CString();
        Utf8CopyToField(
            pInfo->item.pszText, static_cast<size_t>(pInfo->item.cchTextMax), strText, FieldEnd::NulTerminated);
    }
}

void CShellFolderListCtrl::OnDestroy()
{
    ClearItems();
    CGridListCtrl::OnDestroy();
}

BOOL CShellFolderListCtrl::PreTranslateMessage(MSG* pMsg)
{
    if (pMsg->message == WM_KEYDOWN && (pMsg->wParam == VK_RETURN || pMsg->wParam == VK_ESCAPE)) {
        TranslateMessage(pMsg);
        DispatchMessage(pMsg);
        return TRUE;
    }
    return CGridListCtrl::PreTranslateMessage(pMsg);
}
