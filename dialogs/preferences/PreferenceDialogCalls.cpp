#include "dialogs/preferences/PreferenceDialogCalls.h"

#include "dialogs/preferences/CDlgCatalogDocTypes.h"
#include "dialogs/preferences/CDlgNewFolder.h"
#include "dialogs/preferences/PreferencePropSheets.h"
#include "ui/CUiHostServices.h"

int RunPreferenceSheet(CFramePrompts::ESheet eSheet, void* pSheetData, CWnd* pParent)
{
    switch (eSheet) {
    case CFramePrompts::ESheet::General: {
        CPreferencesArchivoraPropSheet sheet(*static_cast<CPreferencesArchivoraSheetData*>(pSheetData), pParent);
        return static_cast<int>(sheet.DoModal());
    }
    case CFramePrompts::ESheet::Catalog: {
        CPreferencesCatalogPropSheet sheet(*static_cast<CPreferencesCatalogSheetData*>(pSheetData), pParent);
        return static_cast<int>(sheet.DoModal());
    }
    case CFramePrompts::ESheet::Web: {
        CPreferencesWebPropSheet sheet(*static_cast<CPreferencesWebSheetData*>(pSheetData), pParent);
        return static_cast<int>(sheet.DoModal());
    }
    }
    return IDCANCEL;
}

int RunDocumentsSheet(CDocumentsSheetData& data, CWnd* pParent)
{
    CDocumentsPropSheet sheet(data, pParent);
    return static_cast<int>(sheet.DoModal());
}

BOOL OfferNewDocumentTypes(CWnd* pParent)
{
    // Without a catalog there is nothing to write the choice into.
    CCatalog* pCatalog = GetHostMainCatalog();
    if (!pCatalog || !CDlgCatalogDocTypes::HasNewDocumentTypes())
        return FALSE;
    CDlgCatalogDocTypes dialog(pCatalog, pParent);
    dialog.DoModal();
    return TRUE;
}

int RunNewFolderDialog(LPCTSTR pszParentPath, CWnd* pParent)
{
    CDlgNewFolder dialog(pParent);
    dialog.m_strParent = pszParentPath;
    return dialog.DoModal() == IDOK && dialog.m_bCreated ? 1 : 0;
}
