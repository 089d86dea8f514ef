#include "platform/shell/BrowseForFolder.h"

#include "platform/base/TextFunctions.h"
#include "platform/controls/ButtonControl.h"
#include "platform/controls/ListBoxControl.h"
#include "platform/controls/StandardControls.h"
#include "platform/controls/StaticControl.h"
#include "platform/shell/NamespaceItems.h"
#include "platform/shell/ShellFileInfo.h"
#include "platform/window/Dialog.h"
#include "platform/window/MessageQueue.h"
#include "platform/window/Window.h"

#include <cstring>

namespace {

// What the dialog works on.
struct CBrowseState {
    BROWSEINFO* pInfo { nullptr };
    CItemPath root;
    CItemPath current;
    std::vector<CShellItem> children; // of the current folder, as listed
    CItemPath chosen;
};

bool IsFolderItem(const CShellItem& item)
{
    return item.eKind == EItemKind::VirtualFolder || item.eKind == EItemKind::Drive || item.eKind == EItemKind::Share
        || item.eKind == EItemKind::Folder;
}

void Fill(HWND hDlg, CBrowseState& state)
{
    std::string strPath = ProgramPathOfItems(state.current);
    if (strPath.empty())
        strPath = DisplayNameOfItems(state.current, SHGDN_NORMAL);
    SetDlgItemText(hDlg, IDC_BROWSE_PATH, strPath.c_str());
    SHCONTF grfFlags = SHCONTF_FOLDERS | ((state.pInfo->ulFlags & BIF_BROWSEINCLUDEFILES) ? SHCONTF_NONFOLDERS : 0);
    state.children.clear();
    static_cast<void>(ChildrenOfItems(state.current, grfFlags, state.children)); // an unreadable folder lists nothing
    HWND hList = GetDlgItem(hDlg, IDC_BROWSE_LIST);
    SendMessage(hList, LB_RESETCONTENT, 0, 0);
    CItemPath item = state.current;
    for (const CShellItem& child : state.children) {
        item.push_back(child);
        std::string strName = DisplayNameOfItems(item, SHGDN_NORMAL);
        item.pop_back();
        SendMessage(hList, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(strName.c_str()));
    }
    EnableWindow(GetDlgItem(hDlg, IDC_BROWSE_UP), state.current.size() > state.root.size());
}

void Enter(HWND hDlg, CBrowseState& state, int nIndex)
{
    if (nIndex < 0 || static_cast<size_t>(nIndex) >= state.children.size() || !IsFolderItem(state.children[nIndex]))
        return;
    state.current.push_back(state.children[nIndex]);
    Fill(hDlg, state);
}

INT_PTR CALLBACK BrowseProc(HWND hDlg, UINT uMsg, WPARAM wParam, LPARAM lParam)
{
    if (uMsg == WM_INITDIALOG) {
        SetWindowLongPtr(hDlg, DWLP_USER, lParam);
        Fill(hDlg, *reinterpret_cast<CBrowseState*>(lParam));
        return TRUE;
    }
    auto* pState = reinterpret_cast<CBrowseState*>(GetWindowLongPtr(hDlg, DWLP_USER));
    if (uMsg != WM_COMMAND || !pState)
        return FALSE;
    int nSelected = static_cast<int>(SendDlgItemMessage(hDlg, IDC_BROWSE_LIST, LB_GETCURSEL, 0, 0));
    switch (LOWORD(wParam)) {
    case IDC_BROWSE_LIST:
        if (HIWORD(wParam) == LBN_DBLCLK)
            Enter(hDlg, *pState, nSelected);
        return TRUE;
    case IDC_BROWSE_UP:
        if (pState->current.size() > pState->root.size()) {
            pState->current.pop_back();
            Fill(hDlg, *pState);
        }
        return TRUE;
    case IDOK:
        pState->chosen = pState->current;
        if (nSelected >= 0 && static_cast<size_t>(nSelected) < pState->children.size())
            pState->chosen.push_back(pState->children[nSelected]);
        EndDialog(hDlg, IDOK);
        return TRUE;
    case IDCANCEL:
        EndDialog(hDlg, IDCANCEL);
        return TRUE;
    default:
        return FALSE;
    }
}

DialogTemplate BrowseTemplate(const char* pszTitle)
{
    DialogTemplate dialog;
    dialog.dwStyle = WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME | DS_SETFONT | DS_CENTER;
    dialog.cx = 220;
    dialog.cy = 200;
    dialog.nPointSize = 8;
    dialog.strFaceName = "MS Shell Dlg";
    dialog.strCaption = "Browse for Folder";
    auto control
        = [&](int nId, DWORD dwStyle, SHORT x, SHORT y, SHORT cx, SHORT cy, const char* pszClass, const char* pszText) {
              dialog.controls.push_back(
                  { static_cast<DWORD>(nId), WS_CHILD | WS_VISIBLE | dwStyle, 0, x, y, cx, cy, pszClass, pszText });
          };
    control(IDC_BROWSE_TITLE, SS_LEFT | SS_NOPREFIX, 7, 7, 206, 20, "Static", pszTitle ? pszTitle : "");
    control(IDC_BROWSE_PATH, SS_LEFT | SS_NOPREFIX, 7, 29, 206, 10, "Static", "");
    control(IDC_BROWSE_LIST, LBS_NOTIFY | LBS_NOINTEGRALHEIGHT | WS_VSCROLL | WS_BORDER | WS_TABSTOP | WS_GROUP, 7, 42,
        206, 130, "ListBox", "");
    control(IDC_BROWSE_UP, BS_PUSHBUTTON | WS_TABSTOP | WS_GROUP, 7, 179, 50, 14, "Button", "&Up");
    control(IDOK, BS_DEFPUSHBUTTON | WS_TABSTOP, 109, 179, 50, 14, "Button", "OK");
    control(IDCANCEL, BS_PUSHBUTTON | WS_TABSTOP, 163, 179, 50, 14, "Button", "Cancel");
    return dialog;
}

} // namespace

LPITEMIDLIST SHBrowseForFolder(LPBROWSEINFO lpbi)
{
    if (!lpbi || !RegisterStandardControls())
        return nullptr;
    CBrowseState state;
    state.pInfo = lpbi;
    if (lpbi->pidlRoot && FAILED(DecodeShellItems(lpbi->pidlRoot, EItemPlace::Desktop, state.root)))
        return nullptr;
    if (!state.root.empty() && !IsFolderItem(state.root.back()))
        return nullptr;
    state.current = state.root;
    DialogTemplate dialog = BrowseTemplate(lpbi->lpszTitle);
    INT_PTR nResult
        = DialogBoxIndirectParam(nullptr, &dialog, lpbi->hwndOwner, BrowseProc, reinterpret_cast<LPARAM>(&state));
    if (nResult != IDOK)
        return nullptr;
    LPITEMIDLIST pidl = AllocIdList(state.chosen);
    if (pidl && lpbi->pszDisplayName) {
        std::string strName = DisplayNameOfItems(state.chosen, SHGDN_NORMAL);
        Utf8CopyToField(lpbi->pszDisplayName, MAX_PATH, strName.c_str(), FieldEnd::NulTerminated);
    }
    SHFILEINFO info {};
    if (pidl && SHGetFileInfo(reinterpret_cast<LPCTSTR>(pidl), 0, &info, sizeof info, SHGFI_PIDL | SHGFI_SYSICONINDEX))
        lpbi->iImage = info.iIcon;
    return pidl;
}
