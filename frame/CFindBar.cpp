#include "frame/CFindBar.h"

#include "frame/CArchivoraApp.h"
#include "resources/ResourceIds.h"

// clang-format off
BEGIN_MESSAGE_MAP(CFindBar, CKeptStateDialogBar)
    ON_UPDATE_COMMAND_UI(IDC_BAR_TEXT, &CFindBar::OnUpdateLastSearch)
END_MESSAGE_MAP()
// clang-format on

// The bar comes up when the user searches; before that only a kept layout shows it.
CFindBar::CFindBar()
    : CKeptStateDialogBar("Findbar", FirstShow::Hidden)
{
}

void CFindBar::OnUpdateLastSearch(CCmdUI* pCmdUI)
{
    CArchivoraApp* pApp = GetArchivoraApp();
    pCmdUI->SetText(pApp ? pApp->GetFindSettings().GetLastSearchText() : CString());
}
