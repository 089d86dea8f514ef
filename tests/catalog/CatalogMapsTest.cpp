#include "catalog/CCatalogFolderMap.h"
#include "catalog/CKeywordTypeMap.h"

#include "platform/base/DriveTable.h"
#include "store/CNetDriveMap.h"
#include "tests/catalog/CatalogDriveFixture.h"

#include <gtest/gtest.h>

namespace {

class CatalogMapsTest : public CatalogDriveTest {
protected:
    static std::vector<std::string> Names(const CNodeRecArray* pNodes)
    {
        return pNodes != nullptr ? NodeNames(*pNodes) : std::vector<std::string>();
    }
};

TEST_F(CatalogMapsTest, FolderKeysDropTheStarAndTheTrailingBackslash)
{
    auto pReports = Group("Reports", 0);
    auto pMail = Group("Mail", 0);
    AssignFolder(*pReports, "c:\\docs\\reports\\");
    AssignFolder(*pMail, "*c:\\mail\\inbox");

    CCatalogFolderMap map(m_pCatalog.get());
    EXPECT_EQ(map.GetCount(), 2);
    EXPECT_EQ(Names(map.LookupFolder("c:\\docs\\reports")), std::vector<std::string> { "Reports" });
    EXPECT_EQ(Names(map.LookupFolder("C:\\Docs\\Reports\\")), std::vector<std::string> { "Reports" });
    EXPECT_EQ(Names(map.LookupFolder("c:\\mail\\inbox")), std::vector<std::string> { "Mail" });
    EXPECT_EQ(map.LookupFolder("c:\\docs"), nullptr);
    // The list is read once and kept.
    EXPECT_EQ(map.LookupFolder("c:\\docs\\reports"), map.LookupFolder("c:\\docs\\reports\\"));
}

TEST_F(CatalogMapsTest, AFolderOnANetworkDriveIsFoundByItsShare)
{
    // Mount a share and give it a letter, as the drive table finds it.
    const std::string strShare = (DriveT() / "share").string();
    std::filesystem::create_directories(strShare);
    ReloadDriveTable(
        ("1 0 8:1 / / rw - ext4 /dev/sda1 rw\n2 1 0:51 / " + strShare + " rw - cifs //Office-PC/Documents rw\n")
            .c_str());
    g_netDriveMap.InvalidateScan();
    CString strLetterPath;
    ASSERT_TRUE(g_netDriveMap.UNCToDrive("\\\\office-pc\\documents\\reports", strLetterPath));

    auto pNode = Group("Shared", 0);
    AssignFolder(*pNode, "\\\\office-pc\\documents\\reports\\");
    CCatalogFolderMap map(m_pCatalog.get());
    EXPECT_EQ(Names(map.LookupFolder(strLetterPath)), std::vector<std::string> { "Shared" });
    g_netDriveMap.InvalidateScan();
}

TEST_F(CatalogMapsTest, KeywordsGoToTheMapOfTheirNodesBits)
{
    auto pFiles = Group("Files", 0x01);
    auto pMail = Group("Mail", 0x10);
    auto pBoth = Group("Both", 0x11);
    AssignKeyword(*pFiles, "Budget");
    AssignKeyword(*pMail, "Invoice");
    AssignKeyword(*pBoth, "budget");
    AssignKeyword(*pBoth, "Plan");

    CKeywordMapLowTypes low(m_pCatalog.get());
    CKeywordMapHighTypes high(m_pCatalog.get());
    // Keys are lower-cased; a keyword of mail nodes only is no key of the file map.
    EXPECT_EQ(Names(low.LookupKeyword("budget")), (std::vector<std::string> { "Files", "Both" }));
    EXPECT_EQ(low.LookupKeyword("invoice"), nullptr);
    EXPECT_EQ(Names(low.LookupKeyword("plan")), std::vector<std::string> { "Both" });
    EXPECT_EQ(Names(high.LookupKeyword("invoice")), std::vector<std::string> { "Mail" });
    EXPECT_EQ(Names(high.LookupKeyword("budget")), std::vector<std::string> { "Both" });
    EXPECT_EQ(high.GetCount(), 3);
}

} // namespace
