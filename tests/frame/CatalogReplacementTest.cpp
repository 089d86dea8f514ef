// The commands that replace the catalog files: the views are closed before
// and made again from the saved layout after, and nothing that names records
// of the old files survives the replacement.

#include "tests/frame/AppTestFixture.h"

#include "frame/CBackupMonitor.h"
#include "frame/CCoolMenu.h"
#include "resources/ResourceIds.h"
#include "store/CCatalog.h"
#include "store/CNodeRec.h"
#include "store/CPreferences.h"
#include "ui/CKadDragObjReg.h"

#include "platform/base/GlobalMemory.h"
#include "platform/window/Clipboard.h"

#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <vector>

namespace {

class CatalogReplacementTest : public AppTest {
protected:
    void SetUp() override
    {
        AppTest::SetUp();
        WriteCatalog([](CCatalog& catalog, CNodeRec& root) {
            auto pSystem = AddSystem(root, "Letters");
            AddDocument(catalog, *pSystem, "c:\\letters\\a.txt");
        });
        ASSERT_TRUE(Start());
    }

    // The first system of the running catalog, copied to the clipboard as the tree's Copy does.
    void CopyFirstSystem()
    {
        std::unique_ptr<CNodeRec> pRoot(CNodeRec::NewRootNodeRec(App().GetMainCatalog()));
        std::unique_ptr<CNodeRec> pSystem(pRoot ? pRoot->GetFirstChild() : nullptr);
        ASSERT_NE(pSystem, nullptr);
        CKadDragObjReg payload;
        payload.AddItem(pSystem.get(), 0);
        ASSERT_TRUE(payload.CopyToClipboard(PAYLOAD_COPY));
    }
    static BOOL PayloadOnClipboard() { return IsClipboardFormatAvailable(thePreferences.m_nClipboardFormat); }
    static void PutText(const char* pszText)
    {
        ASSERT_TRUE(OpenClipboard(nullptr));
        EmptyClipboard();
        const size_t nSize = std::strlen(pszText) + 1;
        HGLOBAL hText = GlobalAlloc(GMEM_MOVEABLE, nSize);
        std::memcpy(GlobalLock(hText), pszText, nSize);
        GlobalUnlock(hText);
        SetClipboardData(CF_TEXT, hText);
        CloseClipboard();
    }
};

TEST_F(CatalogReplacementTest, ARebuildForgetsTheCopiedRecordsAndBringsTheViewsBack)
{
    CopyFirstSystem();
    ASSERT_TRUE(PayloadOnClipboard());
    Command(ID_CATALOG_REBUILD);

    EXPECT_FALSE(PayloadOnClipboard());
    EXPECT_EQ(Views().size(), 1U);
    ASSERT_NE(App().GetMainCatalog(), nullptr);
    std::unique_ptr<CNodeRec> pRoot(CNodeRec::NewRootNodeRec(App().GetMainCatalog()));
    std::unique_ptr<CNodeRec> pSystem(pRoot ? pRoot->GetFirstChild() : nullptr);
    ASSERT_NE(pSystem, nullptr);
    EXPECT_EQ(pSystem->CountDocuments(), 1);
}

TEST_F(CatalogReplacementTest, WhatAnotherProgramCopiedStaysOnTheClipboard)
{
    CopyFirstSystem();
    PutText("a line from an editor");
    Command(ID_CATALOG_REBUILD);
    EXPECT_TRUE(IsClipboardFormatAvailable(CF_TEXT));
}

TEST_F(CatalogReplacementTest, TheDragBarsWindowsGoBeforeTheFilesAreReplaced)
{
    CCoolMenu& places = MainFrame()->GetDragBar().GetList();
    places.ShowRecycleBin();
    ASSERT_NE(places.GetRecycleBinWindow(), nullptr);
    Command(ID_CATALOG_REBUILD);
    EXPECT_EQ(places.GetRecycleBinWindow(), nullptr);
    EXPECT_EQ(Views().size(), 1U);
}

TEST_F(CatalogReplacementTest, ACancelledRestoreLeavesTheViewsAndWindowsAsTheyWere)
{
    CCoolMenu& places = MainFrame()->GetDragBar().GetList();
    places.ShowRecycleBin();
    ASSERT_NE(places.GetRecycleBinWindow(), nullptr);
    const std::vector<CSplitterFrame*> before = Views();
    ASSERT_EQ(before.size(), 1U);
    const HWND hView = before.front()->GetSafeHwnd();

    m_prompts.m_nBackupAnswer = IDCANCEL;
    Command(ID_CATALOG_RESTORE);
    EXPECT_EQ(m_prompts.CountOf("backup list"), 1);
    ASSERT_EQ(Views().size(), 1U);
    EXPECT_EQ(Views().front()->GetSafeHwnd(), hView) << "the view was never closed";
    EXPECT_NE(places.GetRecycleBinWindow(), nullptr);
    EXPECT_TRUE(m_prompts.m_messages.empty());
}

TEST_F(CatalogReplacementTest, ARestoredGenerationReplacesTheCatalogAndBringsTheViewsBack)
{
    // Start-up made generation 1 of the catalog as written; a system added since is not in it.
    {
        std::unique_ptr<CNodeRec> pRoot(CNodeRec::NewRootNodeRec(App().GetMainCatalog()));
        ASSERT_NE(AddSystem(*pRoot, "Added later"), nullptr);
    }
    CCoolMenu& places = MainFrame()->GetDragBar().GetList();
    places.ShowRecycleBin();

    m_prompts.m_nBackupAnswer = CBackupMonitor::END_RESTORE_GENERATION;
    m_prompts.m_nBackupGeneration = 1;
    Command(ID_CATALOG_RESTORE);
    EXPECT_EQ(m_prompts.m_messages, (std::vector<UINT> { IDS_RESTORE_DONE }));
    EXPECT_EQ(places.GetRecycleBinWindow(), nullptr) << "closed before the files were replaced";
    EXPECT_EQ(Views().size(), 1U);
    std::unique_ptr<CNodeRec> pRoot(CNodeRec::NewRootNodeRec(App().GetMainCatalog()));
    ASSERT_NE(pRoot, nullptr);
    EXPECT_EQ(pRoot->CountChildren(), 1);
    EXPECT_EQ(std::unique_ptr<CNodeRec>(pRoot->FindChildByName("Added later")), nullptr);
}

} // namespace
