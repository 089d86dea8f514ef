#include "frame/AppGlobals.h"

#include "tests/support/TempFolder.h"

#include <gtest/gtest.h>

namespace {

using AppGlobalsTest = ProgramFolderTest;

TEST_F(AppGlobalsTest, UserKeysAreCreatedHeldAndReleased)
{
    InitAppGlobals();
    ASSERT_TRUE(g_regKeyDefault.IsOpen());
    ASSERT_TRUE(g_regKeyDesktop.IsOpen());
    EXPECT_TRUE(g_regKeyDefault.SetDWORD("Probe", 7));

    // The keys exist in the registry, not only in the wrappers.
    CRegistryKey key;
    EXPECT_TRUE(key.Open(HKEY_CURRENT_USER, "SOFTWARE\\KD\\Archivora Plus\\Desktop"));
    DWORD dwValue = 0;
    CRegistryKey keyDefault;
    ASSERT_TRUE(keyDefault.Open(HKEY_CURRENT_USER, "SOFTWARE\\KD\\Archivora Plus\\Default"));
    EXPECT_TRUE(keyDefault.GetDWORD("Probe", dwValue, 0));
    EXPECT_EQ(7u, dwValue);

    FreeAppGlobals();
    EXPECT_FALSE(g_regKeyDefault.IsOpen());
    EXPECT_FALSE(g_regKeyDesktop.IsOpen());
    EXPECT_FALSE(g_regKeyClasses.IsOpen());
}
}
