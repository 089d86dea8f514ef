#include "tests/ui/PopupTestSupport.h"

#include "platform/window/Clipboard.h"
#include "store/CPreferences.h"

BOOL CRecordingMainWnd::CreateMain()
{
    return CreateEx(0, AfxRegisterWndClass(0), "Main", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr);
}

int CRecordingMainWnd::Count(const char* pszMessage) const
{
    auto it = m_counts.find(RegisterWindowMessage(pszMessage));
    return it == m_counts.end() ? 0 : it->second;
}

LRESULT CRecordingMainWnd::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message >= 0xC000 && message <= 0xFFFF) {
        ++m_counts[message];
        m_lastWParam = wParam;
        m_lastLParam = lParam;
    }
    return CWnd::WindowProc(message, wParam, lParam);
}

void PopupCatalogTest::SetUp()
{
    UiCatalogTest::SetUp();
    m_pRecycle = NewMainCatalog("lixeira.cat", TRUE);
    m_pHost = std::make_unique<CRecordingUiHost>();
    m_pHost->m_pMainCatalog = m_pCatalog.get();
    m_pHost->m_pRecycleCatalog = m_pRecycle.get();
    thePreferences.m_nClipboardFormat = RegisterClipboardFormat(CPreferences::CLIPBOARD_FORMAT_NAME);
    ASSERT_TRUE(m_main.CreateMain());
    AfxSetThread(&m_thread);
    m_thread.m_pMainWnd = &m_main;
}

void PopupCatalogTest::TearDown()
{
    m_thread.m_pMainWnd = nullptr;
    AfxSetThread(nullptr);
    m_main.DestroyWindow();
    m_pHost.reset();
    m_pRecycle.reset();
    UiCatalogTest::TearDown();
}
