// The group dialog and the keywords and systems sheet as they show, each
// compared with a reference picture checked by eye once.

#include "dialogs/groups/CDlgGroupProperties.h"
#include "dialogs/groups/CDlgKeywordProperties.h"
#include "dialogs/groups/CSystemKeywordsPropSheet.h"

#include "store/CNodeInfoRec.h"
#include "tests/dialogs/groups/GroupDialogTest.h"
#include "tests/support/ReferencePictures.h"
#include "tests/support/TestData.h"

#include "platform/base/PathMap.h"
#include "platform/gdi/Pictures.h"

#include <gtest/gtest.h>

#include <functional>
#include <optional>
#include <vector>

namespace {

class GroupPicturesTest : public GroupDialogTest {
protected:
    // A picture to take of the next dialog: its reference, and what to do
    // first (such as showing a page).
    struct Shot {
        const char* pszReference;
        std::function<void(HWND hDlg)> prepare;
    };

    // Takes each picture of the next dialog in turn, compares it with its reference, then closes the dialog.
    void ExpectNextShows(std::vector<Shot> shots)
    {
        m_driver.OnNextDialog([this, shots = std::move(shots)](HWND hDlg) {
            for (const Shot& shot : shots) {
                if (shot.prepare)
                    shot.prepare(hDlg);
                m_driver.Pump();
                const std::string strShot = ProgramPathFromHostPath((m_folder / "shot.png").string());
                ASSERT_TRUE(CTestDriver::Screenshot(hDlg, strShot.c_str()));
                HBITMAP hbm = LoadPictureFile(strShot.c_str());
                ASSERT_NE(hbm, nullptr);
                if (std::optional<std::string> mismatch
                    = PictureMismatch(hbm, SourceRoot() / "tests/dialogs/groups/data" / shot.pszReference, m_folder))
                    ADD_FAILURE() << *mismatch;
            }
            ::EndDialog(hDlg, IDCANCEL);
        });
    }
    // Shows page nPage of the sheet inside or of the dialog.
    std::function<void(HWND)> Page(int nPage)
    {
        return [this, nPage](HWND hDlg) { ShowPage(hDlg, nPage); };
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
    // Projects places files by their name, so its keywords are the sheet's.
    CNodeInfo info {};
    pProjects->GetInfo(&info);
    info.wSearchType = 0x01;
    ASSERT_TRUE(pProjects->UpdateInfo(info));

    CDlgGroupProperties dlg;
    ExpectNextShows({ { "group_properties.png", {} }, { "group_keywords.png", Page(1) },
        { "group_search.png", Page(2) }, { "group_folders.png", Page(3) }, { "group_messages.png", Page(4) } });
    dlg.ShowForNode(*pProjects);

    CDlgGroupProperties newGroup;
    ExpectNextShows({ { "new_group.png", {} } });
    newGroup.ShowForNewGroup(*pProjects);

    CDlgKeywordProperties keywords;
    ExpectNextShows({ { "keyword_properties.png", {} } });
    keywords.ShowForNode(*pProjects);

    CSystemKeywordsPropSheet sheet(m_pCatalog.get());
    ExpectNextShows({ { "keyword_sheet.png",
                          [&](HWND) {
                              CKeywordTreeCtrl& tree = sheet.m_keywordsOfSystem.GetTree();
                              tree.SelectItem(tree.FindItemByNode(m_projects));
                          } },
        { "keyword_sheet_systems.png", Page(1) } });
    sheet.DoModal();
}
