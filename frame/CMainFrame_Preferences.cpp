// The main frame's sheets of settings: the general preferences, the
// new-document monitor's, the web access account, the documents and folders
// the catalog takes, and the keywords and systems. Each runs modally; OK
// takes its values, and a save that failed is said.

#include "frame/CMainFrame.h"

#include "frame/AppMessages.h"
#include "frame/CArchivoraApp.h"
#include "frame/CatalogHold.h"
#include "frame/FramePrompts.h"
#include "resources/ResourceIds.h"
#include "store/CPreferences.h"
#include "store/PreferenceSheets.h"

#include "platform/framework/CCmdUI.h"

namespace {

CCatalog* MainCatalog()
{
    CArchivoraApp* pApp = GetArchivoraApp();
    return pApp ? pApp->GetMainCatalog() : nullptr;
}

void ReportUnsaved(BOOL bSaved)
{
    if (!bSaved)
        GetFramePrompts().ShowMessage(IDS_SETTINGS_NOT_SAVED, MB_ICONEXCLAMATION);
}

} // namespace

void CMainFrame::OnPreferenceSheet(UINT nID)
{
    CFramePrompts& prompts = GetFramePrompts();
    switch (nID) {
    case ID_TOOLS_PREFERENCES: {
        CPreferencesArchivoraSheetData sheet;
        thePreferences.CopyToArchivoraSheet(sheet);
        if (prompts.RunPreferenceSheet(CFramePrompts::ESheet::General, &sheet) == IDOK)
            ReportUnsaved(thePreferences.CopyFromArchivoraSheet(sheet));
        break;
    }
    case ID_TOOLS_MONITOR_PREFERENCES: {
        // The page's default system is read from the catalog while the sheet runs.
        CCatalogHold hold(MainCatalog());
        CPreferencesCatalogSheetData sheet;
        thePreferences.CopyToCatalogSheet(sheet, MainCatalog());
        if (prompts.RunPreferenceSheet(CFramePrompts::ESheet::Catalog, &sheet) == IDOK)
            ReportUnsaved(thePreferences.CopyFromCatalogSheet(sheet));
        break;
    }
    default: {
        CPreferencesWebSheetData sheet;
        thePreferences.CopyToWebSheet(sheet);
        if (prompts.RunPreferenceSheet(CFramePrompts::ESheet::Web, &sheet) == IDOK)
            ReportUnsaved(thePreferences.CopyFromWebSheet(sheet));
        break;
    }
    }
}

void CMainFrame::OnDocumentPreferences()
{
    CFramePrompts& prompts = GetFramePrompts();
    prompts.OfferDocumentTypes();
    CDocumentsSheetData sheet;
    thePreferences.LoadDocumentsSheet(sheet, MainCatalog());
    if (prompts.DocumentsSheet(sheet) != IDOK)
        return;
    CCatalogHold hold(MainCatalog());
    ReportUnsaved(hold.IsHeld() && thePreferences.SaveDocumentsSheet(sheet, MainCatalog()));
    m_wndMonitor.RegisterWatchedFolders();
}

void CMainFrame::OnKeywordSystemSheet()
{
    CCatalogHold hold(MainCatalog());
    if (GetFramePrompts().KeywordSystemSheet() == IDOK)
        SendMessage(g_nMsgReread, 0, 0);
}

void CMainFrame::OnUpdateSheetCommand(CCmdUI* pCmdUI)
{
    CFramePrompts::EWindow eWindow = CFramePrompts::EWindow::PreferenceSheets;
    if (pCmdUI->m_nID == ID_TOOLS_DOCUMENTS)
        eWindow = CFramePrompts::EWindow::DocumentsSheet;
    else if (pCmdUI->m_nID == ID_TOOLS_KEYWORDS_SYSTEMS)
        eWindow = CFramePrompts::EWindow::KeywordSystemSheet;
    pCmdUI->Enable(GetFramePrompts().HasWindow(eWindow));
}
