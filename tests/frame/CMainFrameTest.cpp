#include "frame/CMainFrame.h"

#include "tests/frame/AppTestFixture.h"

#include "frame/FramePrompts.h"
#include "resources/ResourceIds.h"
#include "store/CCatalog.h"
#include "store/CDocumentRec.h"
#include "store/CNodeRec.h"
#include "tests/store/FlushCounter.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>

namespace {

// Default prompts that answer the unsorted-documents warning with Yes: move them to the archive.
class CMovingPrompts : public CDefaultFramePrompts {
public:
    int OrphanWarning(BOOL* pbDontWarn) override
    {
        ++m_nWarnings;
        if (pbDontWarn)
            *pbDontWarn = FALSE;
        return IDYES;
    }

    int m_nWarnings { 0 };
};

class MainFrameTest : public AppTest {
protected:
    void SetUp() override
    {
        AppTest::SetUp();
        m_pPrevious = InstallFramePrompts(&m_prompts);
    }
    void TearDown() override
    {
        AppTest::TearDown();
        InstallFramePrompts(m_pPrevious);
    }

    // The flushes of the main catalog's journal so far.
    int JournalFlushes(const CFlushCounter& flushes) const
    {
        auto it = flushes.m_flushes.find(std::string(ProgramPath("archiv.cat.jnl")));
        return it == flushes.m_flushes.end() ? 0 : it->second;
    }

    CMovingPrompts m_prompts;
    CFramePrompts* m_pPrevious { nullptr };
};

} // namespace

// The first setup (the wizard's finish) and the move of the unsorted documents
// to the archive (the answer to the warning) each reach the catalog in one commit.
TEST_F(MainFrameTest, TheFirstSetupAndTheMoveOfUnsortedDocumentsAreOneCommitEach)
{
    {
        CFlushCounter flushes;
        ASSERT_TRUE(Start());
        // Making the empty catalog commits its root blocks and closes it (two
        // flushes of its journal); the whole setup is the third.
        EXPECT_EQ(JournalFlushes(flushes), 3);
    }
    CCatalog* pCatalog = App().GetMainCatalog();
    ASSERT_NE(pCatalog, nullptr);
    std::unique_ptr<CNodeRec> pUnsorted(CNodeRec::NewTopNodeRec3(pCatalog));
    ASSERT_NE(pUnsorted, nullptr);
    constexpr int DOCUMENTS = 5;
    for (int nDocument = 0; nDocument < DOCUMENTS; ++nDocument) {
        const std::string strName = "orphan" + std::to_string(nDocument) + ".txt";
        std::unique_ptr<CDocumentRec> pDocument(pCatalog->FindOrAddDocument("c:\\orphans\\", strName.c_str(), nullptr));
        ASSERT_NE(pDocument, nullptr);
        ASSERT_TRUE(pUnsorted->AddDocument(pDocument.get()));
    }

    CFlushCounter flushes;
    MainFrame()->SendMessage(WM_COMMAND, ID_TOOLS_CHECK_UNSORTED, 0);
    EXPECT_EQ(m_prompts.m_nWarnings, 1);
    EXPECT_EQ(JournalFlushes(flushes), 1);
    std::unique_ptr<CNodeRec> pArchive(CNodeRec::NewTopNodeRec4(pCatalog));
    ASSERT_NE(pArchive, nullptr);
    EXPECT_EQ(pArchive->CountDocuments(), DOCUMENTS);
}
