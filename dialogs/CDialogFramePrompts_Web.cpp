#include "dialogs/CDialogFramePrompts.h"

#include "frame/WebAccessServices.h"
#include "resources/ResourceIds.h"
#include "webaccess/dialogs/CDlgWACatalogSettings.h"
#include "webaccess/dialogs/CDlgWAChangeUserID.h"
#include "webaccess/dialogs/CDlgWAEditProfile.h"
#include "webaccess/dialogs/CDlgWAProfileInvite.h"

int CDialogFramePrompts::WebDialog(UINT nIDTemplate)
{
    CWASettings& settings = GetWebAccessSettings();
    switch (nIDTemplate) {
    case IDD_WA_CHANGE_USER_ID: {
        CDlgWAChangeUserID dlg(settings);
        return static_cast<int>(dlg.DoModal());
    }
    case IDD_WA_CATALOG_SETTINGS: {
        CDlgWACatalogSettings dlg(settings);
        return static_cast<int>(dlg.DoModal());
    }
    case IDD_WA_EDIT_PROFILE: {
        CDlgWAEditProfile dlg(settings);
        return static_cast<int>(dlg.DoModal());
    }
    case IDD_WA_PROFILE_INVITE: {
        CDlgWAProfileInvite dlg(settings);
        return static_cast<int>(dlg.DoModal());
    }
    default:
        return CDefaultFramePrompts::WebDialog(nIDTemplate);
    }
}
