#include "ui/DocumentIcons.h"

#include "store/CDocumentRec.h"

#include "platform/base/DriveTable.h"
#include "platform/gdi/Icons.h"
#include "platform/shell/SystemImageLists.h"
#include "resources/ResourceIds.h"
#include "tests/platform/gdi/GdiTestCanvas.h"
#include "tests/store/CatalogBuilder.h"
#include "tests/ui/ProgramModule.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

// Documents of a catalog on drive T:, a fresh folder holding t:\docs\memo.txt;
// t:\docs\gone.txt is catalogued but not on disk.
class DocumentIconsTest : public CatalogTest {
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

TEST_F(DocumentIconsTest, TypeIconComesFromTheNameWhetherOrNotTheFileIsThere)
{
    EXPECT_EQ(GetDocumentTypeIcon(*Add("t:\\docs\\memo.txt")), SYSICON_TEXT);
    EXPECT_EQ(GetDocumentTypeIcon(*Add("t:\\docs\\gone.txt")), SYSICON_TEXT);
    EXPECT_EQ(GetDocumentTypeIcon(*Add("q:\\unreachable\\Beach.PNG")), SYSICON_PICTURE);
    EXPECT_EQ(GetDocumentTypeIcon(*Add("t:\\docs\\data.qqzz")), SYSICON_DOCUMENT);
    EXPECT_EQ(GetDocumentTypeIcon(*AddMail()), SYSICON_MAIL);
    CDocumentRec gone(m_pCatalog.get(), 999, 0);
    EXPECT_EQ(GetDocumentTypeIcon(gone), -1);
    EXPECT_EQ(GetDocumentIcon(gone), nullptr);
}

TEST_F(DocumentIconsTest, TypeIconIsWorkedOutOnceAndTravelsWithClones)
{
    auto pMemo = Add("t:\\docs\\memo.txt");
    ASSERT_EQ(GetDocumentTypeIcon(*pMemo), SYSICON_TEXT);
    // Renaming through another object leaves this object's cached icon alone.
    auto pOther = Add("t:\\docs\\memo.txt");
    CDocumentInfo info {};
    ASSERT_TRUE(pOther->GetInfo(&info));
    strcpy(info.szName, "memo.zip");
    ASSERT_TRUE(pOther->UpdateInfo(info));
    EXPECT_EQ(GetDocumentTypeIcon(*pMemo), SYSICON_TEXT);
    std::unique_ptr<CDocumentRec> pClone(pMemo->Clone());
    ASSERT_TRUE(pClone);
    EXPECT_EQ(GetDocumentTypeIcon(*pClone), SYSICON_TEXT);
    EXPECT_EQ(GetDocumentTypeIcon(*Document(*m_pCatalog, pMemo->GetRef())), SYSICON_ARCHIVE)
        << "a new object reads anew";
}

TEST_F(DocumentIconsTest, IconOfAFileOnDiskIsItsShellIcon)
{
    auto pMemo = Add("t:\\docs\\memo.txt");
    HICON hIcon = GetDocumentIcon(*pMemo);
    ASSERT_NE(hIcon, nullptr);
    EXPECT_EQ(GetDocumentIcon(*pMemo), hIcon) << "kept by the object";
    EXPECT_EQ(Pixels(hIcon), ListPixels(SYSICON_TEXT));
    EXPECT_EQ(Pixels(GetDocumentIcon(*AddMail())), ListPixels(SYSICON_MAIL));
}

TEST_F(DocumentIconsTest, MissingFilesShowTheModuleDocumentIcon)
{
    auto pGone = Add("t:\\docs\\gone.txt");
    {
        ProgramModule module;
        ASSERT_NE(module.Handle(), nullptr);
        HICON hDefault = LoadIcon(module.Handle(), MAKEINTRESOURCE(IDI_DOCUMENT));
        ASSERT_NE(hDefault, nullptr);
        EXPECT_EQ(Pixels(GetDocumentIcon(*pGone)), Pixels(hDefault));
        EXPECT_NE(Pixels(hDefault), ListPixels(SYSICON_TEXT));
        pGone.reset(); // destroying the object leaves the shared icon usable
        ICONINFO iconInfo {};
        ASSERT_TRUE(GetIconInfo(hDefault, &iconInfo));
        DeleteObject(iconInfo.hbmMask);
        DeleteObject(iconInfo.hbmColor);
    }
    EXPECT_EQ(GetDocumentIcon(*Add("t:\\docs\\gone.txt")), nullptr) << "no module, no icon";
}

TEST_F(DocumentIconsTest, ACloneOwnsItsOwnCopyOfTheIcon)
{
    auto pMemo = Add("t:\\docs\\memo.txt");
    std::vector<COLORREF> expected = Pixels(GetDocumentIcon(*pMemo));
    std::unique_ptr<CDocumentRec> pClone(pMemo->Clone());
    ASSERT_TRUE(pClone);
    HICON hCloneIcon = GetDocumentIcon(*pClone);
    EXPECT_NE(hCloneIcon, GetDocumentIcon(*pMemo));
    pMemo.reset();
    EXPECT_EQ(Pixels(hCloneIcon), expected) << "the clone's icon outlives the original";
}

} // namespace
