#include "dialogs/groups/CKeywordTreeCtrl.h"

#include "store/CatalogIo.h"
#include "tests/dialogs/groups/GroupDialogTest.h"

#include "platform/framework/CWinApp.h"

#include <gtest/gtest.h>

namespace {

class CKeywordTreeCtrlTest : public GroupDialogTest {
protected:
    // Fills a tree over the catalog, gives Projects and Archive the keyword
    // "Shared" and "shared" and saves; the save's result.
    BOOL SaveSharedKeyword(int nFailingWrite)
    {
        CWnd host;
        EXPECT_TRUE(
            host.CreateEx(0, AfxRegisterWndClass(0), "Host", WS_POPUP | WS_VISIBLE, 0, 0, 300, 300, nullptr, nullptr));
        CKeywordTreeCtrl tree;
        EXPECT_TRUE(tree.Create(WS_CHILD | WS_VISIBLE, RECT { 0, 0, 300, 300 }, &host, 1));
        tree.FillFromRoot(m_pCatalog.get());
        tree.AddKeywordToSystem(*Node(*m_pCatalog, m_projects), "Shared");
        tree.AddKeywordToSystem(*Node(*m_pCatalog, m_archive), "shared");
        SetCatalogWriteFailure(nFailingWrite);
        const BOOL bSaved = tree.SaveModified();
        SetCatalogWriteFailure(0);
        host.DestroyWindow();
        return bSaved;
    }
};

} // namespace

TEST_F(CKeywordTreeCtrlTest, ASaveOfManySystemsIsOneActionWithOneRecordPerKeyword)
{
    EXPECT_FALSE(SaveSharedKeyword(1));
    m_pCatalog = OpenCatalog();
    EXPECT_TRUE(KeywordTexts(*Node(*m_pCatalog, m_projects)).empty()) << "a failed save changes nothing";
    EXPECT_TRUE(KeywordTexts(*Node(*m_pCatalog, m_archive)).empty());

    EXPECT_TRUE(SaveSharedKeyword(0));
    m_pCatalog = OpenCatalog();
    const std::vector<std::string> linked = KeywordTexts(*Node(*m_pCatalog, m_projects));
    ASSERT_EQ(linked.size(), 1u);
    EXPECT_EQ(KeywordTexts(*Node(*m_pCatalog, m_archive)), linked)
        << "the later system reuses the keyword the save made";
    EXPECT_NE(std::unique_ptr<CKeywordRec>(m_pCatalog->FindKeyword("Shared")) == nullptr,
        std::unique_ptr<CKeywordRec>(m_pCatalog->FindKeyword("shared")) == nullptr)
        << "one record, no twin in the other case";
}
