// The end of the session (a termination signal) reaches the running program
// whatever it waits for: a prompt on the screen is ended with its cancel
// answer, and the end asks nothing, keeps every document where it was and
// saves the layout.

#include "dialogs/CDialogFramePrompts.h"
#include "frame/AppMessages.h"
#include "resources/ResourceIds.h"
#include "store/CCatalog.h"
#include "store/CNodeRec.h"
#include "tests/frame/AppTestFixture.h"

#include "platform/window/MessageQueue.h"
#include "platform/window/Window.h"

#include <gtest/gtest.h>

#include <memory>

namespace {

class SessionEndTest : public AppTest {
protected:
    // A catalog with one unsorted document, which the exit asks about; the
    // program started with its own dialogs.
    void SetUp() override
    {
        AppTest::SetUp();
        WriteCatalog([](CCatalog& catalog, CNodeRec&) {
            std::unique_ptr<CNodeRec> pUnsorted(CNodeRec::NewTopNodeRec3(&catalog));
            ASSERT_NE(pUnsorted, nullptr);
            AddDocument(catalog, *pUnsorted, "C:\\docs\\loose.txt");
        });
        ASSERT_TRUE(Start());
        m_pScripted = InstallFramePrompts(&m_dialogs);
    }
    void TearDown() override
    {
        InstallFramePrompts(m_pScripted);
        AppTest::TearDown();
    }

    static void PostSessionEnd() { ::PostThreadMessage(::GetCurrentThreadId(), g_nMsgSessionEnd, 0, 0); }
    // Runs the program's loop until it ends, as its entry does.
    void RunToTheEnd() { App().Run(); }

    // Where the unsorted document is now: {unsorted, archived}.
    std::pair<int, int> DocumentCounts() const
    {
        CCatalog catalog(ProgramPath("archiv.cat"), 1);
        std::unique_ptr<CNodeRec> pUnsorted(CNodeRec::NewTopNodeRec3(&catalog));
        std::unique_ptr<CNodeRec> pArchive(CNodeRec::NewTopNodeRec4(&catalog));
        return { pUnsorted ? static_cast<int>(pUnsorted->CountDocuments()) : -1,
            pArchive ? static_cast<int>(pArchive->CountDocuments()) : -1 };
    }

    CDialogFramePrompts m_dialogs;
    CFramePrompts* m_pScripted { nullptr };
};

} // namespace

TEST_F(SessionEndTest, TheEndWhileTheExitQuestionWaitsEndsTheProgramWithNothingMoved)
{
    int nPrompts = 0;
    // The user leaves the question unanswered; the signal comes.
    m_driver.OnNextDialog([&nPrompts](HWND) {
        ++nPrompts;
        PostSessionEnd();
    });
    MainFrame()->PostMessage(WM_COMMAND, ID_APP_EXIT_PROGRAM);
    RunToTheEnd();
    EXPECT_EQ(nPrompts, 1);
    EXPECT_EQ(App().m_pMainWnd, nullptr);
    EXPECT_EQ(ProductValue("Desktop", "Windows"), 1U) << "the layout is saved";
    Stop();
    EXPECT_EQ(DocumentCounts(), std::make_pair(1, 0));
}

TEST_F(SessionEndTest, TheEndAsksNothing)
{
    int nPrompts = 0;
    // Were a question shown, the test answers it as no user would be there to.
    m_driver.OnNextDialog([&nPrompts](HWND hDlg) {
        ++nPrompts;
        ::EndDialog(hDlg, IDYES);
    });
    PostSessionEnd();
    RunToTheEnd();
    EXPECT_EQ(nPrompts, 0);
    EXPECT_EQ(App().m_pMainWnd, nullptr);
    Stop();
    EXPECT_EQ(DocumentCounts(), std::make_pair(1, 0));
}
