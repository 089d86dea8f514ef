#include "tests/frame/AppTestFixture.h"

#include "catalog/CTextSearch.h"
#include "frame/AppGlobals.h"
#include "frame/AppMessages.h"
#include "frame/CArqListView.h"
#include "frame/FindSettings.h"
#include "resources/ResourceIds.h"
#include "store/CCatalog.h"
#include "store/CDocumentRec.h"
#include "store/CNodeRec.h"
#include "store/CRegistryKey.h"

#include "platform/base/PathMap.h"
#include "platform/base/TextFunctions.h"
#include "platform/framework/AfxWinMain.h"
#include "platform/window/MessageBox.h"
#include "platform/window/Window.h"
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
    InstallFramePrompts(&m_prompts);
}

void AppTest::TearDown()
{
    Stop();
    InstallFramePrompts(nullptr);
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
    // The run is over: what it left in the queue (its quit message above all)
    // would otherwise end the next run's loop, or a forked process's, at once.
    MSG msg {};
    while (PeekMessage(&msg, nullptr, 0, 0, PM_REMOVE)) { }
}

CSplitterFrame* AppTest::ActiveView() const
{
    CMainFrame* pMainFrame = MainFrame();
    return pMainFrame ? pMainFrame->GetActiveCatalogFrame() : nullptr;
}

CArqListViewCtrl& AppTest::List()
{
    return ActiveView()->GetListView()->GetListCtrl();
}

std::unique_ptr<CNodeRec> AppTest::System(const char* pszName)
{
    std::unique_ptr<CNodeRec> pRoot(CNodeRec::NewRootNodeRec(App().GetMainCatalog()));
    return std::unique_ptr<CNodeRec>(pRoot ? pRoot->FindChildByName(pszName) : nullptr);
}

std::string AppTest::DocPath(const char* pszName) const
{
    return ProgramPathFromHostPath((Home() / "docs" / pszName).string());
}

std::vector<CSplitterFrame*> AppTest::Views() const
{
    std::vector<CSplitterFrame*> views;
    CMainFrame* pMainFrame = MainFrame();
    if (!pMainFrame)
        return views;
    for (HWND hChild = GetWindow(pMainFrame->m_hWndMDIClient, GW_CHILD); hChild;
         hChild = GetWindow(hChild, GW_HWNDNEXT)) {
        if (auto* pView = dynamic_cast<CSplitterFrame*>(CWnd::FromHandlePermanent(hChild)))
            views.push_back(pView);
    }
    return views;
}

void AppTest::Command(UINT nID)
{
    if (CMainFrame* pMainFrame = MainFrame())
        pMainFrame->SendMessage(WM_COMMAND, nID, 0);
    m_driver.Pump();
}

void AppTest::WriteCatalog(const std::function<void(CCatalog&, CNodeRec& root)>& fill)
{
    ASSERT_TRUE(CCatalog::CreateFile(TRUE, ProgramPath("winrec.cat"), BLOCK_SIZE));
    ASSERT_TRUE(CCatalog::CreateFile(FALSE, ProgramPath("archiv.cat"), BLOCK_SIZE));
    CCatalog catalog(ProgramPath("archiv.cat"), 1);
    ASSERT_TRUE(catalog.IsOpen());
    std::unique_ptr<CNodeRec> pRoot(CNodeRec::NewRootNodeRec(&catalog));
    ASSERT_NE(pRoot, nullptr);
    CNodeInfo info {};
    pRoot->GetInfo(&info);
    info.nFlags &= ~CNodeRec::ROOT_NOT_SET_UP;
    ASSERT_TRUE(pRoot->UpdateInfo(info));
    if (fill)
        fill(catalog, *pRoot);
}

std::unique_ptr<CNodeRec> AppTest::AddSystem(CNodeRec& parent, const char* pszName)
{
    CNodeInfo info {};
    MakeDefaultNames(&info);
    Utf8CopyToField(info.szName, sizeof(info.szName), pszName, FieldEnd::NulTerminated);
    info.nKind = 2;
    std::unique_ptr<CNodeRec> pNode(parent.FindOrAddChild(info));
    EXPECT_NE(pNode, nullptr) << pszName;
    return pNode;
}

CRecordRef AppTest::AddDocument(CCatalog& catalog, CNodeRec& node, const char* pszPath)
{
    std::unique_ptr<CDocumentRec> pDocument(catalog.FindOrAddPath(&node, pszPath));
    EXPECT_NE(pDocument, nullptr) << pszPath;
    return pDocument ? pDocument->GetRef() : CRecordRef {};
}

std::optional<DWORD> AppTest::ProductValue(LPCTSTR pszKey, LPCTSTR pszName)
{
    CRegistryKey key;
    DWORD dwValue = 0;
    if (!key.Open(HKEY_CURRENT_USER, CString(PRODUCT_KEY_PATH) + "\\" + pszKey, KEY_READ)
        || !key.GetDWORD(pszName, dwValue, 0))
        return std::nullopt;
    return dwValue;
}

void AppTest::SetProductValue(LPCTSTR pszKey, LPCTSTR pszName, DWORD dwValue)
{
    CRegistryKey key;
    ASSERT_TRUE(key.Create(HKEY_CURRENT_USER, CString(PRODUCT_KEY_PATH) + "\\" + pszKey));
    ASSERT_TRUE(key.SetDWORD(pszName, dwValue));
}

CString AppTest::ProgramPath(const char* pszName) const
{
    return ProgramPathFromHostPath((Home() / pszName).string()).c_str();
}

void AppTest::SetLastFind(const char* pszText, int nScope, BOOL bRecycle)
{
    CFindRecord search;
    search.history.Add(pszText);
    search.nType = FIND_TYPE_PHRASE;
    search.nField = CTextSearch::FIELD_NAME;
    search.nScope = nScope;
    search.bRecycle = bRecycle;
    search.bOpenFindBar = FALSE;
    CFindSettings& settings = App().GetFindSettings();
    settings.UpdateFind(search, -1, -1, App().GetMainCatalog());
    settings.UpdateLastFind(search, -1, -1, App().GetMainCatalog());
    settings.ApplySearchCriteria();
}

void AppTest::ReadNextMessageBox(CShownMessage* pShown)
{
    m_driver.OnNextDialog([pShown](HWND hBox) {
        pShown->strCaption = CTestDriver::Text(hBox);
        pShown->strText = CTestDriver::Text(::GetDlgItem(hBox, MESSAGEBOX_TEXT_ID));
        ::EndDialog(hBox, IDOK);
    });
}

void AppTest::ChooseFindIntoResultsWindow(const char* pszText, int nField)
{
    CFindRecord search;
    search.history.Add(pszText);
    search.nType = FIND_TYPE_PHRASE;
    search.nField = nField;
    search.bResultList = TRUE;
    search.bOpenFindBar = FALSE;
    App().GetFindSettings().UpdateFind(search, -1, -1, App().GetMainCatalog());
}

void AppTest::FindIntoResultsWindow(const char* pszText, int nField)
{
    ChooseFindIntoResultsWindow(pszText, nField);
    m_prompts.m_nFindFilesHostAnswer = IDOK;
    Command(ID_CATALOG_FIND);
}
