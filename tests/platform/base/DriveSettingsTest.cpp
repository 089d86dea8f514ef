#include "platform/base/DriveSettings.h"

#include "platform/base/DriveTable.h"
#include "platform/base/Registry.h"
#include "tests/support/TempFolder.h"

#include <gtest/gtest.h>

#include <string>

namespace {

class DriveSettingsTest : public ProgramFolderTest {
protected:
    void TearDown() override
    {
        ResetDriveTable();
        ProgramFolderTest::TearDown();
    }

    // Writes Drives\<letter> with the given path and, when non-zero, type.
    static void SetDriveSetting(const char* pszLetter, const std::string& strPath, DWORD dwType)
    {
        HKEY hKey = nullptr;
        std::string strKey = std::string(DRIVE_SETTINGS_KEY) + "\\" + pszLetter;
        ASSERT_EQ(
            RegCreateKeyEx(HKEY_LOCAL_MACHINE, strKey.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &hKey, nullptr),
            ERROR_SUCCESS);
        RegSetValueEx(hKey, "Path", 0, REG_SZ, reinterpret_cast<const BYTE*>(strPath.c_str()),
            static_cast<DWORD>(strPath.size() + 1));
        if (dwType)
            RegSetValueEx(hKey, "Type", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&dwType), sizeof(dwType));
        RegCloseKey(hKey);
    }
};

}

TEST_F(DriveSettingsTest, RegistryLettersOverrideTheMountTable)
{
    TempFolder share;
    SetDriveSetting("N", share.Path().string(), DRIVE_REMOTE);
    SetDriveSetting("R", share.Path().string(), 0);
    SetDriveSetting("C", "", 0);                               // an empty path removes the letter
    SetDriveSetting("Q", "relative/folder", DRIVE_FIXED);      // refused: not absolute
    SetDriveSetting("XY", share.Path().string(), DRIVE_FIXED); // not a letter

    ApplyDriveSettingsFromRegistry();
    auto pTable = GetDriveTable();
    ASSERT_NE(pTable->GetDrive('N'), nullptr);
    EXPECT_EQ(pTable->GetDrive('N')->strHostFolder, share.Path().string());
    EXPECT_EQ(pTable->GetDrive('N')->uType, DRIVE_REMOTE);
    ASSERT_NE(pTable->GetDrive('R'), nullptr);
    EXPECT_EQ(pTable->GetDrive('R')->uType, DRIVE_FIXED);
    EXPECT_EQ(pTable->GetDrive('C'), nullptr);
    EXPECT_EQ(pTable->GetDrive('Q'), nullptr);
}
