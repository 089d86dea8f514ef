#include "platform/window/Accelerators.h"

#include "platform/base/PathMap.h"
#include "platform/base/WinError.h"
#include "platform/window/Focus.h"
#include "platform/window/Input.h"
#include "platform/window/Menu.h"
#include "platform/window/Messages.h"
#include "tests/platform/window/WindowTestSupport.h"
#include "tests/support/TempFolder.h"

#include <fstream>

namespace {

constexpr WORD ID_SAVE = 100;
constexpr WORD ID_REFRESH = 101;
constexpr WORD ID_LETTER = 102;
constexpr WORD ID_ALT_LETTER = 103;

// A focused window and a loop that offers every message to a table first.
class AcceleratorsTest : public WindowTest {
protected:
    void SetUp() override
    {
        WindowTest::SetUp();
        m_hWnd = CreateRecordingWindow(WS_POPUP | WS_VISIBLE, 10, 10, 100, 100);
        SetActiveWindow(m_hWnd);
        SetFocus(m_hWnd);
        PumpUntilIdle();
        MessageLog::Instance().Take();
    }
    void TearDown() override
    {
        for (UINT nKey : { VK_SHIFT, VK_CONTROL, VK_MENU })
            if (GetAsyncKeyState(static_cast<int>(nKey)) & 0x8000)
                InjectKeyEvent(nKey, FALSE);
        WindowTest::TearDown();
    }

    static void Type(std::initializer_list<UINT> keys)
    {
        for (UINT nKey : keys)
            InjectKeyEvent(nKey, TRUE);
        for (auto it = std::rbegin(keys); it != std::rend(keys); ++it)
            InjectKeyEvent(*it, FALSE);
    }
    // Runs the queue as a main loop with accelerators does; returns the commands received.
    std::vector<WPARAM> Commands(HACCEL hAccel)
    {
        MSG msg {};
        while (PeekMessage(&msg, nullptr, 0, 0, PM_REMOVE)) {
            if (!TranslateAccelerator(m_hWnd, hAccel, &msg)) {
                TranslateMessage(&msg);
                DispatchMessage(&msg);
            }
        }
        std::vector<WPARAM> commands;
        for (const LoggedMessage& message : MessageLog::Instance().Take()) {
            if (message.uMsg == WM_COMMAND)
                commands.push_back(message.wParam);
        }
        return commands;
    }

    HWND m_hWnd { nullptr };
};

std::vector<ACCEL> SampleTable()
{
    return {
        { static_cast<BYTE>(FVIRTKEY | FCONTROL), 'S', ID_SAVE },
        { FVIRTKEY, static_cast<WORD>(VK_F12), ID_REFRESH },
        { 0, 'q', ID_LETTER },
        { FALT, 'w', ID_ALT_LETTER },
    };
}

TEST_F(AcceleratorsTest, KeysWithTheirModifiersBecomeCommands)
{
    std::vector<ACCEL> table = SampleTable();
    HACCEL hAccel = CreateAcceleratorTable(table.data(), static_cast<int>(table.size()));
    ASSERT_NE(hAccel, nullptr);

    Type({ VK_CONTROL, 'S' });
    EXPECT_EQ(Commands(hAccel), std::vector<WPARAM> { MAKEWPARAM(ID_SAVE, 1) });
    Type({ 'S' });                       // without Ctrl: an ordinary key
    Type({ VK_SHIFT, VK_CONTROL, 'S' }); // Shift too: not the same entry
    EXPECT_TRUE(Commands(hAccel).empty());
    Type({ VK_F12 });
    EXPECT_EQ(Commands(hAccel), std::vector<WPARAM> { MAKEWPARAM(ID_REFRESH, 1) });
    Type({ 'Q' }); // the character 'q' that TranslateMessage makes
    EXPECT_EQ(Commands(hAccel), std::vector<WPARAM> { MAKEWPARAM(ID_LETTER, 1) });
    Type({ VK_SHIFT, 'Q' }); // 'Q' is another character
    EXPECT_TRUE(Commands(hAccel).empty());
    Type({ VK_MENU, 'W' });
    EXPECT_EQ(Commands(hAccel), std::vector<WPARAM> { MAKEWPARAM(ID_ALT_LETTER, 1) });
    Type({ 'W' });
    EXPECT_TRUE(Commands(hAccel).empty());

    ACCEL copy[8] {};
    EXPECT_EQ(CopyAcceleratorTable(hAccel, nullptr, 0), 4);
    EXPECT_EQ(CopyAcceleratorTable(hAccel, copy, 2), 2);
    EXPECT_EQ(copy[1].cmd, ID_REFRESH);
    ASSERT_TRUE(DestroyAcceleratorTable(hAccel));
    MSG msg { m_hWnd, WM_KEYDOWN, VK_F12, 0, 0, {} };
    EXPECT_FALSE(TranslateAccelerator(m_hWnd, hAccel, &msg));
    EXPECT_EQ(GetLastError(), ERROR_INVALID_ACCEL_HANDLE);
    EXPECT_FALSE(DestroyAcceleratorTable(hAccel));
    EXPECT_EQ(CreateAcceleratorTable(table.data(), 0), nullptr);
}

TEST_F(AcceleratorsTest, TablesAndMenusLoadFromTheResourceModule)
{
    TempFolder temp;
    std::vector<BYTE> module = WriteResourceModule({
        { ResourceKey::FromId(RESOURCE_TYPE_ACCELERATOR), ResourceKey::FromId(1),
            WriteAcceleratorTable(SampleTable()) },
        { ResourceKey::FromId(RESOURCE_TYPE_MENU), ResourceKey::FromName("CONTEXT"),
            WriteMenuTemplate(
                { { MF_POPUP, 0, "Popup", { { 0, ID_SAVE, "&Save", {} }, { 0, ID_REFRESH, "Re&fresh", {} } } } }) },
    });
    std::filesystem::path path = temp / "sample.dll";
    std::ofstream(path, std::ios::binary)
        .write(reinterpret_cast<const char*>(module.data()), static_cast<std::streamsize>(module.size()));
    HMODULE hModule = LoadLibrary(ProgramPathFromHostPath(path.string()).c_str());
    ASSERT_NE(hModule, nullptr);

    HACCEL hAccel = LoadAccelerators(hModule, MAKEINTRESOURCE(1));
    ASSERT_NE(hAccel, nullptr);
    Type({ VK_F12 });
    EXPECT_EQ(Commands(hAccel), std::vector<WPARAM> { MAKEWPARAM(ID_REFRESH, 1) });
    EXPECT_EQ(LoadAccelerators(hModule, MAKEINTRESOURCE(2)), nullptr);

    HMENU hMenu = LoadMenu(hModule, "context");
    ASSERT_NE(hMenu, nullptr);
    EXPECT_EQ(GetMenuItemID(GetSubMenu(hMenu, 0), 1), ID_REFRESH);
    EXPECT_EQ(LoadMenu(hModule, "missing"), nullptr);
    EXPECT_EQ(GetLastError(), ERROR_RESOURCE_NAME_NOT_FOUND);
    DestroyMenu(hMenu);
    FreeLibrary(hModule);
}

} // namespace

TEST_F(AcceleratorsTest, ACommandWhoseMenuItemIsDisabledIsNotSent)
{
    HMENU hFile = CreatePopupMenu();
    AppendMenu(hFile, MF_STRING, ID_REFRESH, "&Refresh");
    AppendMenu(hFile, MF_SEPARATOR, 0, nullptr);
    AppendMenu(hFile, MF_STRING, ID_SAVE, "&Save");
    HMENU hBar = CreateMenu();
    AppendMenu(hBar, MF_STRING, ID_ALT_LETTER, "&Help");
    AppendMenu(hBar, MF_POPUP, reinterpret_cast<UINT_PTR>(hFile), "&File");
    ASSERT_TRUE(SetMenu(m_hWnd, hBar));
    // The window brings its menu up to date when asked, as update handlers do.
    bool bSaveAllowed = false;
    std::vector<std::pair<UINT, WPARAM>> asked;
    MessageLog::Instance().handler = [&](HWND, UINT uMsg, WPARAM wParam, LPARAM lParam, LRESULT*) {
        if (uMsg == WM_INITMENU)
            asked.emplace_back(uMsg, wParam);
        if (uMsg == WM_INITMENUPOPUP) {
            asked.emplace_back(uMsg, wParam);
            EXPECT_EQ(LOWORD(lParam), 1) << "the popup's position in the bar";
            EnableMenuItem(hFile, ID_SAVE, MF_BYCOMMAND | (bSaveAllowed ? MF_ENABLED : MF_GRAYED));
        }
        return false;
    };
    std::vector<ACCEL> table = SampleTable();
    HACCEL hAccel = CreateAcceleratorTable(table.data(), static_cast<int>(table.size()));

    Type({ VK_CONTROL, 'S' });
    EXPECT_TRUE(Commands(hAccel).empty());
    using Asked = std::vector<std::pair<UINT, WPARAM>>;
    EXPECT_EQ(asked,
        (Asked {
            { WM_INITMENU, reinterpret_cast<WPARAM>(hBar) }, { WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(hFile) } }));
    bSaveAllowed = true;
    Type({ VK_CONTROL, 'S' });
    EXPECT_EQ(Commands(hAccel), std::vector<WPARAM> { MAKEWPARAM(ID_SAVE, 1) });

    // A disabled item takes its key all the same; it does not reach the window.
    EnableMenuItem(hFile, ID_REFRESH, MF_BYCOMMAND | MF_DISABLED);
    MSG msg { m_hWnd, WM_KEYDOWN, VK_F12, 0, 0, {} };
    EXPECT_TRUE(TranslateAccelerator(m_hWnd, hAccel, &msg));
    EXPECT_TRUE(Commands(hAccel).empty());

    // Commands on the bar itself, and those without an item, go as they are.
    asked.clear();
    Type({ 'Q' });
    Type({ VK_MENU, 'W' });
    EXPECT_EQ(Commands(hAccel), (std::vector<WPARAM> { MAKEWPARAM(ID_LETTER, 1), MAKEWPARAM(ID_ALT_LETTER, 1) }));
    EXPECT_EQ(asked, (Asked { { WM_INITMENU, reinterpret_cast<WPARAM>(hBar) } }));
    DestroyAcceleratorTable(hAccel);
}
