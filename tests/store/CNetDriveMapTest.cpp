#include "store/CNetDriveMap.h"

#include "platform/base/FileFunctions.h"
#include "platform/base/Volumes.h"
#include "platform/base/WinError.h"
#include "tests/platform/base/DriveFolderFixture.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

namespace {

namespace fs = std::filesystem;

// Two shares "mounted" below the test folder: a cifs share \\Office-PC\Documents
// and an nfs export that answers \\fileserver\archive. Each gets a drive letter
// from the mount table.
class CNetDriveMapTest : public DriveFolderTest {
protected:
    void SetUp() override
    {
        DriveFolderTest::SetUp();
        fs::create_directories(Folder() / "cifs" / "Reports");
        fs::create_directories(Folder() / "nfs");
        std::string strFolder = Folder().Path().string();
        std::string strMounts = "1 0 8:1 / / rw - ext4 /dev/sda1 rw\n2 1 0:50 / " + strFolder
            + "/nfs rw - nfs4 fileserver:/export/archive rw\n3 1 0:51 / " + strFolder
            + "/cifs rw - cifs //Office-PC/Documents rw\n";
        ReloadDriveTable(strMounts.c_str());
        g_netDriveMap.InvalidateScan();
        m_chDocuments = LetterOf("cifs");
        m_chArchive = LetterOf("nfs");
        ASSERT_NE(m_chDocuments, m_chArchive);
    }

    char LetterOf(const std::string& strRelative) const
    {
        std::string strProgramPath = ProgramPathFromHostPath((Folder() / strRelative).string());
        EXPECT_EQ(strProgramPath.substr(1), ":\\");
        return strProgramPath.empty() ? '?' : strProgramPath[0];
    }

    std::string Lower(char ch) const { return std::string(1, static_cast<char>(ch - 'A' + 'a')); }

    char m_chDocuments { 0 };
    char m_chArchive { 0 };
};

TEST_F(CNetDriveMapTest, DrivePathsTurnIntoShareForm)
{
    std::string strDrive(1, m_chDocuments);
    EXPECT_EQ(std::string(NormalizeDrivePath((strDrive + ":\\Reports\\Plan.ODT").c_str())),
        "\\\\office-pc\\documents\\reports\\plan.odt");
    EXPECT_EQ(std::string(NormalizeDrivePath((strDrive + ":\\").c_str())), "\\\\office-pc\\documents\\");
    EXPECT_EQ(
        std::string(NormalizeDrivePath((std::string(1, m_chArchive) + ":\\x").c_str())), "\\\\fileserver\\archive\\x");
    // A leading star stays; paths on other drives are only lower-cased.
    EXPECT_EQ(std::string(NormalizeDrivePath(("*" + strDrive + ":\\Reports\\").c_str())),
        "*\\\\office-pc\\documents\\reports\\");
    EXPECT_EQ(std::string(NormalizeDrivePath("T:\\Docs\\A.txt")), "t:\\docs\\a.txt");
    EXPECT_EQ(std::string(NormalizeDrivePath("*T:\\Docs\\")), "*t:\\docs\\");
    EXPECT_EQ(std::string(NormalizeDrivePath("\\\\Other\\Share\\X")), "\\\\other\\share\\x");
    EXPECT_EQ(std::string(NormalizeDrivePath(nullptr)), "");
}

TEST_F(CNetDriveMapTest, SharePathsTurnIntoDriveForm)
{
    std::string strLetter = Lower(m_chDocuments);
    EXPECT_EQ(std::string(NormalizeUNCPath("\\\\OFFICE-PC\\Documents\\Reports\\Plan.odt")),
        strLetter + ":\\reports\\plan.odt");
    EXPECT_EQ(std::string(NormalizeUNCPath("\\\\office-pc\\documents")), strLetter + ":\\");
    EXPECT_EQ(std::string(NormalizeUNCPath("*\\\\office-pc\\documents\\Reports\\")), "*" + strLetter + ":\\reports\\");
    // Only whole share names match.
    EXPECT_EQ(std::string(NormalizeUNCPath("\\\\office-pc\\documents2\\x")), "\\\\office-pc\\documents2\\x");
    EXPECT_EQ(std::string(NormalizeUNCPath("\\\\nobody\\share\\X")), "\\\\nobody\\share\\x");
    EXPECT_EQ(std::string(NormalizeUNCPath("T:\\Docs")), "t:\\docs");
}

TEST_F(CNetDriveMapTest, TheMostSpecificMappingWins)
{
    ASSERT_TRUE(SetDriveOverride('S', (Folder() / "cifs" / "Reports").c_str(), DRIVE_REMOTE));
    g_netDriveMap.InvalidateScan();
    CString strResult;
    EXPECT_TRUE(g_netDriveMap.DriveToUNC("S:\\2024\\q1.ods", strResult));
    EXPECT_EQ(std::string(strResult), "\\\\Office-PC\\Documents\\Reports\\2024\\q1.ods");
    EXPECT_TRUE(g_netDriveMap.UNCToDrive("\\\\office-pc\\documents\\reports\\2024", strResult));
    EXPECT_EQ(std::string(strResult), "S:\\2024");
    EXPECT_TRUE(g_netDriveMap.UNCToDrive("\\\\office-pc\\documents\\other", strResult));
    EXPECT_EQ(std::string(strResult), std::string(1, m_chDocuments) + ":\\other");
}

TEST_F(CNetDriveMapTest, PathsWithoutAShareFormStayUnchanged)
{
    // A network letter on a folder that no share holds, and a drive-relative path.
    fs::create_directories(Folder() / "plain");
    ASSERT_TRUE(SetDriveOverride('M', (Folder() / "plain").c_str(), DRIVE_REMOTE));
    g_netDriveMap.InvalidateScan();
    CString strResult;
    EXPECT_FALSE(g_netDriveMap.DriveToUNC("M:\\x", strResult));
    EXPECT_EQ(std::string(strResult), "M:\\x");
    EXPECT_FALSE(g_netDriveMap.DriveToUNC((std::string(1, m_chDocuments) + ":x").c_str(), strResult));
    EXPECT_FALSE(g_netDriveMap.DriveToUNC("T:\\x", strResult));
    EXPECT_FALSE(g_netDriveMap.UNCToDrive("T:\\x", strResult));
    EXPECT_FALSE(g_netDriveMap.DriveToUNC(nullptr, strResult));
}

TEST_F(CNetDriveMapTest, DrivesAreScannedOnceUntilTheFlagIsCleared)
{
    CString strResult;
    ASSERT_FALSE(g_netDriveMap.IsScanned());
    EXPECT_FALSE(g_netDriveMap.DriveToUNC("K:\\x", strResult));
    EXPECT_TRUE(g_netDriveMap.IsScanned());
    ASSERT_TRUE(SetDriveOverride('K', (Folder() / "nfs").c_str(), DRIVE_REMOTE));
    EXPECT_FALSE(g_netDriveMap.DriveToUNC("K:\\x", strResult));
    g_netDriveMap.InvalidateScan();
    EXPECT_FALSE(g_netDriveMap.IsScanned());
    EXPECT_TRUE(g_netDriveMap.DriveToUNC("K:\\x", strResult));
    EXPECT_EQ(std::string(strResult), "\\\\fileserver\\archive\\x");
}

TEST_F(CNetDriveMapTest, ConnectDriveMapsAReachableShare)
{
    EXPECT_EQ(g_netDriveMap.ConnectDrive("\\\\office-pc\\documents", "K:"), 1);
    EXPECT_EQ(GetDriveType("K:\\"), DRIVE_REMOTE);
    EXPECT_NE(GetFileAttributes("K:\\Reports"), INVALID_FILE_ATTRIBUTES);
    EXPECT_EQ(std::string(NormalizeDrivePath("K:\\Reports")), "\\\\office-pc\\documents\\reports");
    EXPECT_EQ(g_netDriveMap.ConnectDrive("\\\\fileserver\\archive", nullptr), 1);
}

TEST_F(CNetDriveMapTest, ConnectDriveFailsForUnreachableOrMalformedNames)
{
    EXPECT_EQ(g_netDriveMap.ConnectDrive("\\\\nobody\\share", "K:"), 0);
    EXPECT_EQ(GetLastError(), ERROR_BAD_NETPATH);
    EXPECT_EQ(GetDriveType("K:\\"), DRIVE_NO_ROOT_DIR);
    for (LPCTSTR pszRemote : { "T:\\x", "\\\\server", "", static_cast<LPCTSTR>(nullptr) }) {
        EXPECT_EQ(g_netDriveMap.ConnectDrive(pszRemote, "K:"), 0);
        EXPECT_EQ(GetLastError(), ERROR_INVALID_PARAMETER);
    }
    for (LPCTSTR pszDrive : { "KK", "1:", "K:\\x" }) {
        EXPECT_EQ(g_netDriveMap.ConnectDrive("\\\\office-pc\\documents", pszDrive), 0);
        EXPECT_EQ(GetLastError(), ERROR_INVALID_PARAMETER);
    }
}

TEST_F(CNetDriveMapTest, ConnectNetworkPathRestoresADroppedLetter)
{
    ASSERT_TRUE(SetDriveOverride('K', (Folder() / "cifs").c_str(), DRIVE_REMOTE));
    g_netDriveMap.InvalidateScan();
    g_netDriveMap.ScanDrives();
    // The letter goes away; the map still knows its share.
    ASSERT_TRUE(SetDriveOverride('K', nullptr, 0));
    ASSERT_EQ(GetFileAttributes("K:\\Reports"), INVALID_FILE_ATTRIBUTES);
    EXPECT_TRUE(ConnectNetworkPath("K:\\Reports"));
    EXPECT_NE(GetFileAttributes("K:\\Reports"), INVALID_FILE_ATTRIBUTES);
}

TEST_F(CNetDriveMapTest, ConnectNetworkPathReportsWhatStaysUnreachable)
{
    EXPECT_TRUE(ConnectNetworkPath("\\\\office-pc\\documents\\Reports"));
    EXPECT_TRUE(ConnectNetworkPath(OnT("").c_str()));
    EXPECT_FALSE(ConnectNetworkPath("\\\\office-pc\\documents\\Missing"));
    EXPECT_FALSE(ConnectNetworkPath("\\\\nobody\\share\\x"));
    EXPECT_FALSE(ConnectNetworkPath(OnT("missing").c_str()));
    EXPECT_FALSE(ConnectNetworkPath("relative\\x"));
    EXPECT_FALSE(ConnectNetworkPath(nullptr));
}

} // namespace
