#include "ui/CDocContextMenu.h"

#include "catalog/CPendingDocs.h"
#include "catalog/ShellItemIds.h"
#include "platform/framework/CWinThread.h"
#include "platform/framework/CWnd.h"
#include "platform/window/Menu.h"
#include "resources/ResourceIds.h"
#include "store/CDocumentRec.h"
#include "store/ResString.h"
#include "ui/CSendToMenu.h"
#include "ui/CUiHostServices.h"

#include <array>

namespace {

// The command of each open action, by the record's open-action value.
constexpr std::array<UINT, 4> FILE_OPEN_COMMANDS { 57601, ID_DOC_OPEN_CHOSEN, ID_DOC_OPEN_ASSOCIATED,
    ID_DOC_OPEN_CHOOSER };
constexpr std::array<UINT, 5> MAIL_OPEN_COMMANDS { ID_DOC_MAIL_REPLY, ID_DOC_MAIL_REPLY_ALL, ID_DOC_MAIL_FORWARD,
    ID_DOC_MAIL_SEND_AS_NEW, ID_DOC_MAIL_COMPOSE };

// The place of the open actions within the menu to track.
constexpr int OPEN_ACTIONS_POSITION = 1;

constexpr UINT SHELL_MENU_FLAGS = CMF_NODEFAULT | CMF_VERBSONLY;

HWND MainWindow()
{
    CWnd* pMain = AfxGetMainWnd();
    return pMain ? pMain->GetSafeHwnd() : nullptr;
}

// The position of the item carrying nID in pMenu, -1 when there is none.
int FindCommand(const CMenu* pMenu, UINT nID)
{
    const int nCount = static_cast<int>(pMenu->GetMenuItemCount());
    for (int i = 0; i < nCount; ++i) {
        if (!pMenu->GetSubMenu(i) && pMenu->GetMenuItemID(i) == nID)
            return i;
    }
    return -1;
}

bool BlocksOpening(int nExpiryState)
{
    return nExpiryState == EXPIRY_MAIL_DELETED || nExpiryState == EXPIRY_NOT_FOUND
        || nExpiryState == EXPIRY_UNREACHABLE;
}

} // namespace

CDocContextMenu::CDocContextMenu(const CDocumentRec& document, CSendToMenu* pSendTo)
    : m_pDocument(document.Clone())
    , m_pSendTo(pSendTo)
{
}

CDocContextMenu::~CDocContextMenu()
{
    UnplugPopups();
    DestroyMenu();
    if (m_pShellContextMenu)
        m_pShellContextMenu->Release();
}

CMenu* CDocContextMenu::GetPopup() const
{
    return GetSafeHmenu() ? GetSubMenu(0) : nullptr;
}

UINT CDocContextMenu::CurrentOpenCommand() const
{
    CDocumentInfo info {};
    if (!m_pDocument->GetInfo(&info))
        return 0;
    if (m_pDocument->IsMail())
        return info.dwOpenAction < MAIL_OPEN_COMMANDS.size() ? MAIL_OPEN_COMMANDS[info.dwOpenAction] : 0;
    return info.dwOpenAction < FILE_OPEN_COMMANDS.size() ? FILE_OPEN_COMMANDS[info.dwOpenAction] : 0;
}

BOOL CDocContextMenu::Build(UINT nFileMenuID, UINT nMailMenuID)
{
    const bool bMail = m_pDocument->IsMail() != FALSE;
    CString strPath;
    bool bPending = false;
    if (!bMail) {
        strPath = m_pDocument->GetFilePath();
        CUiHostServices* pHost = GetUiHostServices();
        if (CPendingDocs* pPending = pHost ? pHost->GetPendingDocs() : nullptr) {
            const int nEntry = pPending->FindEntry(strPath);
            bPending = nEntry >= 0 && (pPending->GetEntry(nEntry).dwFlags & CPendingDocs::FLAG_UNPROTECTED);
        }
    }
    if (!LoadMenu(bMail ? nMailMenuID : nFileMenuID))
        return FALSE;
    CMenu* pPopup = GetPopup();
    if (!pPopup)
        return FALSE;
    if (bPending) {
        pPopup->AppendMenu(MF_SEPARATOR);
        pPopup->AppendMenu(MF_STRING, ID_DOC_PROTECT_AGAIN, GetResString(IDS_PROTECT_AGAIN));
        pPopup->AppendMenu(MF_STRING, ID_DOC_IMAGE_PREVIEW, GetResString(IDS_IMAGE_PREVIEW));
    }
    if (m_pSendTo)
        PlugPopup(pPopup, ID_DOC_SEND_TO_MENU, m_pSendTo->GetSafeHmenu(), IDS_SEND_TO);
    if (FindCommand(pPopup, ID_DOC_LINKED_SYSTEMS) >= 0) {
        if (m_linkedMenu.Build(*m_pDocument))
            PlugPopup(pPopup, ID_DOC_LINKED_SYSTEMS, m_linkedMenu.GetSafeHmenu(), 0);
        else
            pPopup->EnableMenuItem(ID_DOC_LINKED_SYSTEMS, MF_BYCOMMAND | MF_GRAYED);
    }
    if (FindCommand(pPopup, ID_DOC_FILE_COMMANDS) >= 0) {
        if (!bMail && !BlocksOpening(m_pDocument->GetExpiryState(FALSE)) && MergeShellMenu(strPath))
            PlugPopup(pPopup, ID_DOC_FILE_COMMANDS, m_shellMenu.GetSafeHmenu(), IDS_FILE_COMMANDS);
        else
            pPopup->EnableMenuItem(ID_DOC_FILE_COMMANDS, MF_BYCOMMAND | MF_GRAYED);
    }
    if (CMenu* pOpenActions = pPopup->GetSubMenu(OPEN_ACTIONS_POSITION))
        pOpenActions->DeleteMenu(CurrentOpenCommand(), MF_BYCOMMAND);
    return TRUE;
}

BOOL CDocContextMenu::MergeShellMenu(const CString& strPath)
{
    LPITEMIDLIST pidl = nullptr;
    if (FAILED(PathToPIDL(strPath, &pidl, nullptr)))
        return FALSE;
    IShellFolder* pParent = nullptr;
    LPITEMIDLIST pidlRelative = nullptr;
    HRESULT hr = BindParentFolder(pidl, IID_IShellFolder, reinterpret_cast<void**>(&pParent), &pidlRelative);
    CoTaskMemFree(pidl);
    if (FAILED(hr))
        return FALSE;
    LPCITEMIDLIST items[] = { pidlRelative };
    hr = pParent->GetUIObjectOf(
        MainWindow(), 1, items, IID_IContextMenu, nullptr, reinterpret_cast<void**>(&m_pShellContextMenu));
    pParent->Release();
    CoTaskMemFree(pidlRelative);
    if (FAILED(hr) || !m_pShellContextMenu || !m_shellMenu.CreatePopupMenu())
        return FALSE;
    hr = m_pShellContextMenu->QueryContextMenu(
        m_shellMenu.GetSafeHmenu(), 0, SHELL_COMMAND_FIRST, SHELL_COMMAND_LAST, SHELL_MENU_FLAGS);
    return SUCCEEDED(hr) && m_shellMenu.GetMenuItemCount() > 0;
}

BOOL CDocContextMenu::InvokeShellCommand(UINT nID)
{
    if (!m_pShellContextMenu || nID < SHELL_COMMAND_FIRST || nID > SHELL_COMMAND_LAST)
        return FALSE;
    CMINVOKECOMMANDINFO info {};
    info.cbSize = sizeof(info);
    info.hwnd = MainWindow();
    info.lpVerb = MAKEINTRESOURCE(nID - SHELL_COMMAND_FIRST);
    info.nShow = SW_SHOWNORMAL;
    return SUCCEEDED(m_pShellContextMenu->InvokeCommand(&info));
}

void CDocContextMenu::AdjustMenu()
{
    CMenu* pPopup = GetPopup();
    if (!pPopup)
        return;
    if (CUiHostServices* pHost = GetUiHostServices())
        pHost->ReplaceMenuItem(pPopup);
    UnplugPopups();
}

void CDocContextMenu::PlugPopup(CMenu* pPopup, UINT nID, HMENU hSubMenu, UINT nTextID)
{
    const int nPosition = FindCommand(pPopup, nID);
    if (nPosition < 0 || !hSubMenu)
        return;
    CString strText;
    if (nTextID)
        strText = GetResString(nTextID);
    else
        pPopup->GetMenuString(static_cast<UINT>(nPosition), strText, MF_BYPOSITION);
    // Taken out and put back, so that nothing destroys the menu it held.
    pPopup->RemoveMenu(static_cast<UINT>(nPosition), MF_BYPOSITION);
    pPopup->InsertMenu(
        static_cast<UINT>(nPosition), MF_BYPOSITION | MF_POPUP, reinterpret_cast<UINT_PTR>(hSubMenu), strText);
}

void CDocContextMenu::UnplugPopups()
{
    CMenu* pPopup = GetPopup();
    if (!pPopup)
        return;
    const struct {
        HMENU hMenu;
        UINT nID;
    } plugged[] = {
        { m_pSendTo ? m_pSendTo->GetSafeHmenu() : nullptr, ID_DOC_SEND_TO_MENU },
        { m_linkedMenu.GetSafeHmenu(), ID_DOC_LINKED_SYSTEMS },
        { m_shellMenu.GetSafeHmenu(), ID_DOC_FILE_COMMANDS },
    };
    const int nCount = static_cast<int>(pPopup->GetMenuItemCount());
    for (int i = 0; i < nCount; ++i) {
        CMenu* pSubMenu = pPopup->GetSubMenu(i);
        if (!pSubMenu)
            continue;
        for (const auto& entry : plugged) {
            if (!entry.hMenu || pSubMenu->GetSafeHmenu() != entry.hMenu)
                continue;
            CString strText;
            pPopup->GetMenuString(static_cast<UINT>(i), strText, MF_BYPOSITION);
            pPopup->RemoveMenu(static_cast<UINT>(i), MF_BYPOSITION);
            pPopup->InsertMenu(static_cast<UINT>(i), MF_BYPOSITION | MF_STRING, entry.nID, strText);
        }
    }
}
