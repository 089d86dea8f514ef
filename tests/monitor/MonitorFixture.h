#pragma once

// A started new-document monitor on the catalog tests' drive T:, with the
// folder "t:\\private" never offered and the sound off; notices are posted to
// its window as the watcher posts them, and the virtual clock drives its timer.

#include "monitor/CNewDocMonitor.h"

#include "catalog/CPendingDocs.h"
#include "catalog/ChangeNotices.h"
#include "resources/ResourceIds.h"
#include "store/CPreferences.h"
#include "tests/catalog/CatalogDriveFixture.h"

#include "platform/framework/CWinThread.h"
#include "platform/testing/TestDriver.h"
#include "platform/window/MessageQueue.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <optional>
#include <string>
#include <vector>

class MonitorTest : public CatalogDriveTest {
protected:
    void SetUp() override
    {
        CatalogDriveTest::SetUp();
        ASSERT_TRUE(m_pCatalog->SetPlaceChoice(CCatalog::PLACE_LOCAL_DISK));
        AfxSetThread(&m_thread);
        m_savedDsDir.Copy(thePreferences.m_dsDir);
        thePreferences.m_dsDir.RemoveAll();
        thePreferences.m_dsDir.Add("t:\\private");
        m_bSavedPlaySound = thePreferences.m_bDSPlaySound;
        thePreferences.m_bDSPlaySound = FALSE;
        m_nSavedAuto = thePreferences.m_nDSAutoCataloguing;
        thePreferences.m_nDSAutoCataloguing = 0;
        m_bSavedList = thePreferences.m_bDSList;
        thePreferences.m_bDSList = TRUE;
        m_pPending = std::make_unique<CPendingDocs>(m_pCatalog.get());
        m_pMonitor = std::make_unique<CNewDocMonitor>(m_pCatalog.get(), m_pPending.get());
        ASSERT_TRUE(m_pMonitor->Start());
    }
    void TearDown() override
    {
        m_pMonitor.reset();
        m_pPending.reset();
        thePreferences.ReleaseDefaultSystem();
        thePreferences.m_pCurrentNode.reset();
        thePreferences.m_dsDir.Copy(m_savedDsDir);
        thePreferences.m_bDSPlaySound = m_bSavedPlaySound;
        thePreferences.m_nDSAutoCataloguing = m_nSavedAuto;
        thePreferences.m_bDSList = m_bSavedList;
        AfxSetThread(nullptr);
        CatalogDriveTest::TearDown();
    }

    // Posts a notice record to the monitor's window, as the watcher does, and pumps.
    void Post(DWORD dwKind, const std::string& strPath, const std::string& strOldPath = {})
    {
        auto* pNotice = static_cast<DriverNotice*>(std::calloc(1, sizeof(DriverNotice)));
        pNotice->dwKind = dwKind;
        std::strncpy(pNotice->szPath, strPath.c_str(), NOTICE_PATH_SIZE - 1);
        std::strncpy(pNotice->szSecondPath, strOldPath.c_str(), NOTICE_PATH_SIZE - 1);
        ASSERT_TRUE(PostMessage(GetNoticeWindow(), WM_DRIVER_NOTICE, 0, reinterpret_cast<LPARAM>(pNotice)));
        m_driver.Pump();
    }
    // The queued paths, oldest first.
    std::vector<std::string> Queued() const
    {
        std::vector<std::string> paths;
        for (const CNewDocNotice& notice : m_pMonitor->GetNotices())
            paths.emplace_back(LPCTSTR(notice.GetPath()));
        return paths;
    }
    // The monitor's icon in the tray once it is shown.
    std::optional<CTrayIcon> ShownIcon() const
    {
        m_pMonitor->ShowIcon();
        for (const CTrayIcon& icon : CTestDriver::TrayIcons())
            if (icon.hWnd == m_pMonitor->GetSafeHwnd() && icon.uID == IDR_DOC_MONITOR)
                return icon;
        return std::nullopt;
    }
    void Drain() { m_driver.Advance(CNewDocMonitor::DRAIN_DELAY_MS); }

    CTestDriver m_driver;
    CWinThread m_thread;
    std::unique_ptr<CPendingDocs> m_pPending;
    std::unique_ptr<CNewDocMonitor> m_pMonitor;
    CStringArray m_savedDsDir;
    BOOL m_bSavedPlaySound { FALSE };
    int m_nSavedAuto { 0 };
    BOOL m_bSavedList { TRUE };
};
