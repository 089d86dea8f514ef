#include "store/CDocumentRec.h"

#include "platform/base/DriveTable.h"
#include "platform/base/PathMap.h"
#include "store/CDirectoryRec.h"
#include "store/CNetDriveMap.h"
#include "tests/store/CatalogBuilder.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

// A cifs share \\Office-PC\Documents "mounted" below the program folder, which
// the drive table gives a letter.
class CDocumentRecNetworkTest : public CatalogTest {
protected:
    void SetUp() override
    {
        CatalogTest::SetUp();
        std::filesystem::create_directories(HostPath("cifs") / "reports");
        std::ofstream(HostPath("cifs") / "reports" / "plan.odt") << "a plan";
        std::string strMounts = "1 0 8:1 / / rw - ext4 /dev/sda1 rw\n2 1 0:51 / " + HostPath("cifs").string()
            + " rw - cifs //Office-PC/Documents rw\n";
        ReloadDriveTable(strMounts.c_str());
        g_netDriveMap.InvalidateScan();
        std::string strDrive = ProgramPathFromHostPath(HostPath("cifs").string());
        ASSERT_EQ(strDrive.size(), 3u);
        m_strDrive = std::string(1, static_cast<char>(strDrive[0] | 0x20)) + ":\\";
        m_pCatalog = NewMainCatalog();
        m_pNode = AddNode(*Root(*m_pCatalog), "Shared");
    }
    void TearDown() override
    {
        m_pNode.reset();
        m_pCatalog.reset();
        ResetDriveTable();
        g_netDriveMap.InvalidateScan();
        CatalogTest::TearDown();
    }

    std::string m_strDrive; // "x:\" of the share
    std::unique_ptr<CCatalog> m_pCatalog;
    std::unique_ptr<CNodeRec> m_pNode;
};

TEST_F(CDocumentRecNetworkTest, DocumentsOnNetworkDrivesAreKeptInShareForm)
{
    auto pDocument = AddDocument(*m_pCatalog, m_pNode.get(), (m_strDrive + "Reports\\Plan.odt").c_str());
    ASSERT_TRUE(pDocument);
    EXPECT_EQ(std::string(pDocument->GetDirectoryPath(FALSE)), "\\\\office-pc\\documents\\reports\\");
    EXPECT_EQ(std::string(pDocument->GetDirectoryPath(TRUE)), m_strDrive + "reports\\");
    CString strLabel;
    pDocument->GetLabel(strLabel);
    EXPECT_EQ(std::string(strLabel), m_strDrive + "reports\\");
    std::unique_ptr<CDirectoryRec> pDirectory(m_pCatalog->FindDirectory("\\\\Office-PC\\Documents\\Reports"));
    ASSERT_TRUE(pDirectory);
    EXPECT_EQ(std::string(pDirectory->GetPath()), "\\\\office-pc\\documents\\reports\\");
}

TEST_F(CDocumentRecNetworkTest, BothFormsFindTheSameDocument)
{
    auto pDocument = AddDocument(*m_pCatalog, m_pNode.get(), "\\\\office-pc\\documents\\reports\\plan.odt");
    std::unique_ptr<CDocumentRec> pByDrive(m_pCatalog->FindPath((m_strDrive + "REPORTS\\plan.odt").c_str()));
    std::unique_ptr<CDocumentRec> pByFolder(m_pCatalog->FindPath((m_strDrive + "reports").c_str(), "plan.odt"));
    ASSERT_TRUE(pByDrive && pByFolder);
    EXPECT_EQ(pByDrive->GetRef(), pDocument->GetRef());
    EXPECT_EQ(pByFolder->GetRef(), pDocument->GetRef());
    // Adding through the drive letter finds the same document.
    auto pAgain = AddDocument(*m_pCatalog, m_pNode.get(), (m_strDrive + "reports\\plan.odt").c_str());
    EXPECT_EQ(pAgain->GetRef(), pDocument->GetRef());
    EXPECT_EQ(m_pNode->CountDocuments(), 1);
}

TEST_F(CDocumentRecNetworkTest, StateIsReadThroughTheShare)
{
    auto pDocument = AddDocument(*m_pCatalog, m_pNode.get(), (m_strDrive + "reports\\plan.odt").c_str());
    EXPECT_TRUE(pDocument->LoadState().bFound);
    EXPECT_EQ(pDocument->LoadState().nSize, 6);

    // A share that is no longer mounted cannot be reached.
    ReloadDriveTable("1 0 8:1 / / rw - ext4 /dev/sda1 rw\n");
    g_netDriveMap.InvalidateScan();
    EXPECT_EQ(pDocument->GetExpiryState(TRUE), EXPIRY_UNREACHABLE);
}

TEST_F(CDocumentRecNetworkTest, ResolvePathFindsANetworkFileByEitherForm)
{
    auto pDocument = AddDocument(*m_pCatalog, m_pNode.get(), (m_strDrive + "reports\\plan.odt").c_str());
    ASSERT_TRUE(pDocument);
    for (const std::string& strFolder :
        { m_strDrive + "Reports\\", std::string("\\\\Office-PC\\Documents\\Reports") }) {
        std::unique_ptr<CDocumentRec> pFound(m_pCatalog->ResolvePath(strFolder.c_str(), "PLAN.odt"));
        ASSERT_TRUE(pFound) << strFolder;
        EXPECT_EQ(pFound->GetRef(), pDocument->GetRef());
    }
    EXPECT_TRUE(FindDocumentByPath(m_pCatalog.get(), "\\\\office-pc\\documents\\reports\\plan.odt"));
    EXPECT_FALSE(
        std::unique_ptr<CDocumentRec>(m_pCatalog->ResolvePath((m_strDrive + "reports\\").c_str(), "other.odt")));
}
