// Opening catalog entries and programs, and the menus that offer them.

#include "frame/CArchivoraApp.h"

#include "catalog/CPendingDocs.h"
#include "frame/CMainFrame.h"
#include "frame/FramePrompts.h"
#include "frame/ShellCommand.h"
#include "resources/ResourceIds.h"
#include "store/CCatalog.h"
#include "store/CDocumentRec.h"
#include "store/CPreferences.h"
#include "store/ResString.h"

#include "platform/framework/CMenu.h"
#include "platform/framework/CWnd.h"

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

} // namespace

void CArchivoraApp::BuildDynamicMenu()
{
    CMenu* pMenu = m_pMainWnd ? m_pMainWnd->GetMenu() : nullptr;
    CMenu* pDocumentMenu = pMenu ? pMenu->GetSubMenu(DOCUMENT_MENU_POSITION) : nullptr;
    if (!pDocumentMenu)
        return;
    if (pDocumentMenu->GetSubMenu(0))
        pDocumentMenu->ModifyMenu(0, MF_BYPOSITION | MF_STRING, ID_NEW_DOCUMENT_MENU, GetResString(IDS_NEW_DOCUMENT));
    // FIXME: the new-document menu of the file types is built and put in that
    // place as a popup here once the interface kit's menus exist.
}

BOOL CArchivoraApp::OpenItem(CDocumentRec& document, CWnd* pParent)
{
    CDocumentInfo info {};
    if (!m_pPendingDocs || document.GetInfo(&info) == nullptr)
        return FALSE;
    // FIXME: mail messages open as a reply, a reply to all, a forward or a new
    // message in the user's mail client once the mail composing here exists.
    if (document.IsMail())
        return FALSE;
    const HWND hParent = pParent ? pParent->GetSafeHwnd() : nullptr;
    switch (info.dwOpenAction) {
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
