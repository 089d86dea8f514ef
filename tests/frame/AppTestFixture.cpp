#include "tests/frame/AppTestFixture.h"

#include "frame/AppMessages.h"

#include "platform/base/PathMap.h"
#include "platform/framework/AfxWinMain.h"
#include "tests/support/TestData.h"

#include <cstdlib>

void AppTest::SetUp()
{
    ProgramFolderTest::SetUp();
    // The resource module as the build made it, and the instance's names in a folder of this test.
    setenv("ARCHIVORA_MODULE_PATH", (BinaryRoot() / "app").c_str(), 1);
    m_runtime = std::make_unique<TempFolder>();
    setenv("XDG_RUNTIME_DIR", m_runtime->Path().c_str(), 1);
    RegisterAppMessages();
}

void AppTest::TearDown()
{
    Stop();
    AfxSetArguments({});
    m_runtime.reset();
    ProgramFolderTest::TearDown();
}

BOOL AppTest::Start(std::vector<CString> arguments)
{
    arguments.insert(arguments.begin(), "archivora");
    AfxSetArguments(std::move(arguments));
    m_pApp = std::make_unique<CArchivoraApp>();
    const BOOL bStarted = m_pApp->InitInstance();
    m_driver.Pump();
    return bStarted;
}

void AppTest::Stop()
{
    if (!m_pApp)
        return;
    if (m_pApp->m_pMainWnd && m_pApp->m_pMainWnd->GetSafeHwnd())
        m_pApp->m_pMainWnd->DestroyWindow();
    m_driver.Pump();
    m_pApp->ExitInstance();
    m_pApp.reset();
}

CSplitterFrame* AppTest::ActiveView() const
{
    CMainFrame* pMainFrame = MainFrame();
    return pMainFrame ? pMainFrame->GetActiveCatalogFrame() : nullptr;
}

CString AppTest::ProgramPath(const char* pszName) const
{
    return ProgramPathFromHostPath((Home() / pszName).string()).c_str();
}
