#include "platform/base/Volumes.h"

#include "platform/base/WinError.h"
#include "tests/platform/base/DriveFolderFixture.h"

#include <gtest/gtest.h>

#include <string>

namespace {

class VolumesTest : public DriveFolderTest { };

}

TEST_F(VolumesTest, LogicalDrivesListEveryLetter)
{
    ReloadDriveTable("1 0 8:1 / / rw - ext4 /dev/sda1 rw\n"
                     "2 1 0:50 / /mnt/nas rw - nfs srv:/data rw\n");
    ASSERT_TRUE(SetDriveOverride('Z', "/srv", DRIVE_FIXED));
    // C: the root, D: the NFS mount, T: the fixture's folder, Z:.
    DWORD dwExpected = (1u << 2) | (1u << 3) | (1u << ('T' - 'A')) | (1u << 25);
    EXPECT_EQ(GetLogicalDrives(), dwExpected);
    char szDrives[64];
    DWORD dwLength = GetLogicalDriveStrings(sizeof(szDrives), szDrives);
    EXPECT_EQ(std::string(szDrives, dwLength + 1), std::string("C:\\\0D:\\\0T:\\\0Z:\\\0\0", 17));
    EXPECT_EQ(dwLength, 16u);
    EXPECT_EQ(GetLogicalDriveStrings(4, szDrives), 17u);
}

TEST_F(VolumesTest, DriveTypesOfRootsAndShares)
{
    ReloadDriveTable("1 0 8:1 / / rw - ext4 /dev/sda1 rw\n"
                     "2 1 0:50 / /mnt/nas rw - nfs srv:/data rw\n"
                     "3 1 11:0 / /media/dvd ro - iso9660 /dev/sr0 ro\n");
    EXPECT_EQ(GetDriveType("C:\\"), DRIVE_FIXED);
    EXPECT_EQ(GetDriveType("c:"), DRIVE_FIXED);
    EXPECT_EQ(GetDriveType("D:\\"), DRIVE_CDROM);
    EXPECT_EQ(GetDriveType("E:\\"), DRIVE_REMOTE);
    EXPECT_EQ(GetDriveType("\\\\srv\\data\\"), DRIVE_REMOTE);
    EXPECT_EQ(GetDriveType("Q:\\"), DRIVE_NO_ROOT_DIR);
    EXPECT_EQ(GetDriveType("C:\\usr\\"), DRIVE_NO_ROOT_DIR);
    EXPECT_EQ(GetDriveType("\\\\nobody\\x\\"), DRIVE_NO_ROOT_DIR);
    ASSERT_TRUE(SetCurrentDirectory("T:\\"));
    EXPECT_EQ(GetDriveType(nullptr), DRIVE_FIXED);
}

TEST_F(VolumesTest, VolumeInformationOfADrive)
{
    char szLabel[MAX_PATH];
    char szFileSystem[MAX_PATH];
    DWORD dwSerial = 0, dwMaxComponent = 0, dwFlags = 0;
    ASSERT_TRUE(
        GetVolumeInformation("T:\\", szLabel, MAX_PATH, &dwSerial, &dwMaxComponent, &dwFlags, szFileSystem, MAX_PATH));
    EXPECT_EQ(std::string(szLabel), Folder().Path().filename().string());
    EXPECT_GE(dwMaxComponent, 255u);
    EXPECT_TRUE(dwFlags & FILE_CASE_PRESERVED_NAMES);
    EXPECT_FALSE(dwFlags & FILE_CASE_SENSITIVE_SEARCH);
    // The serial number is the file system's: the same for two folders on it.
    DWORD dwRootSerial = 0;
    ASSERT_TRUE(SetDriveOverride('S', (Folder().Path() / "..").c_str(), DRIVE_FIXED));
    ASSERT_TRUE(GetVolumeInformation("S:\\", nullptr, 0, &dwRootSerial, nullptr, nullptr, nullptr, 0));
    EXPECT_EQ(dwSerial, dwRootSerial);

    char szSmall[1];
    EXPECT_FALSE(GetVolumeInformation("T:\\", szSmall, sizeof(szSmall), nullptr, nullptr, nullptr, nullptr, 0));
    EXPECT_EQ(GetLastError(), ERROR_MORE_DATA);
    EXPECT_FALSE(GetVolumeInformation("T:\\sub\\", nullptr, 0, nullptr, nullptr, nullptr, nullptr, 0));
    EXPECT_EQ(GetLastError(), ERROR_DIR_NOT_ROOT);
    EXPECT_FALSE(GetVolumeInformation("Q:\\", nullptr, 0, nullptr, nullptr, nullptr, nullptr, 0));
    EXPECT_EQ(GetLastError(), ERROR_INVALID_DRIVE);
}

TEST_F(VolumesTest, FileSystemNamesFollowTheMountTable)
{
    std::string strFolder = Folder().Path().string();
    std::string strMounts = "1 0 8:1 / / rw - ext4 /dev/sda1 rw\n2 1 8:17 / " + strFolder + " rw - vfat /dev/sdb1 rw\n";
    ReloadDriveTable(strMounts.c_str());
    char szFileSystem[16];
    ASSERT_TRUE(
        GetVolumeInformation("T:\\", nullptr, 0, nullptr, nullptr, nullptr, szFileSystem, sizeof(szFileSystem)));
    EXPECT_STREQ(szFileSystem, "FAT32");
    ASSERT_TRUE(
        GetVolumeInformation("C:\\", nullptr, 0, nullptr, nullptr, nullptr, szFileSystem, sizeof(szFileSystem)));
    EXPECT_STREQ(szFileSystem, "EXT4");
}

TEST_F(VolumesTest, FreeSpaceAddsUp)
{
    ULARGE_INTEGER free {}, total {}, totalFree {};
    ASSERT_TRUE(GetDiskFreeSpaceEx("T:\\", &free, &total, &totalFree));
    EXPECT_GT(total.QuadPart, 0u);
    EXPECT_LE(free.QuadPart, totalFree.QuadPart);
    EXPECT_LE(totalFree.QuadPart, total.QuadPart);
    Write("deep/er/file");
    EXPECT_TRUE(GetDiskFreeSpaceEx("T:\\deep\\er", nullptr, &total, nullptr));

    DWORD dwSectorsPerCluster = 0, dwBytesPerSector = 0, dwFreeClusters = 0, dwTotalClusters = 0;
    ASSERT_TRUE(GetDiskFreeSpace("T:\\", &dwSectorsPerCluster, &dwBytesPerSector, &dwFreeClusters, &dwTotalClusters));
    EXPECT_EQ(dwBytesPerSector, 512u);
    EXPECT_GE(dwSectorsPerCluster, 1u);
    EXPECT_LE(dwFreeClusters, dwTotalClusters);
    EXPECT_FALSE(GetDiskFreeSpaceEx("Q:\\", &free, nullptr, nullptr));
    EXPECT_EQ(GetLastError(), ERROR_INVALID_DRIVE);
}
