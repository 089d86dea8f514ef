#include "catalog/ChangeNotices.h"

#include "platform/base/ChangeNotify.h"
#include "platform/window/MessageQueue.h"
#include "platform/window/Window.h"
#include "platform/window/WindowClass.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <vector>

namespace {

// A hidden window standing for the monitor's; the notices posted to it are
// taken from the queue without being dispatched.
class ChangeNoticesTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        WNDCLASS wc {};
        wc.lpfnWndProc = DefWindowProc;
        wc.lpszClassName = "NoticeSink";
        RegisterClass(&wc);
        m_hWnd = CreateWindowEx(0, "NoticeSink", "", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
        ASSERT_NE(m_hWnd, nullptr);
        SetNoticeWindow(m_hWnd);
    }
    void TearDown() override
    {
        SetNoticeWindow(nullptr);
        DiscardPendingNotice();
        for (DriverNotice* pNotice : TakeNotices())
            std::free(pNotice);
        DestroyWindow(m_hWnd);
    }

    // The notices waiting in the window's queue, which the caller frees.
    std::vector<DriverNotice*> TakeNotices() const
    {
        std::vector<DriverNotice*> notices;
        MSG msg;
        while (PeekMessage(&msg, m_hWnd, WM_DRIVER_NOTICE, WM_DRIVER_NOTICE, PM_REMOVE))
            notices.push_back(reinterpret_cast<DriverNotice*>(msg.lParam));
        return notices;
    }

    HWND m_hWnd { nullptr };
};

TEST(ChangeNoticeKindsTest, ActionsMapToNoticeKinds)
{
    EXPECT_EQ(MapFileActionToNoticeKind(FILE_ACTION_ADDED), NOTICE_CREATED);
    EXPECT_EQ(MapFileActionToNoticeKind(FILE_ACTION_REMOVED), NOTICE_REMOVED);
    EXPECT_EQ(MapFileActionToNoticeKind(FILE_ACTION_MODIFIED), NOTICE_MODIFIED);
    EXPECT_EQ(MapFileActionToNoticeKind(FILE_ACTION_RENAMED_OLD_NAME), NOTICE_RENAMED);
    EXPECT_EQ(MapFileActionToNoticeKind(FILE_ACTION_RENAMED_NEW_NAME), NOTICE_RENAMED);
    EXPECT_EQ(MapFileActionToNoticeKind(0), NOTICE_UNKNOWN);
    EXPECT_EQ(MapFileActionToNoticeKind(6), NOTICE_UNKNOWN);
}

TEST(ParseDriveSpecTest, OnlyWellFormedDriveAndSharePathsPass)
{
    for (const char* pszPath : { "c:\\x", "C:\\docs\\a.txt", "\\\\srv\\share\\x", "c:\\docs\\", "t:\\a,b;c+d=e.txt" })
        EXPECT_TRUE(ParseDriveSpec(pszPath)) << pszPath;
    for (const char* pszPath : { "", "ab", "c:x", "c:\\", "1:\\abc", "c:/abc", "c:\\a\\..\\b", "c:\\.\\b", "c:\\a\\\\b",
             "\\\\\\x", "c:\\a\tb", "\\x\\y" })
        EXPECT_FALSE(ParseDriveSpec(pszPath)) << pszPath;
    EXPECT_FALSE(ParseDriveSpec(nullptr));
}

TEST_F(ChangeNoticesTest, ARenamePostsOneNoticeWithBothNames)
{
    EXPECT_EQ(DirWatchCallback(u"t:\\old.txt", FILE_ACTION_RENAMED_OLD_NAME), 1);
    EXPECT_TRUE(TakeNotices().empty());
    EXPECT_EQ(DirWatchCallback(u"t:\\new.txt", FILE_ACTION_RENAMED_NEW_NAME), 1);
    const std::vector<DriverNotice*> notices = TakeNotices();
    ASSERT_EQ(notices.size(), 1U);
    const auto* pBytes = reinterpret_cast<const char*>(notices[0]);
    EXPECT_EQ(notices[0]->dwKind, NOTICE_RENAMED);
    EXPECT_STREQ(pBytes + 8, "t:\\new.txt");
    EXPECT_STREQ(pBytes + 268, "t:\\old.txt");
    std::free(notices[0]);
}

TEST_F(ChangeNoticesTest, EachOtherActionPostsItsOwnNoticeInUtf8)
{
    DirWatchCallback(u"t:\\caf\u00e9.txt", FILE_ACTION_ADDED);
    DirWatchCallback(u"t:\\gone.txt", FILE_ACTION_REMOVED);
    DirWatchCallback(u"t:\\odd.txt", 9);
    const std::vector<DriverNotice*> notices = TakeNotices();
    ASSERT_EQ(notices.size(), 3U);
    EXPECT_EQ(notices[0]->dwKind, NOTICE_CREATED);
    EXPECT_STREQ(notices[0]->szPath, "t:\\caf\xc3\xa9.txt");
    EXPECT_STREQ(notices[0]->szSecondPath, "");
    EXPECT_EQ(notices[1]->dwKind, NOTICE_REMOVED);
    EXPECT_STREQ(notices[1]->szPath, "t:\\gone.txt");
    EXPECT_EQ(notices[2]->dwKind, NOTICE_UNKNOWN);
    for (DriverNotice* pNotice : notices)
        std::free(pNotice);
}

TEST_F(ChangeNoticesTest, APathTooLongForANoticeIsNeverPostedCut)
{
    // 259 bytes fit with the terminating zero; 260 would have to be cut.
    const std::u16string strFits = u"t:\\" + std::u16string(256, u'a');
    const std::u16string strLong = u"t:\\" + std::u16string(257, u'a');
    DirWatchCallback(strLong.c_str(), FILE_ACTION_ADDED);
    EXPECT_TRUE(TakeNotices().empty());
    // Two bytes per character: a cut could fall inside one.
    DirWatchCallback((u"t:\\" + std::u16string(130, u'\u00e9')).c_str(), FILE_ACTION_ADDED);
    EXPECT_TRUE(TakeNotices().empty());
    DirWatchCallback(strFits.c_str(), FILE_ACTION_ADDED);
    const std::vector<DriverNotice*> notices = TakeNotices();
    ASSERT_EQ(notices.size(), 1U);
    EXPECT_EQ(std::string(notices[0]->szPath).size(), 259U);
    std::free(notices[0]);
}

TEST_F(ChangeNoticesTest, WithoutAWindowTheRecordIsFreed)
{
    // Run under ASan, a record left behind is a leak.
    SetNoticeWindow(nullptr);
    DirWatchCallback(u"t:\\a.txt", FILE_ACTION_ADDED);
    DirWatchCallback(u"t:\\b.txt", FILE_ACTION_RENAMED_OLD_NAME);
    DiscardPendingNotice();
    SetNoticeWindow(m_hWnd);
    EXPECT_TRUE(TakeNotices().empty());
}

TEST_F(ChangeNoticesTest, AFolderWatchPostsItsIndex)
{
    FolderWatchCallback(5);
    MSG msg;
    ASSERT_TRUE(PeekMessage(&msg, m_hWnd, 0, 0, PM_REMOVE));
    EXPECT_EQ(msg.message, GetNotifyChangeMessage());
    EXPECT_EQ(msg.wParam, 0U);
    EXPECT_EQ(msg.lParam, 5);
}

} // namespace
