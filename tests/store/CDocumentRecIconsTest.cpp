#include "store/CDocumentRec.h"

#include "platform/base/DriveTable.h"
#include "platform/gdi/Icons.h"
#include "platform/shell/SystemImageLists.h"
#include "resources/ResourceIds.h"
#include "tests/platform/gdi/GdiTestCanvas.h"
#include "tests/store/CatalogBuilder.h"
#include "tests/store/ProgramModule.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

// Documents of a catalog on drive T:, a fresh folder holding t:\docs\memo.txt;
// t:\docs\gone.txt is catalogued but not on disk.
class CDocumentRecIconsTest : public CatalogTest {
protected:
    void SetUp() override
    {
        CatalogTest::SetUp();
        ASSERT_TRUE(SetDriveOverride('T', m_drive.Path().c_str(), DRIVE_FIXED));
        m_drive.WriteFile("docs/memo.txt", "memo");
        m_pCatalog = NewMainCatalog();
        m_pRoot = Root(*m_pCatalog);
        m_pNode = AddNode(*m_pRoot, "Letters");
    }
    void TearDown() override
    {
        ResetDriveTable();
        CatalogTest::TearDown();
    }

    std::unique_ptr<CDocumentRec> Add(const char* pszPath) { return AddDocument(*m_pCatalog, m_pNode.get(), pszPath); }

    std::unique_ptr<CDocumentRec> AddMail()
    {
        CDocumentInfo info {};
        info.wType = DOCUMENT_MAIL;
        std::unique_ptr<CDocumentRec> pMail(m_pCatalog->FindOrAddDocument("*c:\\mail\\inbox.mbx#", "hello*1", &info));
        EXPECT_TRUE(pMail);
        return pMail;
    }

    // How an icon draws at its own size.
    static std::vector<COLORREF> Pixels(HICON hIcon)
    {
        std::vector<COLORREF> pixels;
        if (!hIcon)
            return pixels;
        CTestCanvas canvas(32, 32);
        DrawIconEx(canvas.Dc(), 0, 0, hIcon, 0, 0, 0, nullptr, DI_NORMAL);
        canvas.ForEach([&](int, int, COLORREF cr) { pixels.push_back(cr); });
        return pixels;
    }
    // How image i of the large system list draws.
    static std::vector<COLORREF> ListPixels(int i)
    {
        HICON hIcon = ImageList_GetIcon(GetShellImageList(FALSE), i, ILD_NORMAL);
        std::vector<COLORREF> pixels = Pixels(hIcon);
        DestroyIcon(hIcon);
        return pixels;
    }

    TempFolder m_drive;
    std::unique_ptr<CCatalog> m_pCatalog;
    std::unique_ptr<CNodeRec> m_pRoot;
    std::unique_ptr<CNodeRec> m_pNode;
};

TEST_F(CDocumentRecIconsTest, TypeIconComesFromTheNameWhetherOrNotTheFileIsThere)
{
    EXPECT_EQ(Add("t:\\docs\\memo.txt")->GetTypeIcon(), SYSICON_TEXT);
    EXPECT_EQ(Add("t:\\docs\\gone.txt")->GetTypeIcon(), SYSICON_TEXT);
    EXPECT_EQ(Add("q:\\unreachable\\Beach.PNG")->GetTypeIcon(), SYSICON_PICTURE);
    EXPECT_EQ(Add("t:\\docs\\data.qqzz")->GetTypeIcon(), SYSICON_DOCUMENT);
    EXPECT_EQ(AddMail()->GetTypeIcon(), SYSICON_MAIL);
    CDocumentRec gone(m_pCatalog.get(), 999, 0);
    EXPECT_EQ(gone.GetTypeIcon(), -1);
    EXPECT_EQ(gone.GetIcon(), nullptr);
}

TEST_F(CDocumentRecIconsTest, TypeIconIsWorkedOutOnceAndTravelsWithClones)
{
    auto pMemo = Add("t:\\docs\\memo.txt");
    ASSERT_EQ(pMemo->GetTypeIcon(), SYSICON_TEXT);
    // Renaming through another object leaves this object's cached icon alone.
    auto pOther = Add("t:\\docs\\memo.txt");
    CDocumentInfo info {};
    ASSERT_TRUE(pOther->GetInfo(&info));
    strcpy(info.szName, "memo.zip");
    ASSERT_TRUE(pOther->UpdateInfo(info));
    EXPECT_EQ(pMemo->GetTypeIcon(), SYSICON_TEXT);
    std::unique_ptr<CDocumentRec> pClone(pMemo->Clone());
    ASSERT_TRUE(pClone);
    EXPECT_EQ(pClone->GetTypeIcon(), SYSICON_TEXT);
    EXPECT_EQ(Document(*m_pCatalog, pMemo->GetRef())->GetTypeIcon(), SYSICON_ARCHIVE) << "a new object reads anew";
}

TEST_F(CDocumentRecIconsTest, IconOfAFileOnDiskIsItsShellIcon)
{
    auto pMemo = Add("t:\\docs\\memo.txt");
    HICON hIcon = pMemo->GetIcon();
    ASSERT_NE(hIcon, nullptr);
    EXPECT_EQ(pMemo->GetIcon(), hIcon) << "kept by the object";
    EXPECT_EQ(Pixels(hIcon), ListPixels(SYSICON_TEXT));
    EXPECT_EQ(Pixels(AddMail()->GetIcon()), ListPixels(SYSICON_MAIL));
}

TEST_F(CDocumentRecIconsTest, MissingFilesShowTheModuleDocumentIcon)
{
    auto pGone = Add("t:\\docs\\gone.txt");
    {
        ProgramModule module;
        ASSERT_NE(module.Handle(), nullptr);
        HICON hDefault = LoadIcon(module.Handle(), MAKEINTRESOURCE(IDI_DOCUMENT));
        ASSERT_NE(hDefault, nullptr);
        EXPECT_EQ(Pixels(pGone->GetIcon()), Pixels(hDefault));
        EXPECT_NE(Pixels(hDefault), ListPixels(SYSICON_TEXT));
        pGone.reset(); // destroying the object leaves the shared icon usable
        ICONINFO iconInfo {};
        ASSERT_TRUE(GetIconInfo(hDefault, &iconInfo));
        DeleteObject(iconInfo.hbmMask);
        DeleteObject(iconInfo.hbmColor);
    }
    EXPECT_EQ(Add("t:\\docs\\gone.txt")->GetIcon(), nullptr) << "no module, no icon";
}

TEST_F(CDocumentRecIconsTest, ACloneOwnsItsOwnCopyOfTheIcon)
{
    auto pMemo = Add("t:\\docs\\memo.txt");
    std::vector<COLORREF> expected = Pixels(pMemo->GetIcon());
    std::unique_ptr<CDocumentRec> pClone(pMemo->Clone());
    ASSERT_TRUE(pClone);
    HICON hCloneIcon = pClone->GetIcon();
    EXPECT_NE(hCloneIcon, pMemo->GetIcon());
    pMemo.reset();
    EXPECT_EQ(Pixels(hCloneIcon), expected) << "the clone's icon outlives the original";
}

} // namespace
