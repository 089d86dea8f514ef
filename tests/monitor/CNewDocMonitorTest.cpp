#include "monitor/CNewDocMonitor.h"

#include "catalog/ChangeNotices.h"
#include "monitor/MonitorPause.h"
#include "resources/ResourceIds.h"
#include "store/CDocumentRec.h"
#include "store/CPreferences.h"
#include "tests/monitor/MonitorFixture.h"
#include "tests/platform/shell/LnkBuilder.h"

#include "platform/base/Com.h"
#include "platform/base/TextFunctions.h"
#include "platform/framework/CWinThread.h"
#include "platform/shell/ShellLink.h"
#include "platform/shell/Sound.h"
#include "platform/testing/TestDriver.h"
#include "platform/window/MessageBox.h"
#include "platform/window/MessageQueue.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <optional>

namespace {

namespace fs = std::filesystem;

using CNewDocMonitorTest = MonitorTest;

TEST_F(CNewDocMonitorTest, StartsHiddenAndDisabledAndStopsEveryPart)
{
    EXPECT_TRUE(m_pMonitor->IsStarted());
    EXPECT_FALSE(m_pMonitor->IsMonitorEnabled());
    EXPECT_EQ(GetNoticeWindow(), m_pMonitor->GetSafeHwnd());
    EXPECT_TRUE(CTestDriver::TrayIcons().empty()) << "the icon is created hidden";
    const std::optional<CTrayIcon> icon = ShownIcon();
    ASSERT_TRUE(icon);
    EXPECT_EQ(icon->strTip, "Archivora: no new documents");
    EXPECT_EQ(icon->uCallbackMessage, GetMonitorTrayMessage());

    EXPECT_TRUE(m_pMonitor->EnableMonitor(TRUE));
    EXPECT_TRUE(m_pMonitor->EnableMonitor(TRUE)) << "already on";
    EXPECT_TRUE(m_pMonitor->IsMonitorEnabled());

    m_pMonitor->Stop();
    EXPECT_FALSE(m_pMonitor->IsStarted());
    EXPECT_EQ(GetNoticeWindow(), nullptr) << "the watchers must not post to a destroyed window";
    EXPECT_TRUE(CTestDriver::TrayIcons().empty());
    EXPECT_FALSE(m_pMonitor->EnableMonitor(TRUE));
    m_pMonitor->Stop();
    EXPECT_TRUE(m_pMonitor->Start()) << "a stopped monitor starts again";
}

TEST_F(CNewDocMonitorTest, ACatalogWithoutFoldersStartsForItsMailAndIcon)
{
    m_pMonitor.reset();
    ASSERT_TRUE(m_pCatalog->SetPlaceChoice(CCatalog::PLACE_NONE));
    CNewDocMonitor monitor;
    EXPECT_FALSE(monitor.Start()) << "no catalog yet";
    monitor.AttachCatalog(m_pCatalog.get(), nullptr);
    ASSERT_TRUE(monitor.Start());
    EXPECT_TRUE(monitor.EnableMonitor(TRUE));
    {
        CMonitorPause pause(&monitor);
        EXPECT_FALSE(monitor.IsMonitorEnabled()) << "the program's own file work is not offered";
    }
    EXPECT_TRUE(monitor.IsMonitorEnabled());
    ASSERT_TRUE(monitor.EnableMonitor(FALSE));
    {
        CMonitorPause pause(&monitor);
    }
    EXPECT_FALSE(monitor.IsMonitorEnabled()) << "a pause never switches on what was off";
}

TEST_F(CNewDocMonitorTest, ABurstIsExaminedOnceAfterItsLastNotice)
{
    ShownIcon();
    const std::string strA = WriteOnT("docs/a.txt", "alpha");
    const std::string strB = WriteOnT("docs/b.md", "beta");
    Post(NOTICE_CREATED, strA);
    Post(NOTICE_CREATED, strB);
    Post(NOTICE_CREATED, strA);
    EXPECT_EQ(Queued(), (std::vector<std::string> { strA, strB })) << "a path is queued once";
    m_driver.Advance(2000);
    const std::string strC = WriteOnT("docs/c.odt", "gamma");
    Post(NOTICE_CREATED, strC);
    m_driver.Advance(CNewDocMonitor::DRAIN_DELAY_MS - 1);
    EXPECT_EQ(m_pMonitor->GetAnnouncedCount(), 0) << "each notice restarts the delay";
    m_driver.Advance(1);
    EXPECT_EQ(m_pMonitor->GetAnnouncedCount(), 3);
    EXPECT_EQ(ShownIcon()->strTip, "Archivora: 3 new documents");

    // One document's tip, and back to none.
    m_pMonitor->ClearNotices();
    EXPECT_EQ(ShownIcon()->strTip, "Archivora: no new documents");
    Post(NOTICE_CREATED, strB);
    Drain();
    EXPECT_EQ(ShownIcon()->strTip, "Archivora: 1 new document");
}

TEST_F(CNewDocMonitorTest, NoticesTheCatalogWouldNotTakeAreDropped)
{
    const std::string strCatalogued = WriteOnT("docs/known.txt", "k");
    ASSERT_TRUE(AddDocument(*m_pCatalog, Group("Filed", 0).get(), "t:\\docs\\known.txt"));
    const std::vector<std::string> paths = {
        WriteOnT("docs/tool.exe", "x"),     // not a catalogued type
        WriteOnT("RECYCLED/dt1.txt", "x"),  // the recycle folder
        WriteOnT("private/diary.txt", "x"), // a folder never offered
        strCatalogued,                      // catalogued already
        "t:\\docs\\..\\escape.txt",         // not a plain path
        "docs\\relative.txt",               // not a drive path
    };
    for (const std::string& strPath : paths)
        Post(NOTICE_CREATED, strPath);
    Post(NOTICE_REMOVED, WriteOnT("docs/removed.txt", "x"));
    Post(NOTICE_MODIFIED, WriteOnT("docs/written.txt", "x"));
    EXPECT_TRUE(Queued().empty());
    Drain();
    EXPECT_EQ(m_pMonitor->GetAnnouncedCount(), 0);
}

TEST_F(CNewDocMonitorTest, ARenamedDocumentIsNewOnlyWhenItsOldNameIsNotCatalogued)
{
    const std::string strMoved = WriteOnT("docs/moved.txt", "m");
    ASSERT_TRUE(AddDocument(*m_pCatalog, Group("Filed", 0).get(), "t:\\docs\\before.txt"));
    Post(NOTICE_RENAMED, strMoved, OnT("docs/before.txt"));
    EXPECT_TRUE(Queued().empty()) << "the catalogued document was only renamed";

    const std::string strFresh = WriteOnT("docs/fresh.txt", "f");
    Post(NOTICE_RENAMED, strFresh, OnT("docs/fresh.tmp"));
    EXPECT_EQ(Queued(), (std::vector<std::string> { strFresh }));
    Post(NOTICE_RENAMED, OnT("docs/again.txt"), OnT("RECYCLED/dt2.txt"));
    EXPECT_EQ(Queued().size(), 1U) << "a file restored from the recycle folder is not new";
}

TEST_F(CNewDocMonitorTest, VanishedFilesLeaveTheQueueAndComeBackWhenMadeAgain)
{
    const std::string strGone = WriteOnT("docs/gone.txt", "g");
    const std::string strKept = WriteOnT("docs/kept.txt", "k");
    const std::string strBack = WriteOnT("docs/back.txt", "b");
    Post(NOTICE_CREATED, strGone);
    fs::remove(HostOnT("docs/gone.txt"));
    Drain();
    EXPECT_TRUE(Queued().empty()) << "a file gone before it was announced is dropped";
    EXPECT_TRUE(m_pMonitor->GetVanished().empty());

    Post(NOTICE_CREATED, strBack);
    Post(NOTICE_CREATED, strKept);
    Drain();
    ASSERT_EQ(m_pMonitor->GetAnnouncedCount(), 2);
    fs::remove(HostOnT("docs/back.txt"));
    EXPECT_TRUE(m_pMonitor->SkipVanishedNotices());
    EXPECT_EQ(Queued(), (std::vector<std::string> { strKept }));
    ASSERT_EQ(m_pMonitor->GetVanished().size(), 1U);
    EXPECT_EQ(m_pMonitor->GetAnnouncedCount(), 1);

    // Made again: back at the end of the announced part, not a new notice.
    WriteOnT("docs/back.txt", "b2");
    Post(NOTICE_CREATED, strBack);
    EXPECT_EQ(Queued(), (std::vector<std::string> { strKept, strBack }));
    EXPECT_EQ(m_pMonitor->GetAnnouncedCount(), 2);
    EXPECT_TRUE(m_pMonitor->GetVanished().empty());

    fs::remove(HostOnT("docs/kept.txt"));
    fs::remove(HostOnT("docs/back.txt"));
    EXPECT_FALSE(m_pMonitor->SkipVanishedNotices());
    EXPECT_EQ(m_pMonitor->GetVanished().size(), 2U);
    EXPECT_EQ(ShownIcon()->strTip, "Archivora: 2 new documents") << "vanished documents still count";
}

TEST_F(CNewDocMonitorTest, AShortcutIsReplacedByItsTargetWhenTheTargetIsNew)
{
    RegisterComClass(CLSID_ShellLink, CreateShellLink);
    const std::string strTarget = WriteOnT("docs/target.txt", "t");
    WriteOnT("docs/known.txt", "k");
    ASSERT_TRUE(AddDocument(*m_pCatalog, Group("Filed", 0).get(), "t:\\docs\\known.txt"));
    const auto writeLink = [&](const char* pszName, const char* pszTargetName) {
        const std::vector<BYTE> bytes = LnkBuilder().LocalPath("t:\\docs\\", pszTargetName).Build();
        return WriteOnT(std::string("links/") + pszName, std::string(bytes.begin(), bytes.end()));
    };
    Post(NOTICE_CREATED, writeLink("new.lnk", "target.txt"));
    Post(NOTICE_CREATED, writeLink("known.lnk", "known.txt"));
    Post(NOTICE_CREATED, writeLink("missing.lnk", "missing.txt"));
    Post(NOTICE_CREATED, WriteOnT("links/damaged.lnk", "not a shortcut"));
    EXPECT_EQ(Queued().size(), 4U) << "shortcuts are resolved when the burst is examined";
    Drain();
    EXPECT_EQ(Queued(), (std::vector<std::string> { strTarget }));
    EXPECT_EQ(m_pMonitor->GetAnnouncedCount(), 1);
}

TEST_F(CNewDocMonitorTest, ACatalogChangeDropsWhatItCataloguedAndRereadsTheRules)
{
    const std::string strFiled = WriteOnT("docs/filed.txt", "f");
    const std::string strOpen = WriteOnT("docs/open.txt", "o");
    const std::string strLost = WriteOnT("docs/lost.txt", "l");
    for (const std::string& strPath : { strLost, strFiled, strOpen })
        Post(NOTICE_CREATED, strPath);
    Drain();
    fs::remove(HostOnT("docs/lost.txt"));
    fs::remove(HostOnT("docs/filed.txt"));
    EXPECT_TRUE(m_pMonitor->SkipVanishedNotices());
    ASSERT_EQ(m_pMonitor->GetVanished().size(), 2U);
    WriteOnT("docs/filed.txt", "f");
    Post(NOTICE_CREATED, strFiled);
    ASSERT_EQ(Queued(), (std::vector<std::string> { strOpen, strFiled }));

    // Catalogued elsewhere (the main window): one queued and one vanished notice leave.
    ASSERT_TRUE(AddDocument(*m_pCatalog, Group("Filed", 0).get(), "t:\\docs\\filed.txt"));
    ASSERT_TRUE(AddDocument(*m_pCatalog, Group("Lost", 0).get(), "t:\\docs\\lost.txt"));
    thePreferences.m_dsDir.Add("t:\\drafts");
    m_pMonitor->OnCatalogChanged();
    EXPECT_EQ(Queued(), (std::vector<std::string> { strOpen }));
    EXPECT_TRUE(m_pMonitor->GetVanished().empty());
    EXPECT_EQ(m_pMonitor->GetAnnouncedCount(), 1);
    EXPECT_EQ(ShownIcon()->strTip, "Archivora: 1 new document");

    Post(NOTICE_CREATED, WriteOnT("drafts/note.txt", "n"));
    EXPECT_EQ(Queued().size(), 1U) << "a folder ruled out since the rules were first read";
}

TEST_F(CNewDocMonitorTest, NewDocumentsPlayTheSoundOnceABurstAndBlinkTheIcon)
{
    thePreferences.m_bDSPlaySound = TRUE;
    CSoundRecorder sounds;
    ShownIcon();
    Post(NOTICE_CREATED, WriteOnT("docs/a.txt", "a"));
    Post(NOTICE_CREATED, WriteOnT("docs/b.txt", "b"));
    Drain();
    ASSERT_EQ(sounds.GetPlayed().size(), 1U);
    EXPECT_TRUE(sounds.GetPlayed()[0].strHostPath.ends_with("newdoc.wav"));
    EXPECT_EQ(sounds.GetPlayed()[0].fuSound, SND_ASYNC);
    const HICON hFirst = ShownIcon()->hIcon;
    m_driver.Advance(CNewDocMonitor::ANIMATION_STEP_MS);
    EXPECT_NE(ShownIcon()->hIcon, hFirst) << "the icon blinks while documents wait";

    Drain();
    EXPECT_EQ(sounds.GetPlayed().size(), 1U) << "a drain with nothing new is silent";
    sounds.FailSounds();
    const ULONG nBeeps = GetMessageBeepCount();
    Post(NOTICE_CREATED, WriteOnT("docs/c.txt", "c"));
    Drain();
    EXPECT_EQ(GetMessageBeepCount(), nBeeps + 1) << "without a sound device the monitor beeps";
}

TEST_F(CNewDocMonitorTest, FilesMadeOnAWatchedDriveReachTheQueueThroughTheWatcher)
{
    ASSERT_TRUE(m_pMonitor->EnableMonitor(TRUE));
    const std::string strPath = WriteOnT("docs/watched.txt", "w");
    EXPECT_TRUE(m_driver.PumpUntil([&] { return !Queued().empty(); }));
    Drain();
    ASSERT_EQ(Queued().size(), 1U);
    EXPECT_EQ(Utf8ToLower(Queued()[0]), strPath) << "the drive letter comes as the watcher writes it";
    EXPECT_EQ(m_pMonitor->GetAnnouncedCount(), 1);

    // Switched off, the monitor hears nothing.
    ASSERT_TRUE(m_pMonitor->EnableMonitor(FALSE));
    WriteOnT("docs/unheard.txt", "u");
    m_driver.PumpUntil([] { return false; }, 500);
    EXPECT_EQ(Queued().size(), 1U);
}

} // namespace
