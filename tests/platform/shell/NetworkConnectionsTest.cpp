#include "platform/shell/NetworkConnections.h"

#include "platform/base/DriveSettings.h"
#include "platform/base/Registry.h"
#include "platform/base/Volumes.h"
#include "platform/base/WinError.h"
#include "platform/shell/ShellFolder.h"
#include "tests/platform/shell/ShellTreeFixture.h"

namespace {

class NetworkConnectionsTest : public ShellTreeTest {
protected:
    static std::pair<DWORD, std::string> Connection(const char* pszLocal)
    {
        char szRemote[64] {};
        DWORD nLength = sizeof szRemote;
        DWORD dwResult = WNetGetConnection(pszLocal, szRemote, &nLength);
        return { dwResult, szRemote };
    }
    static DWORD Connect(
        const char* pszLocal, const char* pszRemote, DWORD dwType = RESOURCETYPE_DISK, DWORD dwFlags = 0)
    {
        NETRESOURCE resource {};
        resource.dwType = dwType;
        resource.lpLocalName = const_cast<LPSTR>(pszLocal);
        resource.lpRemoteName = const_cast<LPSTR>(pszRemote);
        return WNetAddConnection2(&resource, "secret", "ana", dwFlags);
    }
    // The names My Computer shows for its drives.
    static std::vector<std::string> DriveNames()
    {
        std::vector<std::string> names;
        IShellFolder* pDesktop = nullptr;
        IShellFolder* pDrives = nullptr;
        LPITEMIDLIST pidlDrives = nullptr;
        SHGetDesktopFolder(&pDesktop);
        SHGetSpecialFolderLocation(nullptr, CSIDL_DRIVES, &pidlDrives);
        pDesktop->BindToObject(pidlDrives, nullptr, IID_IShellFolder, reinterpret_cast<void**>(&pDrives));
        IEnumIDList* pEnum = nullptr;
        pDrives->EnumObjects(nullptr, SHCONTF_FOLDERS, &pEnum);
        LPITEMIDLIST pidl = nullptr;
        while (pEnum->Next(1, &pidl, nullptr) == S_OK) {
            STRRET name {};
            pDrives->GetDisplayNameOf(pidl, SHGDN_NORMAL, &name);
            names.emplace_back(name.cStr);
            CoTaskMemFree(pidl);
        }
        pEnum->Release();
        pDrives->Release();
        pDesktop->Release();
        CoTaskMemFree(pidlDrives);
        return names;
    }
};

} // namespace

TEST_F(NetworkConnectionsTest, LettersOfMountedShares)
{
    EXPECT_EQ(Connection("E:"), std::make_pair(DWORD { NO_ERROR }, std::string("\\\\server\\docs")));
    EXPECT_EQ(Connection("e:\\").first, NO_ERROR);
    EXPECT_EQ(Connection("P:").first, ERROR_NOT_CONNECTED) << "a fixed drive";
    EXPECT_EQ(Connection("K:").first, ERROR_NOT_CONNECTED) << "no drive at all";
    EXPECT_EQ(Connection("EE").first, ERROR_BAD_DEVICE);
    char szShort[4];
    DWORD nLength = sizeof szShort;
    EXPECT_EQ(WNetGetConnection("E:", szShort, &nLength), ERROR_MORE_DATA);
    EXPECT_EQ(nLength, 14u) << "the length needed, with the NUL";
}

TEST_F(NetworkConnectionsTest, RememberedLettersFollowTheirShares)
{
    ASSERT_TRUE(SetRememberedDrive('R', "\\\\nas\\music"));
    EXPECT_EQ(Connection("R:"), std::make_pair(DWORD { ERROR_CONNECTION_UNAVAIL }, std::string("\\\\nas\\music")));
    EXPECT_EQ(GetDriveType("R:\\"), DRIVE_NO_ROOT_DIR);
    std::vector<std::string> names = DriveNames();
    EXPECT_NE(std::find(names.begin(), names.end(), "Network Drive (R:)"), names.end()) << "still listed";

    // Once a mount gives the share, the letter maps to it.
    MakeFolder("music");
    std::string strMounts
        = "1 0 8:1 / / rw - ext4 /dev/sda1 rw\n4 1 0:51 / " + Host("music") + " rw - cifs //nas/music rw\n";
    ReloadDriveTable(strMounts.c_str());
    EXPECT_EQ(GetDriveType("R:\\"), DRIVE_REMOTE);
    EXPECT_EQ(Connection("R:"), std::make_pair(DWORD { NO_ERROR }, std::string("\\\\nas\\music")));

    // The drive settings remember letters too.
    HKEY hKey = nullptr;
    ASSERT_EQ(RegCreateKeyEx(HKEY_LOCAL_MACHINE, "SOFTWARE\\Archivora\\Drives\\S", 0, nullptr, 0, KEY_ALL_ACCESS,
                  nullptr, &hKey, nullptr),
        ERROR_SUCCESS);
    DWORD dwType = DRIVE_REMOTE;
    RegSetValueEx(hKey, "Type", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&dwType), sizeof dwType);
    const char szRemote[] = "\\\\nas\\photos";
    RegSetValueEx(hKey, "Remote", 0, REG_SZ, reinterpret_cast<const BYTE*>(szRemote), sizeof szRemote);
    RegCloseKey(hKey);
    ApplyDriveSettingsFromRegistry();
    EXPECT_EQ(Connection("S:").first, ERROR_CONNECTION_UNAVAIL);
}

TEST_F(NetworkConnectionsTest, ConnectingNeedsTheShareMounted)
{
    EXPECT_EQ(Connect("K:", "\\\\server\\docs"), NO_ERROR);
    EXPECT_EQ(GetDriveType("K:\\"), DRIVE_REMOTE);
    EXPECT_EQ(Connection("K:"), std::make_pair(DWORD { NO_ERROR }, std::string("\\\\server\\docs")));
    EXPECT_EQ(Connect(nullptr, "\\\\SERVER\\docs"), NO_ERROR) << "no letter: only the share is checked";
    EXPECT_EQ(Connect("L:", "\\\\server\\missing"), ERROR_BAD_NET_NAME);
    EXPECT_EQ(Connect("L:", "server\\docs"), ERROR_BAD_NET_NAME);
    EXPECT_EQ(Connect("P:", "\\\\server\\docs"), ERROR_ALREADY_ASSIGNED);
    EXPECT_EQ(Connect("L:", "\\\\server\\docs", 2), ERROR_BAD_DEV_TYPE);
    EXPECT_EQ(Connect("L:", "\\\\server\\docs", RESOURCETYPE_DISK, CONNECT_UPDATE_PROFILE), ERROR_INVALID_PARAMETER);
    EXPECT_EQ(GetDriveType("L:\\"), DRIVE_NO_ROOT_DIR) << "nothing connected by the failures";
}
