// The whole reply of WDIR, byte for byte, for pages that hold every kind of
// row: the up row, sub-groups with cut information texts, documents with long
// names and descriptions, expired, protected and missing ones, in both orders;
// and the WFIND page and WTREE tokens of the same catalog.

#include "webaccess/server/CWACmdWdir.h"

#include "tests/support/ScopedVariable.h"
#include "tests/webaccess/server/CatalogSessionFixture.h"
#include "tests/webaccess/server/GoldenReply.h"

#include <chrono>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

namespace {

constexpr std::time_t FIXED_TIME = 1136214245; // Jan 02, 2006 15:04:05 UTC

class WdirReplyTest : public CatalogSessionTest {
protected:
    void SetUp() override
    {
        CatalogSessionTest::SetUp();
        tzset();
        const std::unique_ptr<CNodeRec> pAlpha(new CNodeRec(m_pCatalog.get(), m_alpha.nBlock, m_alpha.nSlot));
        AddFile(*pAlpha, "a rather long document name that cannot fit in its column.txt", 5000);
        AddFile(*pAlpha, "described.txt", 2048);
        AddFile(*pAlpha, "expired.txt", 10);
        AddFile(*pAlpha, "locked.txt", 10);
        AddFile(*pAlpha, "gone.txt", 10);
        const std::unique_ptr<CNodeRec> pProjects(new CNodeRec(m_pCatalog.get(), m_projects.nBlock, m_projects.nSlot));
        AddNode(*pProjects, "Gamma", "a long information text about this group that is cut to its width");
        UpdateInfo(DocumentRef(m_alpha, "described.txt"), [](CDocumentInfo& info) {
            std::snprintf(info.szDescription, sizeof(info.szDescription), "%s", "Quarterly figures & notes");
        });
        SetExpiry(DocumentRef(m_alpha, "expired.txt"), static_cast<LONG>(FIXED_TIME - 86400));
        UpdateInfo(DocumentRef(m_alpha, "locked.txt"),
            [](CDocumentInfo& info) { std::snprintf(info.szPassword, sizeof(info.szPassword), "%s", "secret"); });
        for (const auto& entry : std::filesystem::directory_iterator(Home())) {
            if (entry.path().extension() == ".txt" || entry.path().extension() == ".bin")
                std::filesystem::last_write_time(entry.path(),
                    std::filesystem::file_time_type::clock::from_sys(
                        std::chrono::system_clock::from_time_t(FIXED_TIME)));
        }
        std::filesystem::remove(Home() / "gone.txt");
    }

    template<typename Change> void UpdateInfo(CRecordRef document, Change change)
    {
        CDocumentRec record(m_pCatalog.get(), document.nBlock, document.nSlot);
        CDocumentInfo info {};
        ASSERT_NE(record.GetInfo(&info), nullptr);
        change(info);
        ASSERT_TRUE(record.UpdateInfo(info));
    }

    void ExpectReply(const std::string& strToken, const std::string& strGolden)
    {
        const auto pSession = Login(AllGroups());
        ExpectGoldenReply(Run(*pSession, strToken), strGolden);
    }

    ScopedVariable m_zone { "TZ", "UTC" };
};

TEST_F(WdirReplyTest, DocumentsPageAscending)
{
    ExpectReply(WdirToken(m_alpha), "wdir_documents.txt");
}

TEST_F(WdirReplyTest, DocumentsPageDescending)
{
    ExpectReply(WdirToken(m_alpha, "A-"), "wdir_documents_descending.txt");
}

TEST_F(WdirReplyTest, GroupsPage)
{
    ExpectReply(WdirToken(m_projects), "wdir_groups.txt");
}

// The search page and the tree token list of the same catalog.
TEST_F(WdirReplyTest, FindPage)
{
    ExpectReply("<#WFIND |t| |1W| |ANY|#>", "wfind_page.txt");
}

TEST_F(WdirReplyTest, TreeTokens)
{
    ExpectReply("<#WTREE#>", "wtree.txt");
}

} // namespace
