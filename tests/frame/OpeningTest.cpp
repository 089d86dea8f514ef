// Opening catalog entries through the application: the program each open
// action starts (recorded, never run), the choices that cancel, and the main
// window minimised afterwards.

#include "tests/frame/AppTestFixture.h"

#include "catalog/CPendingDocs.h"
#include "resources/ResourceIds.h"
#include "store/CCatalog.h"
#include "store/CDocumentRec.h"
#include "store/CNodeRec.h"
#include "store/CPreferences.h"
#include "tests/ui/ClassesRootBuilder.h"

#include "platform/base/PathMap.h"
#include "platform/shell/ProgramLaunch.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>

namespace {

namespace fs = std::filesystem;

// Executable files stand for documents and programs: the desktop starts an
// executable document itself, so every launch is known without the host's
// file associations.
class OpeningTest : public AppTest {
protected:
    void TearDown() override
    {
        thePreferences.m_bMinimize = FALSE;
        AppTest::TearDown();
    }

    // An executable file of the test's folder; its program path.
    std::string MakeExecutable(const char* pszName)
    {
        const fs::path path = Home() / pszName;
        std::ofstream(path) << "#!/bin/sh\n";
        fs::permissions(path, fs::perms::owner_all);
        return ProgramPathFromHostPath(path.string());
    }
    std::string HostPath(const char* pszName) const { return (Home() / pszName).string(); }

    // Catalogs each named file with its open action, then starts the program.
    void StartWith(std::vector<std::pair<std::string, DWORD>> documents)
    {
        WriteCatalog([&](CCatalog& catalog, CNodeRec& root) {
            auto pSystem = AddSystem(root, "Documents");
            for (const auto& [strPath, dwAction] : documents) {
                const CRecordRef ref = AddDocument(catalog, *pSystem, strPath.c_str());
                CDocumentRec document(&catalog, ref.nBlock, ref.nSlot);
                CDocumentInfo info {};
                ASSERT_NE(document.GetInfo(&info), nullptr);
                info.dwOpenAction = dwAction;
                ASSERT_TRUE(document.UpdateInfo(info));
            }
        });
        ASSERT_TRUE(Start());
    }
    BOOL Open(const std::string& strPath)
    {
        std::unique_ptr<CDocumentRec> pDocument(App().GetMainCatalog()->FindPath(strPath.c_str()));
        EXPECT_NE(pDocument, nullptr) << strPath;
        return pDocument ? App().OpenItem(*pDocument, MainFrame()) : FALSE;
    }
    int OpenCount() { return App().GetMainCatalog()->GetOpenCount(); }
};

} // namespace

TEST_F(OpeningTest, EachOpenActionStartsItsProgramAndTracksTheDocument)
{
    const std::string strOwn = MakeExecutable("own.sh");
    const std::string strUnknownAction = MakeExecutable("seven.sh");
    const std::string strChosen = MakeExecutable("chosen.sh");
    const std::string strFolder = MakeExecutable("folder.sh");
    const std::string strEditor = MakeExecutable("editor.sh");
    StartWith({ { strOwn, 0 }, { strUnknownAction, 7 }, { strChosen, 1 }, { strFolder, 3 } });
    m_prompts.m_strOpenWithProgram = strEditor.c_str();
    m_prompts.m_nOpenWithAnswer = IDOK;
    m_prompts.m_nChooseFolderAnswer = IDOK;

    CLaunchOverride launches;
    EXPECT_TRUE(Open(strOwn));
    EXPECT_TRUE(Open(strUnknownAction));
    EXPECT_TRUE(Open(strChosen));
    EXPECT_TRUE(Open(strFolder));
    using Args = std::vector<std::string>;
    EXPECT_EQ(launches.GetLaunches(),
        (std::vector<Args> { Args { HostPath("own.sh") }, Args { HostPath("seven.sh") },
            Args { HostPath("editor.sh"), HostPath("chosen.sh") }, Args { HostPath("folder.sh") } }));
    EXPECT_EQ(m_prompts.m_nChooseFolderCaption, static_cast<UINT>(IDS_CHOOSE_PROGRAM_FOLDER));
    ASSERT_NE(App().GetPendingDocs(), nullptr);
    EXPECT_EQ(App().GetPendingDocs()->CountWithFlags(CPendingDocs::FLAG_OPENED), 4);
}

TEST_F(OpeningTest, ACancelledChoiceOrAFailedStartOpensNothing)
{
    const std::string strChosen = MakeExecutable("chosen.sh");
    const std::string strFolder = MakeExecutable("folder.sh");
    const std::string strOwn = MakeExecutable("own.sh");
    const std::string strGone = ProgramPathFromHostPath(HostPath("gone.sh"));
    StartWith({ { strChosen, 1 }, { strFolder, 3 }, { strOwn, 0 }, { strGone, 0 } });
    fs::remove(HostPath("gone.sh"));

    CLaunchOverride launches;
    EXPECT_FALSE(Open(strChosen));
    EXPECT_FALSE(Open(strFolder));
    EXPECT_EQ(m_prompts.CountOf("open with"), 1);
    EXPECT_EQ(m_prompts.CountOf("choose folder"), 1);
    EXPECT_FALSE(Open(strGone));
    EXPECT_TRUE(launches.GetLaunches().empty());

    launches.FailLaunches();
    EXPECT_FALSE(Open(strOwn));
    EXPECT_EQ(App().GetPendingDocs()->GetCount(), 0);
}

TEST_F(OpeningTest, TheRegisteredProgramOfTheEntrysTypeStartsAndAFailureIsReported)
{
    const std::string strViewer = MakeExecutable("viewer.exe");
    SetClassesKey("Sketch\\shell\\open\\command", { { "", "\"" + strViewer + "\" \"%1\"" } });
    const std::string strSketch = ProgramPathFromHostPath((Home() / "Sketch").string());
    const std::string strOther = ProgramPathFromHostPath((Home() / "Unregistered").string());
    StartWith({ { strSketch, 2 }, { strOther, 2 } });

    CLaunchOverride launches;
    EXPECT_TRUE(Open(strSketch));
    ASSERT_EQ(launches.GetLaunches().size(), 1U);
    EXPECT_EQ(launches.GetLaunches()[0], std::vector<std::string> { HostPath("viewer.exe") });
    EXPECT_TRUE(m_prompts.m_messages.empty());

    EXPECT_FALSE(Open(strOther));
    EXPECT_EQ(m_prompts.m_messages, std::vector<UINT> { IDS_LAUNCH_FAILED });
    EXPECT_EQ(launches.GetLaunches().size(), 1U);
}

TEST_F(OpeningTest, MinimisingAfterAnOpenGivesTheCatalogBackOnce)
{
    StartWith({});
    App().MinimizeAfterOpen();
    EXPECT_FALSE(MainFrame()->IsIconic());
    EXPECT_EQ(OpenCount(), 1);

    thePreferences.m_bMinimize = TRUE;
    App().MinimizeAfterOpen();
    EXPECT_TRUE(MainFrame()->IsIconic());
    EXPECT_EQ(OpenCount(), 0);
    // A second open while minimised leaves the count alone.
    App().MinimizeAfterOpen();
    EXPECT_EQ(OpenCount(), 0);
}

TEST_F(OpeningTest, AWindowHiddenInTheTrayStaysHidden)
{
    WriteCatalog();
    SetProductValue("Default\\Preferences", "DSAutoIniciar", 1);
    ASSERT_TRUE(Start({ "/DS" }));
    thePreferences.m_bMinimize = TRUE;
    App().MinimizeAfterOpen();
    EXPECT_FALSE(MainFrame()->IsWindowVisible());
    EXPECT_EQ(OpenCount(), 0);
}
