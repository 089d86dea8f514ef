// Opening catalog entries and programs, and the menus that offer them.

#include "frame/CArchivoraApp.h"

#include "resources/ResourceIds.h"
#include "store/ResString.h"

#include "platform/framework/CMenu.h"
#include "platform/framework/CWnd.h"

namespace {

constexpr int DOCUMENT_MENU_POSITION = 1;

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
