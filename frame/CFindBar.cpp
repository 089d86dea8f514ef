#include "frame/CFindBar.h"

#include "frame/CArchivoraApp.h"
#include "resources/ResourceIds.h"

// clang-format off
BEGIN_MESSAGE_MAP(CFindBar, CKeptStateDialogBar)
    ON_UPDATE_COMMAND_UI(IDC_BAR_TEXT, &CFindBar::OnUpdateLastSearch)
END_MESSAGE_MAP()
// clang-format on

CFindBar::CFindBar()
    : CKeptStateDialogBar("Findbar")
{
}

void CFindBar::OnUpdateLastSearch(CCmdUI* pCmdUI)
{
    CArchivoraApp* pApp = GetArchivoraApp();
    pCmdUI->SetText(pApp ? pApp->GetFindSettings().GetLastSearchText() : CString());
}
