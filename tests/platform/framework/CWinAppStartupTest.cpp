#include "platform/framework/CWinApp.h"

#include "tests/support/TempFolder.h"
#include "tests/support/TestData.h"

#include "DocViewTestSupport.h"

#include "platform/base/PathMap.h"
#include "platform/base/Registry.h"
#include "platform/base/ResourceModule.h"
#include "platform/framework/AfxWinMain.h"
#include "platform/framework/CCommandLineInfo.h"

#include <cstring>

namespace {

class CWinAppStartupTest : public ProgramFolderTest {
protected:
    void SetUp() override
    {
        ProgramFolderTest::SetUp();
        HandlerLog::Take();
    }
    void TearDown() override
    {
        AfxSetArguments({});
        ProgramFolderTest::TearDown();
    }
};

// Records each ParseParam call as "text flag last".
class CRecordingCommandLine : public CCommandLineInfo {
public:
    void ParseParam(LPCTSTR pszParam, BOOL bFlag, BOOL bLast) override
    {
        m_calls.push_back(std::string(pszParam) + (bFlag ? " switch" : " text") + (bLast ? " last" : ""));
    }
    std::vector<std::string> m_calls;
};

class CRoutedApp : public CWinApp {
    DECLARE_MESSAGE_MAP()

public:
    CRoutedApp()
        : CWinApp("Routed")
    {
    }

protected:
    void OnNew()
    {
        HandlerLog::Add("application file new");
        OnFileNew();
    }
};

// clang-format off
BEGIN_MESSAGE_MAP(CRoutedApp, CWinApp)
    ON_COMMAND(ID_FILE_NEW, &CRoutedApp::OnNew)
END_MESSAGE_MAP()
// clang-format on

// Loads the program's resource module for the life of the object.
class ScopedResourceModule {
public:
    ScopedResourceModule()
        : m_hOld(AfxGetResourceHandle())
    {
        m_hModule = LoadLibrary(ProgramPathFromHostPath((BinaryRoot() / "app" / "arching.dll").string()).c_str());
        AfxSetResourceHandle(m_hModule);
    }
    ~ScopedResourceModule()
    {
        AfxSetResourceHandle(m_hOld);
        if (m_hModule)
            FreeLibrary(m_hModule);
    }
    HMODULE Get() const { return m_hModule; }

private:
    HINSTANCE m_hOld;
    HMODULE m_hModule { nullptr };
};

} // namespace

TEST_F(CWinAppStartupTest, SwitchesTakeEitherPrefixAndTheLastArgumentSaysSo)
{
    CWinApp app("Switches");
    AfxSetArguments({ "archivora", "-ds", "/DS", "C:\\file.txt", "l" });
    CRecordingCommandLine cmdInfo;
    app.ParseCommandLine(cmdInfo);
    EXPECT_EQ(
        cmdInfo.m_calls, (std::vector<std::string> { "ds switch", "DS switch", "C:\\file.txt text", "l text last" }));
    // Without arguments nothing is called and the command stays FileNew.
    AfxSetArguments({ "archivora" });
    CRecordingCommandLine empty;
    app.ParseCommandLine(empty);
    EXPECT_TRUE(empty.m_calls.empty());
    EXPECT_EQ(empty.m_nShellCommand, CCommandLineInfo::FileNew);
}

TEST_F(CWinAppStartupTest, TheBaseParserOpensAFileAndHidesTheSplashForAutomation)
{
    CWinApp app("Switches");
    AfxSetArguments({ "archivora", "/Automation", "report.odt" });
    CCommandLineInfo cmdInfo;
    app.ParseCommandLine(cmdInfo);
    EXPECT_EQ(cmdInfo.m_nShellCommand, CCommandLineInfo::FileOpen);
    EXPECT_EQ(cmdInfo.m_strFileName, "report.odt");
    EXPECT_FALSE(cmdInfo.m_bShowSplash);
}

TEST_F(CWinAppStartupTest, FileNewGoesThroughTheApplicationsMap)
{
    CRoutedApp app;
    app.AddDocTemplate(new CMultiDocTemplate(
        ID_TEST_TEMPLATE, RUNTIME_CLASS(CTestDoc), RUNTIME_CLASS(CTestFrame), RUNTIME_CLASS(CTestView)));
    auto* pMain = new CTestFrame;
    ASSERT_TRUE(pMain->Create(nullptr, "Main"));
    app.m_pMainWnd = pMain;
    HandlerLog::Take();
    CCommandLineInfo cmdInfo;
    EXPECT_TRUE(app.ProcessShellCommand(cmdInfo));
    std::vector<std::string> log = HandlerLog::Take();
    ASSERT_GE(log.size(), 2U);
    EXPECT_EQ(log[0], "application file new");
    EXPECT_EQ(log[1], "document made");
    POSITION pos = app.GetFirstDocTemplatePosition();
    CDocTemplate* pTemplate = app.GetNextDocTemplate(pos);
    ASSERT_NE(pTemplate, nullptr);
    EXPECT_NE(pTemplate->GetFirstDocPosition(), nullptr);
    // Without a main window the start fails.
    app.m_pMainWnd = nullptr;
    pMain->DestroyWindow();
    EXPECT_FALSE(app.ProcessShellCommand(cmdInfo));
    app.CloseAllDocuments(FALSE);
    EXPECT_EQ(pTemplate->GetFirstDocPosition(), nullptr);
}

TEST_F(CWinAppStartupTest, BinaryValuesRoundTripAndRefuseOtherTypes)
{
    CWinApp app("Binary");
    app.SetRegistryKey("KD");
    BYTE data[] = { 0, 1, 2, 0xFF, 0x80, 0 };
    ASSERT_TRUE(app.WriteProfileBinary("ToolBar", "State", data, sizeof(data)));
    LPBYTE pRead = nullptr;
    UINT nBytes = 0;
    ASSERT_TRUE(app.GetProfileBinary("ToolBar", "State", &pRead, &nBytes));
    ASSERT_EQ(nBytes, sizeof(data));
    EXPECT_EQ(std::memcmp(pRead, data, sizeof(data)), 0);
    delete[] pRead;
    // A number under that name is not binary; a missing value gives nothing.
    ASSERT_TRUE(app.WriteProfileInt("ToolBar", "Count", 3));
    EXPECT_FALSE(app.GetProfileBinary("ToolBar", "Count", &pRead, &nBytes));
    EXPECT_EQ(pRead, nullptr);
    EXPECT_EQ(nBytes, 0U);
    EXPECT_FALSE(app.GetProfileBinary("ToolBar", "Missing", &pRead, &nBytes));
    // An empty value is a value.
    ASSERT_TRUE(app.WriteProfileBinary("ToolBar", "Empty", data, 0));
    EXPECT_TRUE(app.GetProfileBinary("ToolBar", "Empty", &pRead, &nBytes));
    EXPECT_EQ(nBytes, 0U);
    delete[] pRead;
}

TEST_F(CWinAppStartupTest, AnUnnamedApplicationsProfileKeyIsTheProductKey)
{
    // The application object exists before the resource module is loaded, as a static one does.
    CWinApp app;
    ScopedResourceModule resources;
    ASSERT_NE(resources.Get(), nullptr);
    app.SetRegistryKey("KD");
    ASSERT_TRUE(app.WriteProfileString("lastfind", "Text", "invoice"));
    HKEY hKey = nullptr;
    ASSERT_EQ(
        RegOpenKeyEx(HKEY_CURRENT_USER, "SOFTWARE\\KD\\Archivora Plus\\lastfind", 0, KEY_READ, &hKey), ERROR_SUCCESS);
    RegCloseKey(hKey);
    EXPECT_STREQ(app.GetAppName(), "Archivora Plus");
}
