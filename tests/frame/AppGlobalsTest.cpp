#include "frame/AppGlobals.h"

#include "platform/framework/CWinApp.h"
#include "platform/framework/CWnd.h"
#include "platform/gdi/Text.h"
#include "platform/window/Clipboard.h"
#include "platform/window/Window.h"
#include "platform/window/WindowClass.h"
#include "store/CPreferences.h"
#include "store/PreferenceSheets.h"
#include "tests/support/TempFolder.h"

#include <gtest/gtest.h>

#include <cstring>
#include <vector>

namespace {

constexpr char MAIN_CLASS[] = "AppGlobalsTestMain";

// Messages the test's main window received, with their parameters.
std::vector<std::tuple<UINT, WPARAM, LPARAM>>& Received()
{
    static std::vector<std::tuple<UINT, WPARAM, LPARAM>> received;
    return received;
}

LRESULT CALLBACK MainWndProc(HWND hWnd, UINT uMsg, WPARAM wParam, LPARAM lParam)
{
    if (uMsg >= WM_REGISTERED_FIRST)
        Received().emplace_back(uMsg, wParam, lParam);
    return DefWindowProc(hWnd, uMsg, wParam, lParam);
}

class AppGlobalsTest : public ProgramFolderTest {
protected:
    void SetUp() override
    {
        ProgramFolderTest::SetUp();
        InitAppGlobals();
    }
    void TearDown() override
    {
        FreeAppGlobals();
        ProgramFolderTest::TearDown();
    }
};

} // namespace

TEST_F(AppGlobalsTest, UserKeysAreCreatedHeldAndReleased)
{
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
    EXPECT_EQ(g_fontMenu.GetSafeHandle(), nullptr);
    InitAppGlobals();
}

TEST_F(AppGlobalsTest, MenuFontsDifferOnlyInWeight)
{
    LOGFONT lfNormal {};
    LOGFONT lfBold {};
    ASSERT_NE(g_fontMenu.GetLogFont(&lfNormal), 0);
    ASSERT_NE(g_fontMenuBold.GetLogFont(&lfBold), 0);
    EXPECT_EQ(lfNormal.lfWeight, FW_NORMAL);
    EXPECT_EQ(lfBold.lfWeight, FW_BOLD);
    EXPECT_NE(lfNormal.lfHeight, 0);
    EXPECT_EQ(lfNormal.lfHeight, lfBold.lfHeight);
    EXPECT_STREQ(lfNormal.lfFaceName, lfBold.lfFaceName);
}

TEST_F(AppGlobalsTest, PreferencesClipboardFormatIsRegistered)
{
    EXPECT_NE(thePreferences.m_nClipboardFormat, 0u);
    EXPECT_EQ(thePreferences.m_nClipboardFormat, RegisterClipboardFormat("archivora cbformat"));
}

TEST_F(AppGlobalsTest, GeneralSheetColourChangeReachesTheMainWindow)
{
    WNDCLASS wc {};
    if (!GetClassInfo(nullptr, MAIN_CLASS, &wc)) {
        wc.lpfnWndProc = MainWndProc;
        wc.lpszClassName = MAIN_CLASS;
        ASSERT_NE(RegisterClass(&wc), 0);
    }
    CWinApp app("Organizer");
    CWnd main;
    ASSERT_TRUE(
        main.Attach(CreateWindowEx(0, MAIN_CLASS, "", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr)));
    app.m_pMainWnd = &main;
    Received().clear();

    CPreferencesArchivoraSheetData sheet;
    thePreferences.CopyToArchivoraSheet(sheet);
    thePreferences.CopyFromArchivoraSheet(sheet);
    ASSERT_EQ(Received().size(), 1u);
    const auto [uMessage, wParam, lParam] = Received().front();
    EXPECT_EQ(uMessage, RegisterWindowMessage("APPM TrocarCores"));
    EXPECT_EQ(wParam, 0u);
    EXPECT_EQ(lParam, 0);

    // Without a main window the change goes unannounced.
    app.m_pMainWnd = nullptr;
    thePreferences.CopyFromArchivoraSheet(sheet);
    EXPECT_EQ(Received().size(), 1u);
    DestroyWindow(main.Detach());
}

TEST_F(AppGlobalsTest, ResetEmptiesTheUserSettingsAndReopensTheKeys)
{
    ASSERT_TRUE(g_regKeyDefault.SetDWORD("Probe", 7));
    CRegistryKey keySettings;
    ASSERT_TRUE(keySettings.Create(HKEY_CURRENT_USER, "SOFTWARE\\KD\\Archivora Plus\\Settings"));
    keySettings.Close();
    CRegistryKey keyOther;
    ASSERT_TRUE(keyOther.Create(HKEY_CURRENT_USER, "SOFTWARE\\KD\\Other Product"));
    keyOther.Close();

    ASSERT_TRUE(ResetAppRegistryKeys());
    ASSERT_TRUE(g_regKeyDefault.IsOpen());
    ASSERT_TRUE(g_regKeyDesktop.IsOpen());
    EXPECT_FALSE(g_regKeyDefault.ValueExists("Probe"));
    EXPECT_TRUE(g_regKeyDesktop.SetDWORD("Status", 3));
    CRegistryKey keyUser;
    ASSERT_TRUE(keyUser.Open(HKEY_CURRENT_USER, "SOFTWARE\\KD"));
    EXPECT_FALSE(keyUser.KeyExists("Archivora Plus\\Settings"));
    // Only the program's own settings go.
    EXPECT_TRUE(keyUser.KeyExists("Other Product"));
}
