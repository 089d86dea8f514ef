// Opening catalog entries and programs, and the menus that offer them.

#include "frame/CArchivoraApp.h"

#include "catalog/CCatalogPrompts.h"
#include "catalog/CPendingDocs.h"
#include "frame/CMainFrame.h"
#include "frame/CatalogHold.h"
#include "frame/FramePrompts.h"
#include "frame/ShellCommand.h"
#include "mail/CMailClient.h"
#include "mail/CatalogMessage.h"
#include "mail/MailResult.h"
#include "monitor/MonitorPause.h"
#include "resources/ResourceIds.h"
#include "store/CCatalog.h"
#include "store/CDocumentRec.h"
#include "store/CPreferences.h"
#include "store/ProtectedFile.h"
#include "store/ResString.h"
#include "ui/CFileTypeMap.h"
#include "ui/CStartMenuIndex.h"

#include "platform/base/WinError.h"
#include "platform/framework/AfxMessageBox.h"
#include "platform/framework/CMenu.h"
#include "platform/framework/CWnd.h"

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

namespace {

constexpr int DOCUMENT_MENU_POSITION = 1;

// How a file entry opens (its record's open action); any other value opens it
// with its own program.
enum EFileOpenAction : DWORD {
    OPEN_WITH_ITS_PROGRAM = 0,
    OPEN_WITH_CHOSEN_PROGRAM = 1,
    OPEN_WITH_REGISTERED_PROGRAM = 2,
    OPEN_AFTER_CHOOSING_FOLDER = 3,
};

// How a mail entry opens; any other value replies to its sender.
enum EMailOpenAction : DWORD {
    MAIL_REPLY_TO_ALL = 1,
    MAIL_FORWARD = 2,
    MAIL_SEND_AS_NEW = 3,
    MAIL_START_CLIENT = 4,
};

// The messages OpenMailItem composes.
enum EComposeMode : int {
    COMPOSE_AS_NEW = 0,
    COMPOSE_FORWARD = 1,
    COMPOSE_REPLY = 2,
    COMPOSE_REPLY_TO_ALL = 3,
};

constexpr char ORIGINAL_MESSAGE_SEPARATOR[] = "\r\n\r\n-------- Original Message --------\r\n";
// The most bytes of a composed message's body.
constexpr size_t MAX_COMPOSE_BODY = 32000;
constexpr int ADDRESS_LIST_SIZE = 4096;

// The client kinds that can be started here: the Netscape-style client and
// the two Outlook Express kinds, which the same desktop client stands for.
BOOL IsStartableMailClient(int nKind)
{
    return nKind == 0 || nKind == 2 || nKind == 3;
}

// Tells the user why the mail client did not take a message: none was found,
// or it did not start (the client's error says which).
void ReportMailClientFailure(DWORD dwError)
{
    const UINT nText = dwError == ERROR_FILE_NOT_FOUND ? IDS_COMPOSE_NO_PROGRAM : IDS_COMPOSE_FAILED;
    AfxMessageBox(nText, MB_OK | MB_ICONEXCLAMATION);
}

CString AddressList(const CMailMessage& message, void (CMailMessage::*pfnList)(char*, int) const)
{
    std::vector<char> buffer(ADDRESS_LIST_SIZE, '\0');
    (message.*pfnList)(buffer.data(), ADDRESS_LIST_SIZE);
    return CString(buffer.data());
}

void AddRecipients(CString& strRecipients, const CString& strList)
{
    if (strList.IsEmpty())
        return;
    if (!strRecipients.IsEmpty())
        strRecipients += ", ";
    strRecipients += strList;
}

// The original message quoted below the separator, cut to the body's limit
// between two characters.
std::string ComposeBody(const CMailMessage& message)
{
    std::string strBody = std::string(ORIGINAL_MESSAGE_SEPARATOR) + static_cast<LPCTSTR>(message.GetHeaderLines())
        + "\r\n" + static_cast<LPCTSTR>(message.GetText());
    if (strBody.size() > MAX_COMPOSE_BODY) {
        size_t nSize = MAX_COMPOSE_BODY;
        while (nSize > 0 && (static_cast<unsigned char>(strBody[nSize]) & 0xC0) == 0x80)
            --nSize;
        strBody.resize(nSize);
    }
    return strBody;
}

// A kind of new document: its description and the extension that stands for its type.
struct CNewDocumentKind {
    CString strDescription;
    CString strType;
};

// The Document menu of a window's menu bar; null without one.
CMenu* DocumentMenuOf(CWnd* pWnd)
{
    CMenu* pMenu = pWnd ? pWnd->GetMenu() : nullptr;
    return pMenu ? pMenu->GetSubMenu(DOCUMENT_MENU_POSITION) : nullptr;
}

void SortByDescription(std::vector<CNewDocumentKind>& kinds)
{
    std::stable_sort(kinds.begin(), kinds.end(), [](const CNewDocumentKind& a, const CNewDocumentKind& b) {
        return a.strDescription.CompareNoCase(b.strDescription) < 0;
    });
}

} // namespace

void CArchivoraApp::PlaceNewDocumentEntry()
{
    CMenu* pDocumentMenu = DocumentMenuOf(m_pMainWnd);
    if (pDocumentMenu && pDocumentMenu->GetSubMenu(0))
        pDocumentMenu->ModifyMenu(0, MF_BYPOSITION | MF_STRING, ID_NEW_DOCUMENT_MENU, GetResString(IDS_NEW_DOCUMENT));
}

void CArchivoraApp::BuildDynamicMenu()
{
    PlaceNewDocumentEntry();
    CMenu* pDocumentMenu = DocumentMenuOf(m_pMainWnd);
    CMainFrame* pMainFrame = GetMainFrame();
    if (pDocumentMenu && pMainFrame)
        pMainFrame->AttachNewDocumentMenu(pDocumentMenu, 0);
}

BOOL CArchivoraApp::OpenItem(CDocumentRec& document, CWnd* pParent)
{
    CDocumentInfo info {};
    if (!m_pPendingDocs || document.GetInfo(&info) == nullptr)
        return FALSE;
    return OpenItemAs(document, info.dwOpenAction, pParent);
}

BOOL CArchivoraApp::OpenItemAs(CDocumentRec& document, DWORD dwAction, CWnd* pParent)
{
    if (!m_pPendingDocs)
        return FALSE;
    if (document.IsMail()) {
        switch (dwAction) {
        case MAIL_REPLY_TO_ALL:
            return OpenMailItem(document, COMPOSE_REPLY_TO_ALL);
        case MAIL_FORWARD:
            return OpenMailItem(document, COMPOSE_FORWARD);
        case MAIL_SEND_AS_NEW:
            return OpenMailItem(document, COMPOSE_AS_NEW);
        case MAIL_START_CLIENT:
            return LaunchMailClient();
        default:
            return OpenMailItem(document, COMPOSE_REPLY);
        }
    }
    const HWND hParent = pParent ? pParent->GetSafeHwnd() : nullptr;
    switch (dwAction) {
    case OPEN_WITH_CHOSEN_PROGRAM: {
        CString strProgram;
        if (GetFramePrompts().OpenWith(document, &strProgram) != IDOK)
            return FALSE;
        return m_pPendingDocs->OpenDocument(document, hParent, strProgram) != 0;
    }
    case OPEN_WITH_REGISTERED_PROGRAM: {
        // The entry's name is the type whose program starts.
        CString strName;
        document.GetFullPath(strName);
        if (OpenWithShell(hParent, strName))
            return TRUE;
        GetFramePrompts().ShowMessage(IDS_LAUNCH_FAILED, MB_ICONHAND);
        return FALSE;
    }
    case OPEN_AFTER_CHOOSING_FOLDER: {
        CString strFolder;
        if (GetFramePrompts().ChooseFolder(IDS_CHOOSE_PROGRAM_FOLDER, document, &strFolder) != IDOK)
            return FALSE;
        return m_pPendingDocs->OpenDocument(document, hParent, "") != 0;
    }
    default:
        return m_pPendingDocs->OpenDocument(document, hParent, "") != 0;
    }
}

BOOL CArchivoraApp::OpenWithStartMenuProgram(CDocumentRec& document, int nIndex, CWnd* pParent)
{
    CStartMenuIndex& index = GetStartMenuIndex();
    index.Build();
    if (!m_pPendingDocs || nIndex < 0 || nIndex >= index.GetCount())
        return FALSE;
    const CString strProgram = index.GetEntry(nIndex).strProgram;
    return m_pPendingDocs->OpenDocument(document, pParent ? pParent->GetSafeHwnd() : nullptr, strProgram) != 0;
}

void CArchivoraApp::BuildExtensionMap(CStringArray& first, CStringArray& second)
{
    first.RemoveAll();
    second.RemoveAll();
    m_newDocumentTypes.RemoveAll();
    std::vector<CNewDocumentKind> known;
    std::vector<CNewDocumentKind> others;
    CCatalogHold hold(m_pMainCatalog.get());
    CFileTypeMap types;
    types.Build();
    CString strDescription;
    for (CStringArray* pExtensions = types.GetFirst(strDescription); pExtensions;
         pExtensions = types.GetNext(strDescription)) {
        if (pExtensions->GetSize() == 0)
            continue;
        BOOL bKnown = FALSE;
        for (int i = 0; i < pExtensions->GetSize() && !bKnown && hold.IsHeld(); ++i)
            bKnown = m_pMainCatalog->LookupExtension(pExtensions->GetAt(i));
        (bKnown ? known : others).push_back({ strDescription, pExtensions->GetAt(0) });
    }
    SortByDescription(known);
    SortByDescription(others);
    for (const auto& kind : known) {
        first.Add(kind.strDescription);
        m_newDocumentTypes.Add(kind.strType);
    }
    for (const auto& kind : others) {
        second.Add(kind.strDescription);
        m_newDocumentTypes.Add(kind.strType);
    }
}

void CArchivoraApp::MinimizeAfterOpen()
{
    CMainFrame* pMainFrame = GetMainFrame();
    // Only a shown, restored window holds the main catalog; any other has given it back already.
    if (!thePreferences.m_bMinimize || !pMainFrame || !pMainFrame->IsWindowVisible() || pMainFrame->IsIconic())
        return;
    pMainFrame->ShowWindow(SW_MINIMIZE);
    if (m_pMainCatalog)
        m_pMainCatalog->Release();
}

BOOL CArchivoraApp::OpenMailItem(CDocumentRec& document, int nMode)
{
    CString strPath;
    document.GetFullPath(strPath);
    CString strPassword;
    if (document.IsProtected()) {
        CDocumentInfo info {};
        if (document.GetInfo(&info) == nullptr
            || GetCatalogPrompts().AskPassword(nullptr, strPath, info.szPassword, 1, FALSE, strPassword) != IDOK)
            return FALSE;
    }
    if (const int nResult = document.ReadMailMessage(strPassword); nResult != PROTECT_OK) {
        ReportProtectError(strPath, nResult);
        return FALSE;
    }
    std::unique_ptr<CMailMessage> pMessage;
    if (LoadCatalogMessage(document.GetMailRef(), pMessage) != MAIL_OK) {
        ReportProtectError(strPath, PROTECT_UNREADABLE);
        return FALSE;
    }
    if (!IsStartableMailClient(thePreferences.m_nMailClient)) {
        AfxMessageBox(IDS_COMPOSE_NO_PROGRAM, MB_OK | MB_ICONEXCLAMATION);
        return FALSE;
    }

    CString strSubject = pMessage->GetSubject();
    CString strRecipients;
    switch (nMode) {
    case COMPOSE_FORWARD:
        strSubject = "[Fwd: " + strSubject + "]";
        break;
    case COMPOSE_REPLY:
        AddRecipients(strRecipients, AddressList(*pMessage, &CMailMessage::GetAddressList1));
        strSubject = "RE: " + strSubject;
        break;
    case COMPOSE_REPLY_TO_ALL:
        AddRecipients(strRecipients, AddressList(*pMessage, &CMailMessage::GetAddressList2));
        AddRecipients(strRecipients, AddressList(*pMessage, &CMailMessage::GetCcList));
        AddRecipients(strRecipients, AddressList(*pMessage, &CMailMessage::GetAddressList1));
        strSubject = "RE: " + strSubject;
        break;
    default:
        break;
    }
    BOOL bComposed = FALSE;
    DWORD dwError = ERROR_SUCCESS;
    {
        CMainFrame* pMainFrame = GetMainFrame();
        CMonitorPause pause(pMainFrame ? &pMainFrame->GetMonitor() : nullptr);
        CMailClient client;
        bComposed = client.Compose(strSubject, strRecipients, ComposeBody(*pMessage).c_str());
        dwError = ::GetLastError();
    }
    if (!bComposed)
        ReportMailClientFailure(dwError);
    return bComposed;
}

BOOL CArchivoraApp::LaunchMailClient()
{
    if (!IsStartableMailClient(thePreferences.m_nMailClient)) {
        AfxMessageBox(IDS_COMPOSE_NO_PROGRAM, MB_OK | MB_ICONEXCLAMATION);
        return FALSE;
    }
    BOOL bStarted = FALSE;
    DWORD dwError = ERROR_SUCCESS;
    {
        CMainFrame* pMainFrame = GetMainFrame();
        CMonitorPause pause(pMainFrame ? &pMainFrame->GetMonitor() : nullptr);
        CMailClient client;
        bStarted = client.Launch();
        dwError = ::GetLastError();
    }
    if (!bStarted)
        ReportMailClientFailure(dwError);
    return bStarted;
}
