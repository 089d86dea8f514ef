#include "platform/base/DriveTable.h"

#include "platform/base/WinError.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace {

// A desktop machine's mount table: system pseudo file systems, a separate
// /home partition, a USB stick, a DVD, an NFS and a CIFS share, and a
// partition under /mnt that is also bound on a second folder.
constexpr const char* DESKTOP_MOUNTS
    = "22 1 0:21 / /proc rw,relatime shared:5 - proc proc rw\n"
      "23 1 0:22 / /sys rw,relatime shared:6 - sysfs sysfs rw\n"
      "24 1 0:5 / /dev rw,nosuid shared:2 - devtmpfs udev rw,size=8g\n"
      "25 24 0:23 / /dev/pts rw shared:3 - devpts devpts rw,mode=600\n"
      "26 1 0:24 / /run rw,nosuid shared:7 - tmpfs tmpfs rw,size=1g\n"
      "27 1 8:2 / / rw,relatime shared:1 - ext4 /dev/sda2 rw\n"
      "28 23 0:26 / /sys/fs/cgroup rw shared:9 - cgroup2 cgroup2 rw\n"
      "29 26 0:27 / /run/user/1000 rw shared:200 - tmpfs tmpfs rw,size=800m\n"
      "30 1 8:3 / /home rw,relatime shared:30 - ext4 /dev/sda3 rw\n"
      "31 1 0:40 / /tmp rw shared:31 - tmpfs tmpfs rw\n"
      "32 1 0:50 / /mnt/nas rw,relatime shared:40 - nfs4 fileserver:/export/archive rw,vers=4.2\n"
      "33 1 0:51 / /mnt/office rw,relatime shared:41 - cifs //Office-PC/Documents rw,vers=3.0\n"
      "34 26 8:17 / /media/ana/USB\\040STICK rw,nosuid shared:50 - vfat /dev/sdb1 rw\n"
      "35 1 11:0 / /media/ana/DVD ro shared:51 - iso9660 /dev/sr0 ro\n"
      "36 1 8:4 / /mnt/data rw shared:52 - ext4 /dev/sda4 rw\n"
      "37 1 8:4 / /mnt/data-again rw shared:52 - ext4 /dev/sda4 rw\n"
      "38 1 0:60 / /var/lib/docker/overlay2/x/merged rw - overlay overlay rw\n";

CDriveTable DesktopTable()
{
    return CDriveTable::FromMounts(ParseMountInfo(DESKTOP_MOUNTS), {});
}

}

TEST(DriveTableTest, ParsesFieldsAndDecodesEscapes)
{
    std::vector<CMountEntry> mounts = ParseMountInfo(DESKTOP_MOUNTS);
    ASSERT_EQ(mounts.size(), 17u);
    const CMountEntry& stick = mounts[12];
    EXPECT_EQ(stick.strMountPoint, "/media/ana/USB STICK");
    EXPECT_EQ(stick.strFsType, "vfat");
    EXPECT_EQ(stick.strSource, "/dev/sdb1");
    EXPECT_EQ(stick.nMajor, 8u);
    EXPECT_EQ(stick.nMinor, 17u);
    EXPECT_EQ(mounts[0].strRoot, "/");
}

TEST(DriveTableTest, SkipsMalformedLines)
{
    std::vector<CMountEntry> mounts = ParseMountInfo("garbage\n"
                                                     "1 2 x:y / /a rw - ext4 /dev/a rw\n"
                                                     "1 2 8:1 / relative rw - ext4 /dev/a rw\n"
                                                     "1 2 8:1 / /nosep rw ext4 /dev/a rw\n"
                                                     "1 2 8:1 / /short rw -\n"
                                                     "\n"
                                                     "1 2 8:1 / /mnt/ok rw - ext4 /dev/a rw");
    ASSERT_EQ(mounts.size(), 1u);
    EXPECT_EQ(mounts[0].strMountPoint, "/mnt/ok");
}

TEST(DriveTableTest, LettersFollowTheMountPointOrder)
{
    CDriveTable table = DesktopTable();
    ASSERT_NE(table.GetDrive('C'), nullptr);
    EXPECT_EQ(table.GetDrive('C')->strHostFolder, "/");
    EXPECT_EQ(table.GetDrive('C')->uType, DRIVE_FIXED);
    EXPECT_EQ(table.GetDrive('C')->strFsType, "ext4");

    // Byte order of the mount points: /media/ana/DVD, /media/ana/USB STICK,
    // /mnt/data, /mnt/nas, /mnt/office. /mnt/data-again is /mnt/data again.
    struct {
        char chLetter;
        const char* pszFolder;
        UINT uType;
    } expected[] = {
        { 'D', "/media/ana/DVD", DRIVE_CDROM },
        { 'E', "/media/ana/USB STICK", DRIVE_REMOVABLE },
        { 'F', "/mnt/data", DRIVE_FIXED },
        { 'G', "/mnt/nas", DRIVE_REMOTE },
        { 'H', "/mnt/office", DRIVE_REMOTE },
    };
    for (const auto& drive : expected) {
        const CDrive* pDrive = table.GetDrive(drive.chLetter);
        ASSERT_NE(pDrive, nullptr) << drive.chLetter;
        EXPECT_EQ(pDrive->strHostFolder, drive.pszFolder);
        EXPECT_EQ(pDrive->uType, drive.uType) << drive.chLetter;
    }
    EXPECT_EQ(table.GetDriveMask(), 0b11111100u); // C: to H:
    EXPECT_EQ(table.GetDrive('d'), table.GetDrive('D'));
    EXPECT_EQ(table.GetDrive('1'), nullptr);
}

TEST(DriveTableTest, SameMountsInAnotherOrderGiveTheSameLetters)
{
    std::vector<CMountEntry> mounts = ParseMountInfo(DESKTOP_MOUNTS);
    std::reverse(mounts.begin(), mounts.end());
    CDriveTable reversed = CDriveTable::FromMounts(mounts, {});
    CDriveTable table = DesktopTable();
    for (char chLetter = 'A'; chLetter <= 'Z'; ++chLetter) {
        const CDrive* pFirst = table.GetDrive(chLetter);
        const CDrive* pSecond = reversed.GetDrive(chLetter);
        ASSERT_EQ(pFirst == nullptr, pSecond == nullptr) << chLetter;
        if (pFirst && chLetter != 'F') { // The bound partition keeps whichever folder came first.
            EXPECT_EQ(pFirst->strHostFolder, pSecond->strHostFolder) << chLetter;
        }
    }
}

TEST(DriveTableTest, SystemPartitionsAndPseudoFileSystemsGetNoLetter)
{
    CDriveTable table = DesktopTable();
    for (char chLetter = 'A'; chLetter <= 'Z'; ++chLetter) {
        const CDrive* pDrive = table.GetDrive(chLetter);
        if (!pDrive)
            continue;
        for (const char* pszSystem : { "/home", "/proc", "/sys", "/dev", "/run", "/tmp", "/run/user/1000" })
            EXPECT_NE(pDrive->strHostFolder, pszSystem);
        EXPECT_EQ(pDrive->strHostFolder.find("/var/lib/docker"), std::string::npos);
    }
    for (const char* pszHidden : { "/proc", "/sys", "/dev", "/dev/pts", "/run", "/sys/fs/cgroup", "/run/user/1000",
             "/var/lib/docker/overlay2/x/merged" })
        EXPECT_TRUE(table.IsHiddenMountPoint(pszHidden)) << pszHidden;
    for (const char* pszListed : { "/", "/home", "/tmp", "/mnt/nas", "/proc/self" })
        EXPECT_FALSE(table.IsHiddenMountPoint(pszListed)) << pszListed;
}

TEST(DriveTableTest, NetworkMountsAnswerUncNames)
{
    CDriveTable table = DesktopTable();
    size_t nUsed = 0;
    const CShare* pNfs = table.FindShare({ "FILESERVER", "Archive", "2024" }, &nUsed);
    ASSERT_NE(pNfs, nullptr);
    EXPECT_EQ(pNfs->strHostFolder, "/mnt/nas");
    EXPECT_EQ(nUsed, 2u);
    const CShare* pCifs = table.FindShare({ "office-pc", "documents" }, &nUsed);
    ASSERT_NE(pCifs, nullptr);
    EXPECT_EQ(pCifs->strHostFolder, "/mnt/office");
    EXPECT_EQ(table.FindShare({ "fileserver", "export" }, &nUsed), nullptr);
    EXPECT_EQ(table.FindShare({ "office-pc" }, &nUsed), nullptr);
}

TEST(DriveTableTest, SharesOfSubfoldersAndOtherNetworkSources)
{
    CDriveTable table = CDriveTable::FromMounts(
        ParseMountInfo("1 0 8:1 / / rw - ext4 /dev/sda1 rw\n"
                       "2 1 0:50 / /net/whole rw - cifs //srv/pub rw\n"
                       "3 1 0:51 / /net/sub rw - smb3 //srv/pub/photos/2023 rw\n"
                       "4 1 0:52 / /home/ana/remote rw - fuse.sshfs ana@box.lan:/srv/files/ rw\n"
                       "5 1 0:53 / /net/v6 rw - nfs [fd00::1]:/vol/proj rw\n"
                       "6 1 0:54 / /net/rootexport rw - nfs srv:/ rw\n"),
        {});
    size_t nUsed = 0;
    const CShare* pShare = table.FindShare({ "srv", "pub", "photos", "2023", "a.jpg" }, &nUsed);
    ASSERT_NE(pShare, nullptr);
    EXPECT_EQ(pShare->strHostFolder, "/net/sub"); // The deeper share wins.
    EXPECT_EQ(nUsed, 4u);
    pShare = table.FindShare({ "srv", "pub", "photos", "2024" }, &nUsed);
    ASSERT_NE(pShare, nullptr);
    EXPECT_EQ(pShare->strHostFolder, "/net/whole");
    pShare = table.FindShare({ "box.lan", "files" }, &nUsed);
    ASSERT_NE(pShare, nullptr);
    EXPECT_EQ(pShare->strHostFolder, "/home/ana/remote");
    pShare = table.FindShare({ "[fd00::1]", "proj" }, &nUsed);
    ASSERT_NE(pShare, nullptr);
    EXPECT_EQ(table.GetShares().size(), 4u); // "srv:/" names no share.
    // Network mounts get letters wherever they are mounted.
    EXPECT_NE(table.GetDrive('D'), nullptr);
    EXPECT_EQ(table.GetDrive('D')->strHostFolder, "/home/ana/remote");
    EXPECT_EQ(table.GetDrive('D')->uType, DRIVE_REMOTE);
}

TEST(DriveTableTest, RemovableProbeMarksDevicesRemovable)
{
    CDriveTable table = CDriveTable::FromMounts(ParseMountInfo("1 0 8:1 / / rw - ext4 /dev/sda1 rw\n"
                                                               "2 1 8:33 / /mnt/card rw - exfat /dev/sdc1 rw\n"
                                                               "3 1 8:49 / /srv/stick rw - vfat /dev/sdd1 rw\n"),
        [](const CMountEntry& mount) { return mount.nMinor >= 33; });
    ASSERT_NE(table.GetDrive('D'), nullptr);
    EXPECT_EQ(table.GetDrive('D')->uType, DRIVE_REMOVABLE);
    ASSERT_NE(table.GetDrive('E'), nullptr);
    EXPECT_EQ(table.GetDrive('E')->strHostFolder, "/srv/stick");
}

TEST(DriveTableTest, LaterMountsCoverEarlierOnesAndNestedPseudoMountsStayHidden)
{
    CDriveTable table = CDriveTable::FromMounts(ParseMountInfo("1 0 8:1 / / rw - ext4 /dev/sda1 rw\n"
                                                               "2 1 0:50 / /mnt/x rw - nfs a:/one rw\n"
                                                               "3 1 8:2 / /mnt/x rw - ext4 /dev/sda2 rw\n"
                                                               "4 1 0:21 / /proc rw - proc proc rw\n"
                                                               "5 4 8:3 / /proc/odd rw - ext4 /dev/sda3 rw\n"),
        {});
    ASSERT_NE(table.GetDrive('D'), nullptr);
    EXPECT_EQ(table.GetDrive('D')->uType, DRIVE_FIXED);
    EXPECT_EQ(table.GetDrive('E'), nullptr);
    EXPECT_TRUE(table.GetShares().empty());
    EXPECT_EQ(table.FileSystemTypeAt("/mnt/x/file"), "ext4");
}

TEST(DriveTableTest, OverridesReplaceAndRemoveLettersAndSurviveReloads)
{
    ReloadDriveTable(DESKTOP_MOUNTS);
    ASSERT_TRUE(SetDriveOverride('c', "/home/ana/", DRIVE_FIXED));
    ASSERT_TRUE(SetDriveOverride('R', "/srv/ram", DRIVE_RAMDISK));
    ASSERT_TRUE(SetDriveOverride('G', nullptr, 0));
    ReloadDriveTable(DESKTOP_MOUNTS);
    auto pTable = GetDriveTable();
    EXPECT_EQ(pTable->GetDrive('C')->strHostFolder, "/home/ana");
    EXPECT_EQ(pTable->GetDrive('C')->strFsType, "ext4");
    EXPECT_EQ(pTable->GetDrive('R')->uType, DRIVE_RAMDISK);
    EXPECT_EQ(pTable->GetDrive('G'), nullptr);
    EXPECT_NE(pTable->GetDrive('H'), nullptr);

    SetLastError(ERROR_SUCCESS);
    EXPECT_FALSE(SetDriveOverride('#', "/x", DRIVE_FIXED));
    EXPECT_EQ(GetLastError(), ERROR_INVALID_PARAMETER);
    EXPECT_FALSE(SetDriveOverride('Q', "relative", DRIVE_FIXED));
    EXPECT_FALSE(SetDriveOverride('Q', "/x", DRIVE_NO_ROOT_DIR));
    EXPECT_FALSE(SetDriveOverride('Q', "/x", 7));

    ResetDriveTable();
    EXPECT_EQ(GetDriveTable()->GetDrive('R'), nullptr);
    EXPECT_EQ(GetDriveTable()->GetDrive('C')->strHostFolder, "/");
}

TEST(DriveTableTest, HostTableHasTheRootAsC)
{
    ResetDriveTable();
    auto pTable = GetDriveTable();
    ASSERT_NE(pTable->GetDrive('C'), nullptr);
    EXPECT_EQ(pTable->GetDrive('C')->strHostFolder, "/");
    EXPECT_TRUE(pTable->IsHiddenMountPoint("/proc"));
}
