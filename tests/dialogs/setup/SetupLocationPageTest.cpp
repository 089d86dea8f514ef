// The set-up wizard's locations page: its list shows every picked location
// whole, widening for a long one and fitting the rest once it is removed.

#include "dialogs/setup/CInstalacaoLocation.h"

#include "dialogs/setup/CInstalacaoPropertySheet.h"
#include "frame/SetupResults.h"
#include "resources/ResourceIds.h"
#include "tests/dialogs/PopupChainPick.h"
#include "tests/dialogs/setup/SetupWizardTest.h"

#include "platform/controls/ListViewControl.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

namespace {

class SetupLocationPageTest : public SetupWizardTest {
protected:
    // The column's width and the widest row text's width, in pixels.
    struct CColumnShown {
        int nWidth { 0 };
        int nWidestText { 0 };
    };
    static std::function<void(HWND)> Record(CColumnShown& shown)
    {
        return [&shown](HWND hDlg) {
            HWND hList = CTestDriver::FindChild(hDlg, IDC_SETUP_LOCATION_LIST);
            shown.nWidth = CTestDriver::ListColumnWidths(hList).at(0);
            shown.nWidestText = 0;
            for (const std::vector<CString>& row : CTestDriver::ListRows(hList)) {
                const int nText = static_cast<int>(
                    ::SendMessage(hList, LVM_GETSTRINGWIDTH, 0, reinterpret_cast<LPARAM>(LPCTSTR(row.at(0)))));
                shown.nWidestText = std::max(shown.nWidestText, nText);
            }
        };
    }
    std::function<void(HWND)> PickLocation(const std::vector<std::string>& rows)
    {
        return
            [this, rows](HWND hDlg) { PickInPopupChain(m_driver, CTestDriver::FindChild(hDlg, IDC_SETUP_ADD), rows); };
    }
};

} // namespace

TEST_F(SetupLocationPageTest, TheListWidensForALongLocationAndFitsTheRestWhenItIsRemoved)
{
    const std::string strLong = "Minutes of the annual general meeting";
    AddDrive('N', DRIVE_REMOTE);
    std::filesystem::create_directories(Root().parent_path() / "N" / "b");
    std::filesystem::create_directories(Root().parent_path() / "N" / strLong);
    CSetupResults results;
    CInstalacaoPropertySheet sheet(results);
    CColumnShown first;
    CColumnShown shortOne;
    CColumnShown longOne;
    CColumnShown shorterAfter;
    CColumnShown removed;
    CDialogScript script;
    script.Press(ID_WIZNEXT).Then(ClickCheckLine(IDC_DOC_TYPES, 0)).Press(ID_WIZNEXT);
    script.Check(IDC_SETUP_NETWORK).Then(Record(first));
    script.Then(PickLocation({ "N (n:)", "b" })).Then(Record(shortOne));
    script.Then(PickLocation({ "N (n:)", strLong })).Then(Record(longOne));
    script.Then(PickLocation({ "N (n:)" })).Then(Record(shorterAfter));
    script.SelectListRow(IDC_SETUP_LOCATION_LIST, ("n:\\" + strLong).c_str()).Press(IDC_SETUP_REMOVE);
    script.Then(Record(removed)).Press(IDCANCEL);
    Answer(script);

    ASSERT_EQ(sheet.DoModal(), IDCANCEL);
    EXPECT_EQ(first.nWidestText, 0) << "no location at first";
    // Each row's text shows whole, beside its icon.
    for (const CColumnShown* pShown : { &shortOne, &longOne, &shorterAfter, &removed })
        EXPECT_GE(pShown->nWidth, pShown->nWidestText + 16) << pShown->nWidth << " for " << pShown->nWidestText;
    EXPECT_GT(longOne.nWidth, shortOne.nWidth);
    EXPECT_EQ(shorterAfter.nWidth, longOne.nWidth) << "a shorter location never narrows the column";
    EXPECT_LT(removed.nWidth, longOne.nWidth) << "the column fits what is left";
}
