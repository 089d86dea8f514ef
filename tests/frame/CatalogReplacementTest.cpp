// The commands that replace the catalog files: the views are closed before
// and made again from the saved layout after, and nothing that names records
// of the old files survives the replacement.

#include "tests/frame/AppTestFixture.h"

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

} // namespace
