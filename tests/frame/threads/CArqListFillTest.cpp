#include "frame/CArqListCtrl.h"

#include "tests/frame/AppTestFixture.h"

#include "frame/AppMessages.h"
#include "frame/CArqListView.h"
#include "frame/CArqListViewCtrl.h"
#include "store/CCatalog.h"
#include "store/CNodeRec.h"
#include "store/CatalogColumns.h"

#include "platform/base/PathMap.h"
#include "platform/controls/ListViewControl.h"

#include <gtest/gtest.h>

#include <string>

namespace {

// The document list's fill: forty rows go in at once, a worker thread reads the
// rest. "Letters" holds a group and three documents; "Forty", "FortyOne" and
// "Many" hold that many documents (40, 41, 300). No document needs its file.
class ArqListFillTest : public AppTest {
protected:
    static constexpr int MANY = 300;

    void SetUp() override
    {
        AppTest::SetUp();
        WriteCatalog([this](CCatalog& catalog, CNodeRec& root) {
            auto pLetters = AddSystem(root, "Letters");
            AddSystem(*pLetters, "Old");
            for (const char* pszName : { "b.odt", "a.txt", "gone.txt" })
                AddDocument(catalog, *pLetters, DocPath(pszName).c_str());
            for (auto [pszName, nCount] : { std::pair { "Forty", 40 }, { "FortyOne", 41 }, { "Many", MANY } }) {
                auto pSystem = AddSystem(root, pszName);
                for (int i = 0; i < nCount; ++i)
                    AddDocument(catalog, *pSystem, DocPath(("n" + std::to_string(1000 + i) + ".txt").c_str()).c_str());
            }
        });
        ASSERT_TRUE(Start());
        ASSERT_NE(ActiveView(), nullptr);
    }
    void TearDown() override
    {
        CArqListCtrl::SetWorkerStarter(nullptr);
        AppTest::TearDown();
    }
    CString Name(int nRow) { return List().GetItemText(nRow, List().FindColumn(COLUMN_NAME)); }
};

}

TEST_F(ArqListFillTest, FortyRowsGoInAtOnceAndTheFortyFirstStartsAWorker)
{
    auto pForty = System("Forty");
    List().Fill(pForty.get());
    EXPECT_FALSE(List().IsFilling());
    EXPECT_EQ(List().GetItemCount(), 40);

    auto pFortyOne = System("FortyOne");
    List().Fill(pFortyOne.get());
    // The worker's row waits for this thread: Fill returns with the first forty.
    EXPECT_EQ(List().GetItemCount(), 40);
    EXPECT_TRUE(List().IsFilling());
    EXPECT_EQ(List().GetNextItem(-1, LVNI_SELECTED), 0);
    List().WaitForFill(TRUE);
    EXPECT_FALSE(List().IsFilling());
    EXPECT_EQ(List().GetItemCount(), 41);
    EXPECT_EQ(Name(40), "n1040.txt");
}

TEST_F(ArqListFillTest, AWorkerFillsEveryRowInSortOrder)
{
    auto pMany = System("Many");
    List().Fill(pMany.get());
    List().WaitForFill(TRUE);
    ASSERT_EQ(List().GetItemCount(), MANY);
    for (int nRow = 0; nRow < MANY; ++nRow)
        ASSERT_EQ(Name(nRow), ("n" + std::to_string(1000 + nRow) + ".txt").c_str()) << nRow;
}

TEST_F(ArqListFillTest, AnotherFillStopsTheWorkerAfterItsRow)
{
    auto pMany = System("Many");
    auto pLetters = System("Letters");
    List().Fill(pMany.get());
    ASSERT_TRUE(List().IsFilling());
    List().Fill(pLetters.get());
    EXPECT_FALSE(List().IsFilling());
    EXPECT_EQ(List().GetItemCount(), 4);
    EXPECT_EQ(Name(0), "Old");
}

TEST_F(ArqListFillTest, ReadingAgainDuringAFillLetsItFinish)
{
    auto pMany = System("Many");
    List().Fill(pMany.get());
    List().RefreshAll();
    EXPECT_FALSE(List().IsFilling());
    EXPECT_EQ(List().GetItemCount(), MANY);
    // So does a change of properties reported by the list.
    List().Fill(pMany.get());
    ActiveView()->GetListView()->SendMessage(g_nMsgListPropChanged);
    EXPECT_EQ(List().GetItemCount(), MANY);
}

TEST_F(ArqListFillTest, AWorkerThatCannotStartLeavesTheRestToTheFill)
{
    CArqListCtrl::SetWorkerStarter([](UINT (*)(LPVOID), LPVOID) { return FALSE; });
    auto pMany = System("Many");
    List().Fill(pMany.get());
    EXPECT_FALSE(List().IsFilling());
    EXPECT_EQ(List().GetItemCount(), MANY);
    List().WaitForFill(FALSE); // returns at once
}
