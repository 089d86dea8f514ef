#include "platform/window/Window.h"

#include "platform/base/WinError.h"
#include "platform/window/Messages.h"
#include "tests/platform/window/WindowTestSupport.h"

#include <cctype>
#include <cstring>
#include <string>
#include <thread>

namespace {

using Messages = std::vector<std::pair<HWND, UINT>>;

const std::vector<UINT> LIFECYCLE = { WM_NCCREATE, WM_CREATE, WM_DESTROY, WM_NCDESTROY };

}

/***** Creation and destruction *****/

TEST_F(WindowTest, CreationSendsNcCreateNcCalcSizeCreateSizeMoveInOrderWithTheCreateStruct)
{
    std::string strSeenName;
    LPVOID pSeenParam = nullptr;
    int nParam = 0;
    MessageLog::Instance().handler = [&](HWND, UINT uMsg, WPARAM, LPARAM lParam, LRESULT*) {
        if (uMsg == WM_CREATE) {
            auto* pcs = reinterpret_cast<CREATESTRUCT*>(lParam);
            strSeenName = pcs->lpszName;
            pSeenParam = pcs->lpCreateParams;
        }
        return false;
    };
    HWND hWnd
        = CreateWindowEx(0, RECORDING_CLASS, "Title", WS_POPUP, 10, 20, 100, 50, nullptr, nullptr, nullptr, &nParam);
    ASSERT_NE(hWnd, nullptr);
    EXPECT_EQ(MessageLog::Instance().TakeMessages(),
        (Messages { { hWnd, WM_NCCREATE }, { hWnd, WM_NCCALCSIZE }, { hWnd, WM_CREATE }, { hWnd, WM_SIZE },
            { hWnd, WM_MOVE } }));
    EXPECT_EQ(strSeenName, "Title");
    EXPECT_EQ(pSeenParam, &nParam);
    char szText[32] {};
    EXPECT_EQ(GetWindowText(hWnd, szText, sizeof szText), 5);
    EXPECT_STREQ(szText, "Title"); // DefWindowProc's WM_NCCREATE stored it
}

TEST_F(WindowTest, DestroySendsDestroyParentFirstAndNcDestroyChildrenFirstThenHandlesAreStale)
{
    HWND hParent = CreateRecordingWindow(WS_OVERLAPPEDWINDOW, 0, 0, 300, 200);
    HWND hChild = CreateRecordingWindow(WS_CHILD, 0, 0, 50, 50, hParent, 1);
    HWND hGrandChild = CreateRecordingWindow(WS_CHILD, 0, 0, 10, 10, hChild, 2);
    HWND hOwned = CreateRecordingWindow(WS_POPUP, 0, 0, 10, 10, hChild); // owned by hParent, the top-level ancestor
    ASSERT_TRUE(hGrandChild && hOwned);
    EXPECT_EQ(GetWindow(hOwned, GW_OWNER), hParent);
    MessageLog::Instance().Take();

    ASSERT_TRUE(DestroyWindow(hParent));
    EXPECT_EQ(MessageLog::Instance().TakeMessages(LIFECYCLE),
        (Messages { { hOwned, WM_DESTROY }, { hOwned, WM_NCDESTROY }, { hParent, WM_DESTROY }, { hChild, WM_DESTROY },
            { hGrandChild, WM_DESTROY }, { hGrandChild, WM_NCDESTROY }, { hChild, WM_NCDESTROY },
            { hParent, WM_NCDESTROY } }));
    for (HWND hWnd : { hParent, hChild, hGrandChild, hOwned })
        EXPECT_FALSE(IsWindow(hWnd));
    SetLastError(0);
    EXPECT_FALSE(DestroyWindow(hChild));
    EXPECT_EQ(GetLastError(), ERROR_INVALID_WINDOW_HANDLE);
    EXPECT_EQ(SendMessage(hParent, WM_USER, 0, 0), 0);
    EXPECT_FALSE(PostMessage(hParent, WM_USER, 0, 0));
}

TEST_F(WindowTest, WindowStaysValidDuringItsNcDestroyAndNothingFollowsIt)
{
    BOOL bValidDuringNcDestroy = FALSE;
    MessageLog::Instance().handler = [&](HWND hWnd, UINT uMsg, WPARAM, LPARAM, LRESULT*) {
        if (uMsg == WM_NCDESTROY) {
            bValidDuringNcDestroy = IsWindow(hWnd);
            PostMessage(hWnd, WM_USER, 0, 0); // goes nowhere: the window is about to be freed
        }
        return false;
    };
    HWND hWnd = CreateRecordingWindow(WS_POPUP, 0, 0, 10, 10);
    SetTimer(hWnd, 1, 10, nullptr);
    DestroyWindow(hWnd);
    EXPECT_TRUE(bValidDuringNcDestroy);
    MessageLog::Instance().Take();
    EXPECT_EQ(PumpUntilIdle(), 0);
    EXPECT_TRUE(MessageLog::Instance().Take().empty());
}

TEST_F(WindowTest, ProcedureThatDestroysItsWindowInAHandlerIsSafe)
{
    MessageLog::Instance().handler = [](HWND hWnd, UINT uMsg, WPARAM, LPARAM, LRESULT* plResult) {
        if (uMsg == WM_USER) {
            DestroyWindow(hWnd);
            DestroyWindow(hWnd); // a second call on the stale handle just fails
            *plResult = 42;
            return true;
        }
        if (uMsg == WM_DESTROY)
            DestroyWindow(hWnd); // re-entered while being destroyed: no second round of messages
        return false;
    };
    HWND hWnd = CreateRecordingWindow(WS_POPUP, 0, 0, 10, 10);
    HWND hChild = CreateRecordingWindow(WS_CHILD, 0, 0, 5, 5, hWnd);
    MessageLog::Instance().Take();
    EXPECT_EQ(SendMessage(hWnd, WM_USER, 0, 0), 42);
    EXPECT_FALSE(IsWindow(hWnd));
    EXPECT_FALSE(IsWindow(hChild));
    EXPECT_EQ(MessageLog::Instance().TakeMessages(LIFECYCLE),
        (Messages { { hWnd, WM_DESTROY }, { hChild, WM_DESTROY }, { hChild, WM_NCDESTROY }, { hWnd, WM_NCDESTROY } }));

    HWND hPosted = CreateRecordingWindow(WS_POPUP, 0, 0, 10, 10);
    PostMessage(hPosted, WM_USER, 0, 0);
    PostMessage(hPosted, WM_USER + 1, 0, 0); // dropped with the window
    MessageLog::Instance().Take();
    EXPECT_EQ(PumpUntilIdle(), 1);
    EXPECT_FALSE(IsWindow(hPosted));
}

TEST_F(WindowTest, AChildCreatedDuringItsParentsNcDestroyGoesWithIt)
{
    HWND hLate = nullptr;
    MessageLog::Instance().handler = [&hLate](HWND hWnd, UINT uMsg, WPARAM, LPARAM, LRESULT*) {
        if (uMsg == WM_NCDESTROY && !hLate)
            hLate = CreateRecordingWindow(WS_CHILD, 0, 0, 1, 1, hWnd, 9);
        return false;
    };
    HWND hWnd = CreateRecordingWindow(WS_POPUP, 0, 0, 10, 10);
    DestroyWindow(hWnd);
    ASSERT_NE(hLate, nullptr);
    EXPECT_FALSE(IsWindow(hLate));
    EXPECT_EQ(GetParent(hLate), nullptr);
}

TEST_F(WindowTest, RefusingNcCreateOrCreateFailsCreation)
{
    MessageLog::Instance().handler = [](HWND, UINT uMsg, WPARAM, LPARAM, LRESULT* plResult) {
        if (uMsg == WM_NCCREATE) {
            *plResult = FALSE;
            return true;
        }
        return false;
    };
    EXPECT_EQ(CreateRecordingWindow(WS_POPUP, 0, 0, 10, 10), nullptr);
    auto refusedNc = MessageLog::Instance().TakeMessages();
    ASSERT_EQ(refusedNc.size(), 2u);
    EXPECT_EQ(refusedNc[0].second, WM_NCCREATE);
    EXPECT_EQ(refusedNc[1].second, WM_NCDESTROY);
    EXPECT_FALSE(IsWindow(refusedNc[0].first));

    MessageLog::Instance().handler = [](HWND, UINT uMsg, WPARAM, LPARAM, LRESULT* plResult) {
        if (uMsg == WM_CREATE) {
            *plResult = -1;
            return true;
        }
        return false;
    };
    EXPECT_EQ(CreateRecordingWindow(WS_POPUP, 0, 0, 10, 10), nullptr);
    auto refused = MessageLog::Instance().TakeMessages(LIFECYCLE);
    ASSERT_EQ(refused.size(), 4u);
    EXPECT_EQ(refused[2].second, WM_DESTROY);
    EXPECT_EQ(refused[3].second, WM_NCDESTROY);
    EXPECT_FALSE(IsWindow(refused[0].first));
}

TEST_F(WindowTest, CreationRefusesBadClassesAndParents)
{
    EXPECT_EQ(CreateWindow("NoSuchClass", "", WS_POPUP, 0, 0, 1, 1, nullptr, nullptr, nullptr, nullptr), nullptr);
    EXPECT_EQ(GetLastError(), ERROR_CANNOT_FIND_WND_CLASS);
    EXPECT_EQ(CreateRecordingWindow(WS_CHILD, 0, 0, 1, 1), nullptr);
    EXPECT_EQ(GetLastError(), ERROR_TLW_WITH_WSCHILD);
    HWND hGone = CreateRecordingWindow(WS_POPUP, 0, 0, 1, 1);
    DestroyWindow(hGone);
    EXPECT_EQ(CreateRecordingWindow(WS_CHILD, 0, 0, 1, 1, hGone), nullptr);
    EXPECT_EQ(GetLastError(), ERROR_INVALID_WINDOW_HANDLE);
}

TEST_F(WindowTest, BadArgumentsFailWithAnError)
{
    HWND hWnd = CreateRecordingWindow(WS_POPUP, 0, 0, 10, 10);
    HWND hStale = CreateRecordingWindow(WS_POPUP, 0, 0, 10, 10);
    DestroyWindow(hStale);

    EXPECT_EQ(CreateWindow(nullptr, "", WS_POPUP, 0, 0, 1, 1, nullptr, nullptr, nullptr, nullptr), nullptr);
    EXPECT_EQ(GetLastError(), ERROR_CANNOT_FIND_WND_CLASS);
    EXPECT_FALSE(DestroyWindow(GetDesktopWindow()));
    EXPECT_FALSE(SetWindowPos(GetDesktopWindow(), HWND_TOP, 0, 0, 1, 1, 0));
    EXPECT_EQ(GetLastError(), ERROR_ACCESS_DENIED);
    EXPECT_FALSE(SetProp(hWnd, nullptr, hWnd));
    EXPECT_EQ(GetLastError(), ERROR_INVALID_PARAMETER);
    EXPECT_EQ(GetProp(hWnd, nullptr), nullptr);
    EXPECT_EQ(GetWindowText(hWnd, nullptr, 10), 0);
    EXPECT_TRUE(SetWindowText(hWnd, nullptr)); // no text is empty text
    EXPECT_EQ(GetWindowTextLength(hWnd), 0);
    EXPECT_FALSE(GetWindowRect(hWnd, nullptr));
    EXPECT_FALSE(EnumChildWindows(hWnd, nullptr, 0));
    EXPECT_EQ(GetWindow(hWnd, 99), nullptr);
    EXPECT_EQ(GetLastError(), ERROR_INVALID_PARAMETER);
    EXPECT_FALSE(RegisterClass(nullptr));
    EXPECT_FALSE(GetClassInfo(nullptr, RECORDING_CLASS, nullptr));
    MSG msg {};
    EXPECT_FALSE(PeekMessage(nullptr, nullptr, 0, 0, PM_REMOVE));
    EXPECT_EQ(DispatchMessage(nullptr), 0);
    EXPECT_FALSE(TranslateMessage(nullptr));
    msg.hwnd = hStale;
    msg.message = WM_USER;
    EXPECT_EQ(DispatchMessage(&msg), 0);
    EXPECT_EQ(GetLastError(), ERROR_INVALID_WINDOW_HANDLE);

    // Every call on a stale handle refuses it the same way.
    SetLastError(0);
    EXPECT_EQ(GetParent(hStale), nullptr);
    EXPECT_EQ(GetLastError(), ERROR_INVALID_WINDOW_HANDLE);
    SetLastError(0);
    EXPECT_FALSE(ShowWindow(hStale, SW_SHOW));
    EXPECT_EQ(GetLastError(), ERROR_INVALID_WINDOW_HANDLE);
    SetLastError(0);
    EXPECT_EQ(GetWindowLongPtr(hStale, GWLP_USERDATA), 0);
    EXPECT_EQ(GetLastError(), ERROR_INVALID_WINDOW_HANDLE);
    SetLastError(0);
    EXPECT_EQ(SetTimer(hStale, 1, 10, nullptr), 0u);
    EXPECT_EQ(GetLastError(), ERROR_INVALID_WINDOW_HANDLE);
    EXPECT_FALSE(IsWindowVisible(hStale));
    EXPECT_FALSE(IsWindowEnabled(hStale));
}

TEST_F(WindowTest, WindowsOfAnEndedThreadAreGone)
{
    HWND hWnd = nullptr;
    std::thread worker([&] { hWnd = CreateRecordingWindow(WS_POPUP, 0, 0, 10, 10); });
    worker.join();
    ASSERT_NE(hWnd, nullptr);
    EXPECT_FALSE(IsWindow(hWnd));
}

/***** Classes *****/

TEST_F(WindowTest, ClassesAreFoundWithoutRegardToCaseAndPerInstance)
{
    auto hInstance = reinterpret_cast<HINSTANCE>(0x400000);
    WNDCLASS wc {};
    wc.lpfnWndProc = DefWindowProc;
    wc.hInstance = hInstance;
    wc.lpszClassName = "PopupClass";
    ATOM nAtom = RegisterClass(&wc);
    ASSERT_NE(nAtom, 0);
    EXPECT_GE(nAtom, WM_REGISTERED_FIRST);
    EXPECT_EQ(RegisterClass(&wc), 0);
    EXPECT_EQ(GetLastError(), ERROR_CLASS_ALREADY_EXISTS);

    WNDCLASS info {};
    EXPECT_FALSE(GetClassInfo(nullptr, "PopupClass", &info)); // registered for another instance
    ASSERT_TRUE(GetClassInfo(hInstance, "POPUPCLASS", &info));
    EXPECT_EQ(info.lpfnWndProc, DefWindowProc);
    EXPECT_STREQ(info.lpszClassName, "PopupClass");

    HWND hWnd = CreateWindow(MAKEINTATOM(nAtom), "", WS_POPUP, 0, 0, 1, 1, nullptr, nullptr, hInstance, nullptr);
    ASSERT_NE(hWnd, nullptr);
    char szName[8] {};
    EXPECT_EQ(GetClassName(hWnd, szName, sizeof szName), 7); // cut to the buffer
    EXPECT_STREQ(szName, "PopupCl");
    EXPECT_FALSE(UnregisterClass("popupclass", hInstance));
    EXPECT_EQ(GetLastError(), ERROR_CLASS_HAS_WINDOWS);
    DestroyWindow(hWnd);
    EXPECT_TRUE(UnregisterClass("popupclass", hInstance));
    EXPECT_FALSE(UnregisterClass("popupclass", hInstance));
    EXPECT_EQ(GetLastError(), ERROR_CLASS_DOES_NOT_EXIST);
}

TEST_F(WindowTest, GlobalClassesServeEveryInstanceAndBadRegistrationsAreRefused)
{
    WNDCLASSEX wcx {};
    wcx.cbSize = sizeof wcx;
    wcx.style = CS_GLOBALCLASS | CS_DBLCLKS;
    wcx.lpfnWndProc = DefWindowProc;
    wcx.lpszClassName = "SharedClass";
    ASSERT_NE(RegisterClassEx(&wcx), 0);
    WNDCLASSEX info {};
    ASSERT_TRUE(GetClassInfoEx(reinterpret_cast<HINSTANCE>(0x1234), "sharedclass", &info));
    EXPECT_EQ(info.style, CS_GLOBALCLASS | CS_DBLCLKS);

    WNDCLASSEX bad = wcx;
    bad.cbSize = sizeof(WNDCLASS);
    EXPECT_EQ(RegisterClassEx(&bad), 0);
    bad = wcx;
    bad.lpszClassName = "Other";
    bad.lpfnWndProc = nullptr;
    EXPECT_EQ(RegisterClassEx(&bad), 0);
    bad.lpfnWndProc = DefWindowProc;
    bad.cbWndExtra = -1;
    EXPECT_EQ(RegisterClassEx(&bad), 0);
    EXPECT_EQ(GetLastError(), ERROR_INVALID_PARAMETER);
}

TEST_F(WindowTest, RegisteredMessagesAreStableAndCaseInsensitive)
{
    UINT uRedo = RegisterWindowMessage("APP Redo");
    UINT uReload = RegisterWindowMessage("APP Reload");
    EXPECT_GE(uRedo, WM_REGISTERED_FIRST);
    EXPECT_LE(uRedo, WM_REGISTERED_LAST);
    EXPECT_NE(uRedo, uReload);
    EXPECT_EQ(RegisterWindowMessage("app REDO"), uRedo);
    EXPECT_EQ(RegisterWindowMessage(""), 0u);
    EXPECT_EQ(GetLastError(), ERROR_INVALID_PARAMETER);
    EXPECT_EQ(RegisterWindowMessage(nullptr), 0u);
    UINT uAccented = RegisterWindowMessage("Ação");
    EXPECT_EQ(RegisterWindowMessage("AÇÃO"), uAccented);
}

/***** Text, properties and values *****/

TEST_F(WindowTest, TextGoesThroughTheWindowProcedure)
{
    HWND hWnd = CreateRecordingWindow(WS_POPUP, 0, 0, 10, 10);
    MessageLog::Instance().handler = [](HWND, UINT uMsg, WPARAM wParam, LPARAM lParam, LRESULT* plResult) {
        if (uMsg == WM_GETTEXT && wParam >= 6) {
            std::strcpy(reinterpret_cast<char*>(lParam), "fixed");
            *plResult = 5;
            return true;
        }
        return false;
    };
    EXPECT_TRUE(SetWindowText(hWnd, "Relatório"));
    EXPECT_EQ(MessageLog::Instance().TakeMessages({ WM_SETTEXT }).size(), 1u);
    char szText[32] {};
    EXPECT_EQ(GetWindowText(hWnd, szText, sizeof szText), 5);
    EXPECT_STREQ(szText, "fixed");
    EXPECT_EQ(GetWindowTextLength(hWnd), 10); // bytes of UTF-8

    MessageLog::Instance().handler = nullptr;
    char szShort[7] {};
    EXPECT_EQ(GetWindowText(hWnd, szShort, sizeof szShort), 5); // six bytes would split the "ó"
    EXPECT_STREQ(szShort, "Relat");
}

TEST_F(WindowTest, PropertiesAreKeptByNameWithoutRegardToCase)
{
    HWND hWnd = CreateRecordingWindow(WS_POPUP, 0, 0, 10, 10);
    int nA = 0;
    int nB = 0;
    EXPECT_EQ(GetProp(hWnd, "Never"), nullptr);
    EXPECT_TRUE(SetProp(hWnd, "Data", &nA));
    EXPECT_TRUE(SetProp(hWnd, "DATA", &nB));
    EXPECT_EQ(GetProp(hWnd, "data"), &nB);
    EXPECT_EQ(RemoveProp(hWnd, "Data"), &nB);
    EXPECT_EQ(GetProp(hWnd, "Data"), nullptr);
    EXPECT_EQ(RemoveProp(hWnd, "Data"), nullptr);
}

TEST_F(WindowTest, ExtraBytesAndIndexesAreChecked)
{
    HWND hWnd = CreateRecordingWindow(WS_POPUP, 0, 0, 10, 10);
    EXPECT_EQ(SetWindowLongPtr(hWnd, sizeof(LONG_PTR), 77), 0);
    EXPECT_EQ(GetWindowLongPtr(hWnd, sizeof(LONG_PTR)), 77);
    EXPECT_EQ(GetWindowLong(hWnd, sizeof(LONG_PTR)), 77);
    SetLastError(0);
    EXPECT_EQ(GetWindowLongPtr(hWnd, sizeof(LONG_PTR) + 1), 0); // would run past the extra bytes
    EXPECT_EQ(GetLastError(), ERROR_INVALID_INDEX);
    EXPECT_EQ(SetWindowLongPtr(hWnd, -100, 1), 0);
    EXPECT_EQ(GetLastError(), ERROR_INVALID_INDEX);
}

TEST_F(WindowTest, StyleChangesAreAnnouncedAndCanBeAltered)
{
    HWND hWnd = CreateRecordingWindow(WS_POPUP, 0, 0, 10, 10);
    STYLESTRUCT changed {};
    MessageLog::Instance().handler = [&changed](HWND, UINT uMsg, WPARAM wParam, LPARAM lParam, LRESULT*) {
        if (uMsg == WM_STYLECHANGING && wParam == static_cast<WPARAM>(GWL_STYLE))
            reinterpret_cast<STYLESTRUCT*>(lParam)->styleNew &= ~WS_BORDER;
        if (uMsg == WM_STYLECHANGED)
            changed = *reinterpret_cast<STYLESTRUCT*>(lParam);
        return false;
    };
    MessageLog::Instance().Take();
    LONG nOld = SetWindowLong(hWnd, GWL_STYLE, static_cast<LONG>(WS_POPUP | WS_BORDER | WS_TABSTOP));
    EXPECT_EQ(static_cast<DWORD>(nOld), WS_POPUP);
    EXPECT_EQ(static_cast<DWORD>(GetWindowLong(hWnd, GWL_STYLE)), WS_POPUP | WS_TABSTOP);
    auto log = MessageLog::Instance().Take();
    ASSERT_EQ(log.size(), 2u);
    EXPECT_EQ(log[0].uMsg, WM_STYLECHANGING);
    EXPECT_EQ(log[1].uMsg, WM_STYLECHANGED);
    EXPECT_EQ(changed.styleOld, WS_POPUP);
    EXPECT_EQ(changed.styleNew, WS_POPUP | WS_TABSTOP);
}

/***** Subclassing *****/

namespace {

WNDPROC g_pfnOriginal = nullptr;
int g_nSubclassCalls = 0;

LRESULT CALLBACK UpperCaseTextProc(HWND hWnd, UINT uMsg, WPARAM wParam, LPARAM lParam)
{
    ++g_nSubclassCalls;
    if (uMsg == WM_SETTEXT) {
        std::string strUpper = reinterpret_cast<LPCSTR>(lParam);
        for (char& ch : strUpper)
            ch = static_cast<char>(std::toupper(static_cast<unsigned char>(ch)));
        return CallWindowProc(g_pfnOriginal, hWnd, uMsg, wParam, reinterpret_cast<LPARAM>(strUpper.c_str()));
    }
    return CallWindowProc(g_pfnOriginal, hWnd, uMsg, wParam, lParam);
}

}

TEST_F(WindowTest, SubclassingThroughTheProcedureSlotPassesOnWithCallWindowProc)
{
    HWND hWnd = CreateRecordingWindow(WS_POPUP, 0, 0, 10, 10);
    g_pfnOriginal = reinterpret_cast<WNDPROC>(
        SetWindowLongPtr(hWnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(UpperCaseTextProc)));
    EXPECT_EQ(g_pfnOriginal, RecordingWndProc);
    MessageLog::Instance().Take();
    SetWindowText(hWnd, "mixed Case");
    char szText[32] {};
    GetWindowText(hWnd, szText, sizeof szText);
    EXPECT_STREQ(szText, "MIXED CASE");
    EXPECT_EQ(g_nSubclassCalls, 2);
    EXPECT_EQ(MessageLog::Instance().TakeMessages(), (Messages { { hWnd, WM_SETTEXT }, { hWnd, WM_GETTEXT } }));

    // Putting the original back ends the subclass.
    SetWindowLongPtr(hWnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(g_pfnOriginal));
    SetWindowText(hWnd, "lower");
    EXPECT_EQ(g_nSubclassCalls, 2);
    EXPECT_EQ(CallWindowProc(nullptr, hWnd, WM_USER, 0, 0), 0);
}

TEST_F(WindowTest, OnlyTheOwnerThreadMayDestroyOrSubclass)
{
    HWND hWnd = CreateRecordingWindow(WS_POPUP, 0, 0, 10, 10);
    BOOL bDestroyed = TRUE;
    LONG_PTR nOldProc = 1;
    DWORD dwError = 0;
    std::thread other([&] {
        bDestroyed = DestroyWindow(hWnd);
        dwError = GetLastError();
        nOldProc = SetWindowLongPtr(hWnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(DefWindowProc));
    });
    other.join();
    EXPECT_FALSE(bDestroyed);
    EXPECT_EQ(dwError, ERROR_ACCESS_DENIED);
    EXPECT_EQ(nOldProc, 0);
    EXPECT_EQ(GetWindowLongPtr(hWnd, GWLP_WNDPROC), reinterpret_cast<LONG_PTR>(RecordingWndProc));
    EXPECT_TRUE(IsWindow(hWnd));
}
