// The group dialog and the keywords and systems sheet as they show, each
// compared with a reference picture checked by eye once.

#include "dialogs/groups/CDlgGroupProperties.h"
#include "dialogs/groups/CSystemKeywordsPropSheet.h"

#include "tests/dialogs/groups/GroupDialogTest.h"
#include "tests/support/ReferencePictures.h"
#include "tests/support/TestData.h"

#include "platform/base/PathMap.h"
#include "platform/gdi/Pictures.h"

#include <gtest/gtest.h>

#include <functional>
#include <optional>

namespace {

class GroupPicturesTest : public GroupDialogTest {
protected:
    // Runs prepare on the next dialog, then compares its picture with the reference and closes it.
    void ExpectNextShows(const char* pszReference, const std::function<void()>& prepare = {})
    {
        m_driver.OnNextDialog([this, pszReference, prepare](HWND hDlg) {
            if (prepare)
                prepare();
            m_driver.Pump();
            const std::string strShot = ProgramPathFromHostPath((m_folder / "shot.png").string());
            ASSERT_TRUE(CTestDriver::Screenshot(hDlg, strShot.c_str()));
            HBITMAP hbm = LoadPictureFile(strShot.c_str());
            ASSERT_NE(hbm, nullptr);
            if (std::optional<std::string> mismatch
                = PictureMismatch(hbm, SourceRoot() / "tests/dialogs/groups/data" / pszReference, m_folder))
                ADD_FAILURE() << *mismatch;
            ::EndDialog(hDlg, IDCANCEL);
        });
    }

    TempFolder m_folder;
};

} // namespace

TEST_F(GroupPicturesTest, TheGroupDialogAndTheKeywordSheetInTheSharedStyle)
{
    std::unique_ptr<CNodeRec> pProjects = Node(*m_pCatalog, m_projects);
    for (LPCTSTR pszKeyword : { "invoice", "budget" }) {
        std::unique_ptr<CKeywordRec> pKeyword(m_pCatalog->CreateKeyword(pszKeyword));
        ASSERT_TRUE(pProjects->LinkKeyword(pKeyword.get()));
    }
    AddNode(*pProjects, "Alpha");

    CDlgGroupProperties dlg;
    ExpectNextShows("group_properties.png");
    dlg.ShowForNode(*pProjects);

    CSystemKeywordsPropSheet sheet(m_pCatalog.get());
    ExpectNextShows("keyword_sheet.png", [&] {
        CKeywordTreeCtrl& tree = sheet.m_keywordsOfSystem.GetTree();
        tree.SelectItem(tree.FindItemByNode(m_projects));
    });
    sheet.DoModal();
}
