#include "platform/window/Dialog.h"

#include "platform/base/ResourceModule.h"
#include "platform/base/WinError.h"
#include "platform/gdi/SysColors.h"
#include "platform/window/Focus.h"
#include "platform/window/Input.h"
#include "platform/window/Paint.h"
#include "tests/platform/window/DialogTestSupport.h"
#include "tests/support/TempFolder.h"

#include <cstdlib>
#include <fstream>
#include <string>

namespace {

// clang-format off
constexpr DWORD SS_LABEL = 0x0100; // stand-in: the test label class ignores styles
constexpr int ID_LABEL = 100, ID_EDIT = 101, ID_CHECK = 102, ID_RADIO1 = 103, ID_RADIO2 = 104, ID_RADIO3 = 105,
              ID_APPLY = 106, ID_HIDDEN = 107;
// clang-format on

DialogControlTemplate Control(
    const char* pszClass, int nId, DWORD dwStyle, const char* pszText, SHORT x, SHORT y, SHORT cx, SHORT cy)
{
    return { static_cast<DWORD>(nId), dwStyle | WS_VISIBLE, 0, x, y, cx, cy, pszClass, pszText };
}

// A dialog with a label, an edit, a check box, a radio group, an Apply push
// button, a hidden button, and OK (default) and Cancel.
DialogTemplate SampleTemplate()
{
    DialogTemplate dialog;
    dialog.dwStyle = WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME | DS_SETFONT;
    dialog.x = 10;
    dialog.y = 10;
    dialog.cx = 200;
    dialog.cy = 120;
    dialog.nPointSize = 8;
    dialog.nWeight = 400;
    dialog.strFaceName = "DejaVu Sans";
    dialog.strCaption = "Sample";
    dialog.controls = {
        Control(TEST_LABEL, ID_LABEL, SS_LABEL, "&Name:", 7, 7, 40, 10),
        Control(TEST_EDIT, ID_EDIT, WS_TABSTOP | WS_GROUP, "", 50, 7, 100, 12),
        Control(TEST_BUTTON, ID_CHECK, BS_AUTOCHECKBOX | WS_TABSTOP | WS_GROUP, "&Check", 7, 25, 60, 10),
        Control(TEST_BUTTON, ID_RADIO1, BS_AUTORADIOBUTTON | WS_TABSTOP | WS_GROUP, "One", 7, 40, 60, 10),
        Control(TEST_BUTTON, ID_RADIO2, BS_AUTORADIOBUTTON, "Two", 7, 52, 60, 10),
        Control(TEST_BUTTON, ID_RADIO3, BS_AUTORADIOBUTTON, "Three", 7, 64, 60, 10),
        Control(TEST_BUTTON, ID_APPLY, BS_PUSHBUTTON | WS_TABSTOP | WS_GROUP, "&Apply", 7, 100, 50, 14),
        Control(TEST_BUTTON, ID_HIDDEN, BS_PUSHBUTTON | WS_TABSTOP, "Hidden", 60, 100, 50, 14),
        Control(TEST_BUTTON, IDOK, BS_DEFPUSHBUTTON | WS_TABSTOP, "OK", 90, 100, 50, 14),
        Control(TEST_BUTTON, IDCANCEL, BS_PUSHBUTTON | WS_TABSTOP, "Cancel", 143, 100, 50, 14),
    };
    dialog.controls[7].dwStyle &= ~WS_VISIBLE;
    return dialog;
}

// What the dialog procedure saw, for the test to check.
struct DialogRecord {
    std::vector<int> commands;
    HWND hWndInitFocus { nullptr };
    LPARAM lParamInit { 0 };
    std::function<INT_PTR(HWND, UINT, WPARAM, LPARAM)> handler;
};
thread_local DialogRecord* t_pRecord = nullptr;

INT_PTR CALLBACK RecordingDlgProc(HWND hDlg, UINT uMsg, WPARAM wParam, LPARAM lParam)
{
    if (!t_pRecord)
        return FALSE;
    if (uMsg == WM_INITDIALOG) {
        t_pRecord->hWndInitFocus = reinterpret_cast<HWND>(wParam);
        t_pRecord->lParamInit = lParam;
    }
    if (uMsg == WM_COMMAND)
        t_pRecord->commands.push_back(LOWORD(wParam));
    if (t_pRecord->handler)
        return t_pRecord->handler(hDlg, uMsg, wParam, lParam);
    return uMsg == WM_INITDIALOG;
}

class DialogTest : public WindowTest {
protected:
    void SetUp() override
    {
        WindowTest::SetUp();
        RegisterTestControls();
        t_pRecord = &m_record;
        m_hOwner = CreateRecordingWindow(WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 600, 400);
    }
    void TearDown() override
    {
        for (UINT nKey : { VK_SHIFT, VK_MENU })
            if (GetAsyncKeyState(static_cast<int>(nKey)) & 0x8000)
                InjectKeyEvent(nKey, FALSE);
        SetThreadModalDialogHook(nullptr);
        t_pRecord = nullptr;
        if (IsWindow(m_hOwner))
            DestroyWindow(m_hOwner);
        WindowTest::TearDown();
    }

    HWND CreateSample()
    {
        DialogTemplate dialog = SampleTemplate();
        dialog.dwStyle |= WS_VISIBLE;
        return CreateDialogIndirectParam(nullptr, &dialog, m_hOwner, RecordingDlgProc, 77);
    }

    // Runs the queue through the modeless dialog's keyboard interface.
    static void Pump(HWND hDlg)
    {
        MSG msg {};
        while (PeekMessage(&msg, nullptr, 0, 0, PM_REMOVE)) {
            if (!IsDialogMessage(hDlg, &msg)) {
                TranslateMessage(&msg);
                DispatchMessage(&msg);
            }
        }
    }

    DialogRecord m_record;
    HWND m_hOwner { nullptr };
};

}

/***** Creation *****/

TEST_F(DialogTest, CreatesControlsInTemplateOrderWithFontAndDialogUnits)
{
    HWND hDlg = CreateSample();
    ASSERT_NE(hDlg, nullptr);
    EXPECT_EQ(m_record.lParamInit, 77);
    EXPECT_EQ(m_record.hWndInitFocus, GetDlgItem(hDlg, ID_EDIT)) << "the first control with WS_TABSTOP";
    EXPECT_EQ(GetFocus(), GetDlgItem(hDlg, ID_EDIT)) << "WM_INITDIALOG returned TRUE";

    std::vector<int> ids;
    for (HWND hCtl = GetWindow(hDlg, GW_CHILD); hCtl; hCtl = GetWindow(hCtl, GW_HWNDNEXT))
        ids.push_back(GetDlgCtrlID(hCtl));
    EXPECT_EQ(ids,
        (std::vector<int> {
            ID_LABEL, ID_EDIT, ID_CHECK, ID_RADIO1, ID_RADIO2, ID_RADIO3, ID_APPLY, ID_HIDDEN, IDOK, IDCANCEL }));

    HFONT hFont = reinterpret_cast<HFONT>(SendMessage(hDlg, WM_GETFONT, 0, 0));
    ASSERT_NE(hFont, nullptr);
    EXPECT_EQ(reinterpret_cast<HFONT>(GetWindowLongPtr(GetDlgItem(hDlg, IDOK), sizeof(LONG_PTR))), hFont);

    // The client area and every control are the template's units through MapDialogRect.
    RECT rcUnits { 0, 0, 200, 120 };
    ASSERT_TRUE(MapDialogRect(hDlg, &rcUnits));
    RECT rcClient {};
    GetClientRect(hDlg, &rcClient);
    EXPECT_EQ(rcClient.right, rcUnits.right);
    EXPECT_EQ(rcClient.bottom, rcUnits.bottom);
    RECT rcOk { 90, 100, 140, 114 };
    MapDialogRect(hDlg, &rcOk);
    RECT rcWindow {};
    GetWindowRect(GetDlgItem(hDlg, IDOK), &rcWindow);
    MapWindowPoints(nullptr, hDlg, reinterpret_cast<LPPOINT>(&rcWindow), 2);
    EXPECT_EQ(rcWindow.left, rcOk.left);
    EXPECT_EQ(rcWindow.bottom, rcOk.bottom);
    // An 8-point font is larger than a quarter and an eighth of nothing, and smaller than the system font.
    EXPECT_GT(rcUnits.right, 200);
    EXPECT_EQ(SendMessage(hDlg, DM_GETDEFID, 0, 0), MAKELONG(IDOK, DC_HASDEFID));
    DestroyWindow(hDlg);
}

TEST_F(DialogTest, UnknownControlClassFailsTheWholeDialog)
{
    DialogTemplate dialog = SampleTemplate();
    dialog.controls.push_back(Control("NoSuchClass", 300, 0, "", 0, 0, 10, 10));
    SetLastError(0);
    EXPECT_EQ(CreateDialogIndirectParam(nullptr, &dialog, m_hOwner, RecordingDlgProc, 0), nullptr);
    EXPECT_EQ(GetLastError(), ERROR_CANNOT_FIND_WND_CLASS);
    EXPECT_EQ(FindWindow(WC_DIALOG, "Sample"), nullptr);
    EXPECT_EQ(DialogBoxIndirectParam(nullptr, &dialog, m_hOwner, RecordingDlgProc, 0), -1);
    EXPECT_TRUE(IsWindowEnabled(m_hOwner));
}

TEST_F(DialogTest, MessageResultComesFromDwlpMsgResult)
{
    m_record.handler = [](HWND hDlg, UINT uMsg, WPARAM, LPARAM) -> INT_PTR {
        if (uMsg == WM_USER + 5) {
            SetWindowLongPtr(hDlg, DWLP_MSGRESULT, 1234);
            return TRUE;
        }
        return uMsg == WM_INITDIALOG;
    };
    HWND hDlg = CreateSample();
    EXPECT_EQ(SendMessage(hDlg, WM_USER + 5, 0, 0), 1234);
    // Unhandled messages get the default handling.
    EXPECT_TRUE(SetWindowText(hDlg, "Renamed"));
    char szText[32] {};
    GetWindowText(hDlg, szText, sizeof(szText));
    EXPECT_STREQ(szText, "Renamed");
    DestroyWindow(hDlg);
}

/***** Modal dialogs *****/

TEST_F(DialogTest, ModalDialogFromModuleIsAnsweredByScriptedInput)
{
    TempFolder temp;
    std::vector<BYTE> module = WriteResourceModule({ { ResourceKey::FromId(RESOURCE_TYPE_DIALOG),
        ResourceKey::FromId(200), WriteDialogTemplate(SampleTemplate()) } });
    std::ofstream(temp / "dialogs.dll", std::ios::binary)
        .write(reinterpret_cast<const char*>(module.data()), static_cast<std::streamsize>(module.size()));
    ScopedVariable modulePath("ARCHIVORA_MODULE_PATH", temp.Path().c_str());
    HMODULE hModule = LoadLibrary("dialogs.dll");
    ASSERT_NE(hModule, nullptr) << GetLastError();

    std::string strTyped;
    bool bOwnerDisabled = false;
    m_record.handler = [&](HWND hDlg, UINT uMsg, WPARAM wParam, LPARAM) -> INT_PTR {
        if (uMsg == WM_COMMAND && LOWORD(wParam) == IDOK) {
            char szText[32] {};
            GetDlgItemText(hDlg, ID_EDIT, szText, sizeof(szText));
            strTyped = szText;
            bOwnerDisabled = !IsWindowEnabled(m_hOwner);
            EndDialog(hDlg, 42);
            return TRUE;
        }
        return uMsg == WM_INITDIALOG;
    };
    SetThreadModalDialogHook([](HWND) {
        PressKey('H', VK_SHIFT);
        PressKey('I');
        PressKey(VK_RETURN);
    });
    EXPECT_EQ(DialogBoxParam(hModule, MAKEINTRESOURCE(200), m_hOwner, RecordingDlgProc, 0), 42);
    EXPECT_EQ(strTyped, "Hi");
    EXPECT_TRUE(bOwnerDisabled);
    EXPECT_TRUE(IsWindowEnabled(m_hOwner));
    EXPECT_EQ(FindWindow(WC_DIALOG, "Sample"), nullptr) << "the dialog is destroyed";

    SetLastError(0);
    EXPECT_EQ(DialogBoxParam(hModule, MAKEINTRESOURCE(201), m_hOwner, RecordingDlgProc, 0), -1);
    EXPECT_EQ(GetLastError(), ERROR_RESOURCE_NAME_NOT_FOUND);
    EXPECT_EQ(CreateDialogParam(hModule, MAKEINTRESOURCE(202), m_hOwner, RecordingDlgProc, 0), nullptr);
    EXPECT_EQ(GetLastError(), ERROR_RESOURCE_NAME_NOT_FOUND);
    FreeLibrary(hModule);
}

// The texts a test list control was given with the add-string message.
thread_local std::vector<std::string> t_listed;

LRESULT CALLBACK TestListProc(HWND hWnd, UINT uMsg, WPARAM wParam, LPARAM lParam)
{
    if (uMsg == DIALOG_INIT_ADD_STRING) {
        t_listed.emplace_back(reinterpret_cast<const char*>(lParam));
        return static_cast<LRESULT>(t_listed.size() - 1);
    }
    return DefWindowProc(hWnd, uMsg, wParam, lParam);
}

TEST_F(DialogTest, InitialDataFromTheModuleFillsItsControlBeforeInitDialog)
{
    RegisterTestControl("TestList", TestListProc);
    DialogTemplate dialog = SampleTemplate();
    dialog.controls.push_back(Control("TestList", 300, WS_TABSTOP, "", 7, 80, 100, 12));
    TempFolder temp;
    std::vector<BYTE> module = WriteResourceModule({
        { ResourceKey::FromId(RESOURCE_TYPE_DIALOG), ResourceKey::FromId(200), WriteDialogTemplate(dialog) },
        { ResourceKey::FromId(RESOURCE_TYPE_DLGINIT), ResourceKey::FromId(200),
            WriteDialogInit(
                { { 300, DIALOG_INIT_ADD_STRING, "(Choose)" }, { 300, DIALOG_INIT_ADD_STRING, "Peru PE" } }) },
        { ResourceKey::FromId(RESOURCE_TYPE_DIALOG), ResourceKey::FromId(201), WriteDialogTemplate(dialog) },
        { ResourceKey::FromId(RESOURCE_TYPE_DLGINIT), ResourceKey::FromId(201), { 0x2C, 0x01, 0x43, 0x01, 9 } },
    });
    std::ofstream(temp / "init.dll", std::ios::binary)
        .write(reinterpret_cast<const char*>(module.data()), static_cast<std::streamsize>(module.size()));
    ScopedVariable modulePath("ARCHIVORA_MODULE_PATH", temp.Path().c_str());
    // A module with damaged initial data is refused whole, so the second dialog is never made.
    HMODULE hDamaged = LoadLibrary("init.dll");
    EXPECT_EQ(hDamaged, nullptr);

    module = WriteResourceModule({
        { ResourceKey::FromId(RESOURCE_TYPE_DIALOG), ResourceKey::FromId(200), WriteDialogTemplate(dialog) },
        { ResourceKey::FromId(RESOURCE_TYPE_DLGINIT), ResourceKey::FromId(200),
            WriteDialogInit(
                { { 300, DIALOG_INIT_ADD_STRING, "(Choose)" }, { 300, DIALOG_INIT_ADD_STRING, "Peru PE" } }) },
    });
    std::ofstream(temp / "good.dll", std::ios::binary)
        .write(reinterpret_cast<const char*>(module.data()), static_cast<std::streamsize>(module.size()));
    HMODULE hModule = LoadLibrary("good.dll");
    ASSERT_NE(hModule, nullptr) << GetLastError();
    t_listed.clear();
    std::vector<std::string> atInit;
    m_record.handler = [&](HWND, UINT uMsg, WPARAM, LPARAM) -> INT_PTR {
        if (uMsg == WM_INITDIALOG)
            atInit = t_listed;
        return uMsg == WM_INITDIALOG;
    };
    HWND hDlg = CreateDialogParam(hModule, MAKEINTRESOURCE(200), m_hOwner, RecordingDlgProc, 0);
    ASSERT_NE(hDlg, nullptr);
    EXPECT_EQ(atInit, (std::vector<std::string> { "(Choose)", "Peru PE" }));
    DestroyWindow(hDlg);
    FreeLibrary(hModule);
}

TEST_F(DialogTest, EndDialogFromANestedHandlerEndsBothLoops)
{
    DialogTemplate outer = SampleTemplate();
    outer.strCaption = "Outer";
    static HWND s_hOuter = nullptr;
    INT_PTR nInnerResult = 0;
    m_record.handler = [&](HWND hDlg, UINT uMsg, WPARAM wParam, LPARAM lParam) -> INT_PTR {
        if (uMsg == WM_INITDIALOG)
            SetWindowLongPtr(hDlg, DWLP_USER, lParam);
        bool bOuter = GetWindowLongPtr(hDlg, DWLP_USER) == 1;
        if (uMsg == WM_INITDIALOG && bOuter)
            s_hOuter = hDlg;
        if (uMsg == WM_COMMAND && bOuter && LOWORD(wParam) == ID_APPLY) {
            DialogTemplate inner = SampleTemplate();
            inner.strCaption = "Inner";
            nInnerResult = DialogBoxIndirectParam(nullptr, &inner, hDlg, RecordingDlgProc, 2);
            return TRUE;
        }
        if (uMsg == WM_COMMAND && !bOuter && LOWORD(wParam) == IDCANCEL) {
            EXPECT_FALSE(IsWindowEnabled(s_hOuter)) << "the inner dialog disables the outer one";
            EndDialog(s_hOuter, 9);
            EndDialog(hDlg, 7);
            return TRUE;
        }
        return uMsg == WM_INITDIALOG;
    };
    SetThreadModalDialogHook([](HWND hDlg) {
        char szCaption[16] {};
        GetWindowText(hDlg, szCaption, sizeof(szCaption));
        // Alt+A presses Apply in the outer dialog; Escape cancels the inner one.
        if (std::string(szCaption) == "Outer")
            PressKey('A', VK_MENU);
        else
            PressKey(VK_ESCAPE);
    });
    EXPECT_EQ(DialogBoxIndirectParam(nullptr, &outer, m_hOwner, RecordingDlgProc, 1), 9);
    EXPECT_EQ(nInnerResult, 7);
    EXPECT_TRUE(IsWindowEnabled(m_hOwner));
    EXPECT_EQ(FindWindow(WC_DIALOG, nullptr), nullptr);
}

TEST_F(DialogTest, EmptyQueueSendsEnterIdleToTheOwner)
{
    int nIdle = 0;
    MessageLog::Instance().handler = [&](HWND hWnd, UINT uMsg, WPARAM wParam, LPARAM lParam, LRESULT*) {
        if (hWnd == m_hOwner && uMsg == WM_ENTERIDLE) {
            EXPECT_EQ(wParam, MSGF_DIALOGBOX);
            if (++nIdle == 2)
                EndDialog(reinterpret_cast<HWND>(lParam), 5);
            else
                PostMessage(reinterpret_cast<HWND>(lParam), WM_NULL, 0, 0);
        }
        return false;
    };
    DialogTemplate dialog = SampleTemplate();
    EXPECT_EQ(DialogBoxIndirectParam(nullptr, &dialog, m_hOwner, RecordingDlgProc, 0), 5);
    EXPECT_EQ(nIdle, 2) << "once each time the queue runs empty";

    // DS_NOIDLEMSG keeps it quiet; a WM_QUIT ends the loop and stays for the loop outside.
    nIdle = 0;
    dialog.dwStyle |= DS_NOIDLEMSG;
    PostQuitMessage(3);
    EXPECT_EQ(DialogBoxIndirectParam(nullptr, &dialog, m_hOwner, RecordingDlgProc, 0), 0);
    EXPECT_EQ(nIdle, 0);
    MSG msg {};
    ASSERT_TRUE(PeekMessage(&msg, nullptr, 0, 0, PM_REMOVE));
    EXPECT_EQ(msg.message, WM_QUIT);
    EXPECT_EQ(msg.wParam, 3u);
}

/***** Keyboard interface *****/

TEST_F(DialogTest, TabWalksTabStopsInTemplateOrderSkippingHiddenAndDisabled)
{
    HWND hDlg = CreateSample();
    EnableWindow(GetDlgItem(hDlg, IDOK), FALSE);
    std::vector<int> visited;
    for (int i = 0; i < 5; ++i) {
        PressKey(VK_TAB);
        Pump(hDlg);
        visited.push_back(GetDlgCtrlID(GetFocus()));
    }
    EXPECT_EQ(visited, (std::vector<int> { ID_CHECK, ID_RADIO1, ID_APPLY, IDCANCEL, ID_EDIT }));
    EXPECT_EQ(GetWindowLongPtr(GetDlgItem(hDlg, ID_EDIT), 0), 1) << "the edit's text is selected";
    PressKey(VK_TAB, VK_SHIFT);
    Pump(hDlg);
    EXPECT_EQ(GetDlgCtrlID(GetFocus()), IDCANCEL);
    EXPECT_EQ(GetNextDlgTabItem(hDlg, nullptr, TRUE), GetDlgItem(hDlg, IDCANCEL));
    DestroyWindow(hDlg);
}

TEST_F(DialogTest, ArrowsMoveInsideTheGroupAndCheckRadioButtons)
{
    HWND hDlg = CreateSample();
    SetFocus(GetDlgItem(hDlg, ID_RADIO1));
    // Keys go to the window that has the focus when they are pressed, so each is pumped before the next.
    PressKey(VK_DOWN);
    Pump(hDlg);
    PressKey(VK_DOWN);
    Pump(hDlg);
    EXPECT_EQ(GetDlgCtrlID(GetFocus()), ID_RADIO3);
    EXPECT_EQ(IsDlgButtonChecked(hDlg, ID_RADIO3), BST_CHECKED);
    PressKey(VK_DOWN);
    Pump(hDlg);
    EXPECT_EQ(GetDlgCtrlID(GetFocus()), ID_RADIO1) << "the group wraps round";
    PressKey(VK_UP);
    Pump(hDlg);
    EXPECT_EQ(GetDlgCtrlID(GetFocus()), ID_RADIO3);
    // The edit asks for the arrows itself.
    SetFocus(GetDlgItem(hDlg, ID_EDIT));
    PressKey(VK_DOWN);
    Pump(hDlg);
    EXPECT_EQ(GetDlgCtrlID(GetFocus()), ID_EDIT);
    DestroyWindow(hDlg);
}

TEST_F(DialogTest, EnterPressesTheDefaultButtonAndEscapeCancels)
{
    HWND hDlg = CreateSample();
    PressKey(VK_RETURN);
    Pump(hDlg);
    SendMessage(hDlg, DM_SETDEFID, ID_APPLY, 0);
    EXPECT_EQ(GetWindowLongPtr(GetDlgItem(hDlg, ID_APPLY), GWL_STYLE) & 0x0F, static_cast<LONG_PTR>(BS_DEFPUSHBUTTON));
    EXPECT_EQ(GetWindowLongPtr(GetDlgItem(hDlg, IDOK), GWL_STYLE) & 0x0F, static_cast<LONG_PTR>(BS_PUSHBUTTON));
    PressKey(VK_RETURN);
    PressKey(VK_ESCAPE);
    Pump(hDlg);
    // On a push button, Enter presses that button.
    SetFocus(GetDlgItem(hDlg, IDCANCEL));
    PressKey(VK_RETURN);
    Pump(hDlg);
    // WM_CLOSE turns into IDCANCEL as well.
    SendMessage(hDlg, WM_CLOSE, 0, 0);
    EXPECT_EQ(m_record.commands, (std::vector<int> { IDOK, ID_APPLY, IDCANCEL, IDCANCEL, IDCANCEL }));
    EXPECT_TRUE(IsWindow(hDlg));
    DestroyWindow(hDlg);
}

TEST_F(DialogTest, MnemonicsFocusOrPressTheirControl)
{
    HWND hDlg = CreateSample();
    SetFocus(GetDlgItem(hDlg, ID_APPLY));
    PressKey('N', VK_MENU); // the label passes the focus on to the edit
    Pump(hDlg);
    EXPECT_EQ(GetDlgCtrlID(GetFocus()), ID_EDIT);
    PressKey('C'); // the edit wants characters: no mnemonic
    Pump(hDlg);
    EXPECT_EQ(IsDlgButtonChecked(hDlg, ID_CHECK), BST_UNCHECKED);
    PressKey('C', VK_MENU);
    Pump(hDlg);
    EXPECT_EQ(GetDlgCtrlID(GetFocus()), ID_CHECK);
    EXPECT_EQ(IsDlgButtonChecked(hDlg, ID_CHECK), BST_CHECKED);
    PressKey('A'); // a check box takes no characters, so the plain letter works
    Pump(hDlg);
    EXPECT_EQ(m_record.commands, (std::vector<int> { ID_CHECK, ID_APPLY }));
    char szText[8] {};
    GetDlgItemText(hDlg, ID_EDIT, szText, sizeof(szText));
    EXPECT_STREQ(szText, "c");
    DestroyWindow(hDlg);
}

TEST_F(DialogTest, MessagesForOtherWindowsAreLeftAlone)
{
    HWND hDlg = CreateSample();
    MSG msg { m_hOwner, WM_KEYDOWN, VK_ESCAPE, 0, 0, {} };
    EXPECT_FALSE(IsDialogMessage(hDlg, &msg));
    EXPECT_FALSE(IsDialogMessage(hDlg, nullptr));
    EXPECT_TRUE(m_record.commands.empty());
    DestroyWindow(hDlg);
}

/***** Controls by ID *****/

TEST_F(DialogTest, ItemIntegersParseStrictly)
{
    HWND hDlg = CreateSample();
    BOOL bTranslated = FALSE;
    ASSERT_TRUE(SetDlgItemInt(hDlg, ID_EDIT, static_cast<UINT>(-25), TRUE));
    EXPECT_EQ(static_cast<int>(GetDlgItemInt(hDlg, ID_EDIT, &bTranslated, TRUE)), -25);
    EXPECT_TRUE(bTranslated);
    GetDlgItemInt(hDlg, ID_EDIT, &bTranslated, FALSE);
    EXPECT_FALSE(bTranslated) << "no sign when unsigned";
    struct Case {
        const char* pszText;
        BOOL bSigned;
        BOOL bTranslated;
        UINT nValue;
    };
    for (const Case& c : { Case { " 42 ", FALSE, TRUE, 42 }, Case { "4294967295", FALSE, TRUE, 0xFFFFFFFF },
             Case { "4294967296", FALSE, FALSE, 0 }, Case { "-2147483648", TRUE, TRUE, 0x80000000 },
             Case { "2147483648", TRUE, FALSE, 0 }, Case { "12ab", FALSE, FALSE, 0 }, Case { "", FALSE, FALSE, 0 },
             Case { "-", TRUE, FALSE, 0 } }) {
        SetDlgItemText(hDlg, ID_EDIT, c.pszText);
        EXPECT_EQ(GetDlgItemInt(hDlg, ID_EDIT, &bTranslated, c.bSigned), c.nValue) << c.pszText;
        EXPECT_EQ(bTranslated, c.bTranslated) << c.pszText;
    }
    SetLastError(0);
    EXPECT_FALSE(SetDlgItemText(hDlg, 999, "x"));
    EXPECT_EQ(GetLastError(), ERROR_CONTROL_ID_NOT_FOUND);
    EXPECT_EQ(GetDlgItemInt(hDlg, 999, &bTranslated, TRUE), 0u);
    EXPECT_FALSE(bTranslated);
    DestroyWindow(hDlg);
}

TEST_F(DialogTest, RadioAndCheckHelpersSetButtonStates)
{
    HWND hDlg = CreateSample();
    CheckDlgButton(hDlg, ID_RADIO1, BST_CHECKED);
    ASSERT_TRUE(CheckRadioButton(hDlg, ID_RADIO1, ID_RADIO3, ID_RADIO2));
    EXPECT_EQ(IsDlgButtonChecked(hDlg, ID_RADIO1), BST_UNCHECKED);
    EXPECT_EQ(IsDlgButtonChecked(hDlg, ID_RADIO2), BST_CHECKED);
    EXPECT_EQ(IsDlgButtonChecked(hDlg, ID_RADIO3), BST_UNCHECKED);
    EXPECT_FALSE(CheckRadioButton(hDlg, ID_RADIO1, ID_RADIO3, 999));
    EXPECT_EQ(IsDlgButtonChecked(hDlg, ID_RADIO2), BST_CHECKED);
    EXPECT_EQ(SendDlgItemMessage(hDlg, ID_CHECK, BM_GETCHECK, 0, 0), BST_UNCHECKED);
    DestroyWindow(hDlg);
}

/***** Colours *****/

TEST_F(DialogTest, BackgroundIsTheBrushTheDialogAnswersForItself)
{
    HBRUSH hGreen = CreateSolidBrush(RGB(0, 160, 0));
    std::vector<HWND> asked;
    m_record.handler = [&](HWND, UINT uMsg, WPARAM, LPARAM lParam) -> INT_PTR {
        if (uMsg == WM_CTLCOLORDLG) {
            asked.push_back(reinterpret_cast<HWND>(lParam));
            return reinterpret_cast<INT_PTR>(hGreen);
        }
        return uMsg == WM_INITDIALOG;
    };
    HWND hDlg = CreateSample();
    PumpUntilIdle();
    {
        CCapturedImage image(CaptureWindowImage(hDlg));
        POINT pt { 5, 5 }; // a corner of the client area with no control on it
        ClientToScreen(hDlg, &pt);
        RECT rcWindow {};
        GetWindowRect(hDlg, &rcWindow);
        EXPECT_EQ(image.At(pt.x - rcWindow.left, pt.y - rcWindow.top), RGB(0, 160, 0));
    }
    ASSERT_FALSE(asked.empty());
    EXPECT_EQ(asked.front(), hDlg);

    // A dialog procedure that leaves the message to the default gets the face colour.
    m_record.handler = nullptr;
    HDC hdc = GetDC(hDlg);
    EXPECT_EQ(reinterpret_cast<HBRUSH>(
                  SendMessage(hDlg, WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(hdc), reinterpret_cast<LPARAM>(hDlg))),
        GetSysColorBrush(COLOR_3DFACE));
    ReleaseDC(hDlg, hdc);
    DestroyWindow(hDlg);
    DeleteObject(hGreen);
}
