#include "dialogs/preferences/PreferencePropSheets.h"

#include "dialogs/preferences/CDocumentTypesPropPage.h"
#include "dialogs/preferences/CMailsPropPage.h"
#include "dialogs/preferences/CPrefBackupPropPage.h"
#include "dialogs/preferences/CPrefDefaultSystemPropPage.h"
#include "dialogs/preferences/CPrefDetailPropPage.h"
#include "dialogs/preferences/CPrefFoldersPropPage.h"
#include "dialogs/preferences/CPrefGeneralPropPage.h"
#include "dialogs/preferences/CPrefLibAutomaticaPropPage.h"
#include "dialogs/preferences/CPrefMostRecentsPropPage.h"
#include "dialogs/preferences/CPrefNotificatorDlg.h"
#include "dialogs/preferences/CPrefUpdatePropPage.h"
#include "dialogs/preferences/CPrefVersaoPropPage.h"
#include "resources/ResourceIds.h"
#include "webaccess/directory/CPrefWAAccountPropPage.h"
#include "webaccess/directory/CPrefWAConnectionPropPage.h"

CPreferencesArchivoraPropSheet::CPreferencesArchivoraPropSheet(CPreferencesArchivoraSheetData& data, CWnd* pParentWnd)
    : CKadPreferencesPropSheet(IDS_PREFERENCES, pParentWnd)
{
    AddOwnedPage<CPrefGeneralPropPage>(data.general);
    AddOwnedPage<CPrefDetailPropPage>(data.detail);
    AddOwnedPage<CPrefUpdatePropPage>(data.update);
    AddOwnedPage<CPrefLibAutomaticaPropPage>(data.libAutomatica);
    AddOwnedPage<CPrefVersaoPropPage>(data.versao);
    AddOwnedPage<CPrefBackupPropPage>(data.backup);
    AddOwnedPage<CPrefMostRecentsPropPage>();
}

CPreferencesCatalogPropSheet::CPreferencesCatalogPropSheet(CPreferencesCatalogSheetData& data, CWnd* pParentWnd)
    : CKadPreferencesPropSheet(IDS_MONITOR_PREFERENCES, pParentWnd)
{
    AddOwnedPage<CPrefDefaultSystemPropPage>(data.defaultSystem);
    AddOwnedPage<CPrefNotificatorDlg>(data.notificator);
}

CPreferencesWebPropSheet::CPreferencesWebPropSheet(CPreferencesWebSheetData& data, CWnd* pParentWnd)
    : CKadPreferencesPropSheet(IDS_WEB_PREFERENCES, pParentWnd)
{
    AddOwnedPage<CPrefWAAccountPropPage>(data.account);
    AddOwnedPage<CPrefWAConnectionPropPage>(data.connection);
}

CDocumentsPropSheet::CDocumentsPropSheet(CDocumentsSheetData& data, CWnd* pParentWnd)
    : CKadPreferencesPropSheet(IDS_DOCUMENTS_SHEET, pParentWnd)
{
    AddOwnedPage<CDocumentTypesPropPage>(data.documentTypes);
    AddOwnedPage<CPrefFoldersPropPage>(data.folders);
    AddOwnedPage<CMailsPropPage>(data.mails);
}
