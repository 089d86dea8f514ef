#include "tests/ui/PopupTestSupport.h"

#include "platform/window/Clipboard.h"
#include "store/CDocumentRec.h"
#include "store/CNodeRec.h"
#include "store/CPreferences.h"

BOOL CRecordingUiHost::OpenItem(CDocumentRec& document, LPCTSTR pszProgram)
{
    Record("OpenItem", document);
    if (pszProgram && *pszProgram)
        m_calls.back() += std::string(" with ") + pszProgram;
    return TRUE;
}

int CRecordingUiHost::RunNewFolder(LPCTSTR pszParentPath)
{
    m_calls.emplace_back(std::string("RunNewFolder ") + pszParentPath);
    return m_nAnswer;
}

int CRecordingUiHost::Record(const char* pszCall, CDocumentRec& document)
{
    CString strName;
    document.GetFullPath(strName);
    m_calls.emplace_back(
        std::string(pszCall) + " " + std::string(document.GetDirectoryPath(FALSE)) + std::string(strName));
    return m_nAnswer;
}

int CRecordingUiHost::Record(const char* pszCall, CNodeRec& node)
{
    m_calls.emplace_back(std::string(pszCall) + " " + std::string(node.GetName()));
    return m_nAnswer;
}

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
    m_host.m_pMain = m_pCatalog.get();
    m_host.m_pRecycle = m_pRecycle.get();
    m_pPreviousHost = InstallUiHostServices(&m_host);
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
    InstallUiHostServices(m_pPreviousHost);
    m_pRecycle.reset();
    UiCatalogTest::TearDown();
}
