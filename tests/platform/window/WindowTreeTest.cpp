#include "platform/window/Window.h"

#include "platform/base/WinError.h"
#include "platform/window/Messages.h"
#include "tests/platform/window/WindowTestSupport.h"

#include <thread>

namespace {

class WindowTreeTest : public WindowTest { };

std::vector<HWND> Collect(BOOL (*enumerate)(WNDENUMPROC, LPARAM))
{
    std::vector<HWND> handles;
    enumerate(
        [](HWND hWnd, LPARAM lParam) -> BOOL {
            reinterpret_cast<std::vector<HWND>*>(lParam)->push_back(hWnd);
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&handles));
    return handles;
}

BOOL CALLBACK CollectInto(HWND hWnd, LPARAM lParam)
{
    reinterpret_cast<std::vector<HWND>*>(lParam)->push_back(hWnd);
    return TRUE;
}

}

TEST_F(WindowTreeTest, ParentsOwnersAndAncestors)
{
    HWND hMain = CreateRecordingWindow(WS_OVERLAPPEDWINDOW, 0, 0, 300, 300);
    HWND hPane = CreateRecordingWindow(WS_CHILD, 0, 0, 100, 100, hMain, 10);
    HWND hList = CreateRecordingWindow(WS_CHILD, 0, 0, 50, 50, hPane, 11);
    HWND hPopup = CreateRecordingWindow(WS_POPUP, 0, 0, 50, 50, hList);

    EXPECT_EQ(GetParent(hList), hPane);
    EXPECT_EQ(GetParent(hPopup), hMain); // a popup's "parent" is its owner
    EXPECT_EQ(GetParent(hMain), nullptr);
    EXPECT_EQ(GetAncestor(hMain, GA_PARENT), GetDesktopWindow());
    EXPECT_EQ(GetAncestor(hList, GA_ROOT), hMain);
    EXPECT_EQ(GetAncestor(hPopup, GA_ROOT), hPopup);
    EXPECT_EQ(GetAncestor(hPopup, GA_ROOTOWNER), hMain);
    EXPECT_TRUE(IsChild(hMain, hList));
    EXPECT_FALSE(IsChild(hMain, hPopup));
    EXPECT_FALSE(IsChild(hList, hMain));
    EXPECT_EQ(GetDlgItem(hPane, 11), hList);
    EXPECT_EQ(GetDlgItem(hMain, 11), nullptr); // only direct children
    EXPECT_EQ(GetDlgCtrlID(hList), 11);
    SetWindowLong(hList, GWL_ID, 12);
    EXPECT_EQ(GetDlgItem(hPane, 12), hList);
    EXPECT_EQ(GetWindow(hMain, GW_CHILD), hPane);
    EXPECT_EQ(GetWindow(hMain, GW_OWNER), nullptr);
    EXPECT_EQ(GetWindowLongPtr(hPopup, GWLP_HWNDPARENT), reinterpret_cast<LONG_PTR>(hMain));
}

TEST_F(WindowTreeTest, SetParentMovesASubtreeAndRefusesCycles)
{
    HWND hA = CreateRecordingWindow(WS_POPUP, 0, 0, 100, 100);
    HWND hB = CreateRecordingWindow(WS_POPUP, 0, 0, 100, 100);
    HWND hChild = CreateRecordingWindow(WS_CHILD, 5, 5, 10, 10, hA, 1);
    HWND hGrandChild = CreateRecordingWindow(WS_CHILD, 1, 1, 2, 2, hChild, 2);

    EXPECT_EQ(SetParent(hChild, hB), hA);
    EXPECT_EQ(GetParent(hChild), hB);
    EXPECT_TRUE(IsChild(hB, hGrandChild));
    EXPECT_EQ(GetWindow(hA, GW_CHILD), nullptr);
    EXPECT_EQ(SetParent(hB, hGrandChild), nullptr);
    EXPECT_EQ(GetLastError(), ERROR_INVALID_PARAMETER);

    // Destroying the new parent takes the moved child along.
    DestroyWindow(hB);
    EXPECT_FALSE(IsWindow(hGrandChild));
    EXPECT_TRUE(IsWindow(hA));
}

TEST_F(WindowTreeTest, EnumerationVisitsDescendantsDepthFirstAndSurvivesDestruction)
{
    HWND hMain = CreateRecordingWindow(WS_POPUP, 0, 0, 100, 100);
    HWND hFirst = CreateRecordingWindow(WS_CHILD, 0, 0, 10, 10, hMain, 1);
    HWND hInner = CreateRecordingWindow(WS_CHILD, 0, 0, 5, 5, hFirst, 2);
    HWND hSecond = CreateRecordingWindow(WS_CHILD, 0, 0, 10, 10, hMain, 3); // on top of hFirst
    std::vector<HWND> visited;
    EnumChildWindows(hMain, CollectInto, reinterpret_cast<LPARAM>(&visited));
    EXPECT_EQ(visited, (std::vector<HWND> { hSecond, hFirst, hInner }));

    // A callback that destroys a window not yet visited: it is skipped, not dereferenced.
    visited.clear();
    struct Context {
        std::vector<HWND>* pVisited;
        HWND hVictim;
    } context { &visited, hInner };
    EnumChildWindows(
        hMain,
        [](HWND hWnd, LPARAM lParam) -> BOOL {
            auto* pContext = reinterpret_cast<Context*>(lParam);
            pContext->pVisited->push_back(hWnd);
            DestroyWindow(pContext->hVictim);
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&context));
    EXPECT_EQ(visited, (std::vector<HWND> { hSecond, hFirst }));

    // Stopping early.
    int nCalls = 0;
    EXPECT_FALSE(EnumWindows(
        [](HWND, LPARAM lParam) -> BOOL {
            ++*reinterpret_cast<int*>(lParam);
            return FALSE;
        },
        reinterpret_cast<LPARAM>(&nCalls)));
    EXPECT_EQ(nCalls, 1);
}

TEST_F(WindowTreeTest, ThreadWindowsAreTheTopLevelWindowsOfThatThread)
{
    HWND hMine = CreateRecordingWindow(WS_POPUP, 0, 0, 10, 10);
    CreateRecordingWindow(WS_CHILD, 0, 0, 1, 1, hMine, 1); // children are not thread windows
    std::vector<HWND> mine;
    EXPECT_TRUE(EnumThreadWindows(GetCurrentThreadId(), CollectInto, reinterpret_cast<LPARAM>(&mine)));
    EXPECT_EQ(mine, (std::vector<HWND> { hMine }));
    EXPECT_FALSE(EnumThreadWindows(GetCurrentThreadId() + 1000, CollectInto, reinterpret_cast<LPARAM>(&mine)));
    EXPECT_EQ(Collect(EnumWindows), (std::vector<HWND> { hMine }));
    DWORD dwProcess = 0;
    EXPECT_EQ(GetWindowThreadProcessId(hMine, &dwProcess), GetCurrentThreadId());
    EXPECT_EQ(dwProcess, GetCurrentProcessId());
}

namespace {

class FakeFinder : public CForeignWindowFinder {
public:
    HWND FindTopLevelWindow(LPCSTR lpszClass, LPCSTR) override
    {
        m_strAsked = lpszClass ? lpszClass : "";
        return m_hAnswer;
    }

    std::string m_strAsked;
    HWND m_hAnswer { reinterpret_cast<HWND>(0x1234) };
};

}

TEST_F(WindowTreeTest, FindWindowMatchesClassAndTitleAndAsksTheForeignFinderLast)
{
    HWND hFirst = CreateRecordingWindow(WS_POPUP, 0, 0, 10, 10, nullptr, 0, 0, "Catalog");
    HWND hSecond = CreateRecordingWindow(WS_POPUP, 0, 0, 10, 10, nullptr, 0, 0, "Catalog");
    HWND hChild = CreateRecordingWindow(WS_CHILD, 0, 0, 10, 10, hFirst, 4, 0, "List");
    EXPECT_EQ(FindWindow("recordingwindow", "Catalog"), hSecond); // top of the z-order first
    EXPECT_EQ(FindWindowEx(nullptr, hSecond, RECORDING_CLASS, "Catalog"), hFirst);
    EXPECT_EQ(FindWindowEx(nullptr, hSecond, nullptr, "catalog"), nullptr); // titles compare exactly
    EXPECT_EQ(FindWindowEx(hFirst, nullptr, nullptr, "List"), hChild);

    FakeFinder finder;
    EXPECT_EQ(SetForeignWindowFinder(&finder), nullptr);
    EXPECT_EQ(FindWindow("Other Instance Class", nullptr), finder.m_hAnswer);
    EXPECT_EQ(finder.m_strAsked, "Other Instance Class");
    EXPECT_EQ(FindWindow(RECORDING_CLASS, "Catalog"), hSecond);            // found here: the finder is not asked
    EXPECT_EQ(FindWindowEx(hFirst, nullptr, nullptr, "Missing"), nullptr); // only top-level searches go out
    EXPECT_EQ(SetForeignWindowFinder(nullptr), &finder);
    EXPECT_EQ(FindWindow("Other Instance Class", nullptr), nullptr);
}
