#pragma once

// What the popup tests share: a recording host of the interface kit, a main
// window that counts the registered messages the popups post to it, and a
// fixture over the sample catalog with both installed.

#include "platform/framework/CWinThread.h"
#include "platform/window/WindowClass.h"
#include "tests/ui/RecordingUiHost.h"
#include "tests/ui/UiCatalogTest.h"

#include <map>
#include <memory>
#include <string>

// A top-level window, made the thread's main window, that counts the
// registered messages it gets by name and keeps the last one's parameters.
class CRecordingMainWnd : public CWnd {
public:
    BOOL CreateMain();
    int Count(const char* pszMessage) const;

    WPARAM m_lastWParam { 0 };
    LPARAM m_lastLParam { 0 };

protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    std::map<UINT, int> m_counts;
};

// The sample catalog, an empty recycle-bin catalog, the recording host and main window.
class PopupCatalogTest : public UiCatalogTest {
protected:
    void SetUp() override;
    void TearDown() override;

    CTestDriver& Driver() { return m_pUi->m_driver; }

    std::unique_ptr<CCatalog> m_pRecycle;
    std::unique_ptr<CRecordingUiHost> m_pHost;
    CRecordingMainWnd m_main;
    CWinThread m_thread;
};
