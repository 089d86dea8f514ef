// A first start whose set-up cataloguing is cut short by a crash: the program
// is killed while it catalogues the chosen folder, after some of its work was
// committed. The next start runs the wizard again; finished with the same
// folder, it takes up what is there instead of building it a second time.

#include "tests/app/FirstStartFixture.h"

#include "platform/base/ProgramFolder.h"
#include "platform/window/Input.h"

#include <csignal>
#include <memory>
#include <string>

#include <sys/wait.h>
#include <unistd.h>

class SetupResumeTest : public FirstStartTest {
protected:
    static constexpr int FOLDERS = 4;
    static constexpr int FILES = 3;

    void SetUp() override
    {
        FirstStartTest::SetUp();
        WriteFile("docs/top.txt");
        for (int nFolder = 1; nFolder <= FOLDERS; ++nFolder) {
            for (int nFile = 1; nFile <= FILES; ++nFile)
                WriteFile("docs/f" + std::to_string(nFolder) + "/" + std::to_string(nFile) + ".txt");
        }
    }

    // The wizard answered with Text Document and folder mode, "docs" checked,
    // then the types offer declined. A start after a crash may first offer a
    // restore from a backup (when the catalogs' check finds fault): declined.
    void AnswerWizardWithDocs()
    {
        auto pScript = std::make_shared<CDialogScript>();
        ChooseTextDocuments(*pScript).Check(IDC_SETUP_FOLDER_MODE).Press(ID_WIZNEXT);
        TickFirstFolder(*pScript);
        pScript->Press(ID_WIZNEXT).Press(ID_WIZFINISH);
        auto pAnswered = std::make_shared<bool>(false);
        const auto answer = [this, pScript, pAnswered](HWND hDlg) {
            if (*pAnswered || CTestDriver::FindChild(hDlg, ID_WIZNEXT) == nullptr) {
                ::EndDialog(hDlg, IDCANCEL);
                return;
            }
            *pAnswered = true;
            const CString strError = pScript->Run(m_driver, hDlg);
            EXPECT_TRUE(strError.IsEmpty()) << static_cast<LPCTSTR>(strError);
        };
        // The recovery offer or the wizard; the wizard or the types offer; the types offer.
        for (int n = 0; n < 3; ++n)
            m_driver.OnNextDialog(answer);
    }

    // Runs a first start in a child process that is killed as its cataloguing
    // reaches pszFolder; the wait status.
    int StartAndCrashAt(const char* pszFolder)
    {
        const pid_t pid = fork();
        if (pid == 0) {
            s_pszCrashFolder = pszFolder;
            s_pTest = this;
            AnswerWizardWithDocs();
            HHOOK hHook = SetWindowsHookEx(WH_CALLWNDPROC, CrashOnFolder, nullptr, 0);
            static_cast<void>(Start());
            UnhookWindowsHookEx(hHook);
            _exit(3); // the crash did not come
        }
        int nStatus = 0;
        waitpid(pid, &nStatus, 0);
        return nStatus;
    }

    // As the update shows the crash folder: what was done before it is
    // committed, as a batch due then would be, and the process dies at once.
    static LRESULT CALLBACK CrashOnFolder(int nCode, WPARAM wParam, LPARAM lParam)
    {
        const auto* pCall = reinterpret_cast<const CWPSTRUCT*>(lParam);
        CCatalog* pCatalog = s_pTest->m_pApp ? s_pTest->App().GetMainCatalog() : nullptr;
        if (pCall->message == WM_SETTEXT && pCall->lParam != 0 && pCatalog != nullptr
            && std::string(reinterpret_cast<LPCTSTR>(pCall->lParam)).find(s_pszCrashFolder) != std::string::npos) {
            static_cast<void>(pCatalog->Commit());
            raise(SIGKILL);
        }
        return CallNextHookEx(nullptr, nCode, wParam, lParam);
    }
    static inline SetupResumeTest* s_pTest = nullptr;
    static inline const char* s_pszCrashFolder = nullptr;

    // The catalog's path as the program names it: in the module's folder,
    // which is the current one when drive C: leaves it no program path.
    static CString CatalogPath()
    {
        TCHAR szModule[MAX_PATH] {};
        GetModuleFileName(nullptr, szModule, MAX_PATH);
        const CString strModule(szModule);
        return strModule.Left(strModule.ReverseFind('\\') + 1) + "archiv.cat";
    }

    static std::vector<std::string> AllFiles()
    {
        std::vector<std::string> paths { "C:\\docs\\top.txt" };
        for (int nFolder = 1; nFolder <= FOLDERS; ++nFolder) {
            for (int nFile = 1; nFile <= FILES; ++nFile)
                paths.push_back("C:\\docs\\f" + std::to_string(nFolder) + "\\" + std::to_string(nFile) + ".txt");
        }
        return paths;
    }
};

TEST_F(SetupResumeTest, ACrashDuringTheFirstCataloguingIsTakenUpByTheNextSetUpWithTheSameFolder)
{
    const int nStatus = StartAndCrashAt("\\f3\\");
    ASSERT_TRUE(WIFSIGNALED(nStatus) && WTERMSIG(nStatus) == SIGKILL) << "status " << nStatus;

    {
        // What the crash left: part of the folder catalogued, the wizard's choices, no set-up.
        CCatalog catalog(CatalogPath(), 1);
        ASSERT_TRUE(catalog.IsOpen());
        std::unique_ptr<CNodeRec> pRoot(CNodeRec::NewRootNodeRec(&catalog));
        ASSERT_NE(pRoot, nullptr);
        EXPECT_TRUE(pRoot->GetFlags() & CNodeRec::ROOT_NOT_SET_UP);
        EXPECT_NE(std::unique_ptr<CDocumentRec>(catalog.FindPath("C:\\docs\\f1\\1.txt")), nullptr);
        EXPECT_EQ(std::unique_ptr<CDocumentRec>(catalog.FindPath("C:\\docs\\f4\\1.txt")), nullptr);
        EXPECT_TRUE(catalog.LookupExtension("a.txt")) << "the document types chosen";
    }

    // The next start asks again; the same answer finishes the set-up.
    AnswerWizardWithDocs();
    ASSERT_TRUE(Start());
    CCatalog& catalog = *App().GetMainCatalog();
    std::unique_ptr<CNodeRec> pRoot(CNodeRec::NewRootNodeRec(&catalog));
    ASSERT_NE(pRoot, nullptr);
    EXPECT_FALSE(pRoot->GetFlags() & CNodeRec::ROOT_NOT_SET_UP);
    EXPECT_EQ(Children(*pRoot), Names { "docs" }) << "one group for the folder";
    std::unique_ptr<CNodeRec> pDocs(pRoot->GetFirstChild());
    ASSERT_NE(pDocs, nullptr);
    EXPECT_EQ(Children(*pDocs), (Names { "f1", "f2", "f3", "f4" }));
    for (const std::string& strPath : AllFiles()) {
        std::unique_ptr<CDocumentRec> pDocument(catalog.FindPath(strPath.c_str()));
        ASSERT_NE(pDocument, nullptr) << strPath;
        EXPECT_EQ(pDocument->GetLinkedNodes().size(), 1u) << strPath << " linked once";
    }
    // The catalog's tables hold each of the wizard's entries once.
    int nExtensions = 0;
    for (CString strExtension = catalog.FirstExtension(); !strExtension.IsEmpty();
         strExtension = catalog.NextExtension())
        ++nExtensions;
    EXPECT_EQ(nExtensions, 1);
}
