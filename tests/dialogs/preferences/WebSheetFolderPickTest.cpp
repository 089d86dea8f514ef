// The web sheet's connection page picks the shared folder as a user does:
// through the picker under its button, the folder's name as the shell spells it.

#include "dialogs/preferences/PreferencePropSheets.h"

#include "platform/controls/PropertySheet.h"
#include "tests/dialogs/preferences/FolderPageTest.h"
#include "webaccess/directory/CPrefWAConnectionPropPage.h"

namespace {

using WebSheetFolderPickTest = FolderPageTest;

TEST_F(WebSheetFolderPickTest, PickedFolderIsTakenAsTheShellSpellsIt)
{
    MakeFolder("Shared");
    CPreferencesWebSheetData data;
    data.connection.nConnType = CPrefWAConnectionPropPage::CONN_LAN;
    std::string strShown;
    CPreferencesWebPropSheet sheet(data, &Host());
    Driver().OnNextDialog([&](HWND hSheet) {
        ::SendMessage(hSheet, PSM_SETCURSELID, 0, IDD_PREF_WA_CONNECTION);
        HWND hPage = reinterpret_cast<HWND>(::SendMessage(hSheet, PSM_GETCURRENTPAGEHWND, 0, 0));
        Pick(hPage, IDC_WA_FOLDER_PICK, { "C (c:)", "Shared" });
        strShown = Text(hPage, IDC_WA_FOLDER);
        ::SendMessage(hSheet, WM_COMMAND, IDOK, 0);
    });
    EXPECT_EQ(sheet.DoModal(), IDOK);
    EXPECT_EQ(strShown, "C:\\Shared");
    EXPECT_EQ(std::string(data.connection.strDirServer), "C:\\Shared");
    EXPECT_EQ(data.connection.nConnType, CPrefWAConnectionPropPage::CONN_LAN);
}

} // namespace
