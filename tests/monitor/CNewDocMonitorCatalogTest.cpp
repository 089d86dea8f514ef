#include "monitor/CNewDocMonitor.h"

#include "catalog/CCatalogPrompts.h"
#include "catalog/CCatalogUpdate.h"
#include "monitor/CCatalogDialog.h"
#include "monitor/CNewDocForm.h"
#include "store/CDocumentRec.h"
#include "store/CMailStoreRec.h"
#include "store/CatalogCheck.h"
#include "store/CatalogIo.h"
#include "tests/monitor/MonitorFixture.h"

#include "platform/base/MessageBoxCodes.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <functional>

namespace {

namespace fs = std::filesystem;

// One answer of the scripted dialog: it may edit the form, then returns the
// result for the notice shown (IDCANCEL closes the dialog).
using CDialogStep = std::function<int(CNewDocForm&)>;

// The cataloguing dialog as a script: each step answers the notice shown.
class CScriptedCatalogDialog : public CCatalogDialog {
public:
    static inline std::vector<CDialogStep> s_steps;
    static inline std::vector<int> s_lastIndexes; // what SetLastIndex was told
    static inline int s_nReloads = 0;
    static inline int s_nDrops = 0;
    static inline int s_nOpened = 0;

    CScriptedCatalogDialog(CNewDocMonitor& monitor, CNewDocForm& form)
        : m_monitor(monitor)
        , m_form(form)
    {
    }
    static std::unique_ptr<CCatalogDialog> Create(CNewDocMonitor& monitor, CNewDocForm& form)
    {
        ++s_nOpened;
        return std::make_unique<CScriptedCatalogDialog>(monitor, form);
    }

    int Run() override
    {
        for (size_t n = 0; n < s_steps.size() && m_nEnded == 0; ++n) {
            const int nCode = s_steps[n](m_form);
            if (nCode == IDCANCEL)
                return IDCANCEL;
            if (!m_monitor.OnCatalogDialogResult(nCode))
                return IDOK;
        }
        return m_nEnded != 0 ? m_nEnded : IDCANCEL;
    }
    void SetLastIndex(int nLast) override { s_lastIndexes.push_back(nLast); }
    void ReloadMaps() override { ++s_nReloads; }
    void DropMissingItems() override { ++s_nDrops; }
    void End(int nResult) override { m_nEnded = nResult; }

private:
    CNewDocMonitor& m_monitor;
    CNewDocForm& m_form;
    int m_nEnded { 0 };
};

// The new-document lists as a script: the summary's answer, and what was told.
class CListPrompts : public CCatalogPrompts {
public:
    int ShowNewDocsSummary(const CNewDocNoticeArray& queue, HWND) override
    {
        m_nSummaryCount = static_cast<int>(queue.size());
        return m_nSummaryAnswer;
    }
    void ShowNewDocsFound(int nCount, HWND) override { m_foundCounts.push_back(nCount); }

    int m_nSummaryAnswer { IDCANCEL };
    int m_nSummaryCount { -1 };
    std::vector<int> m_foundCounts;
};

class CNewDocMonitorCatalogTest : public MonitorTest {
protected:
    void SetUp() override
    {
        MonitorTest::SetUp();
        CScriptedCatalogDialog::s_steps.clear();
        CScriptedCatalogDialog::s_lastIndexes.clear();
        CScriptedCatalogDialog::s_nReloads = 0;
        CScriptedCatalogDialog::s_nDrops = 0;
        CScriptedCatalogDialog::s_nOpened = 0;
        SetCatalogDialogFactory(&CScriptedCatalogDialog::Create);
        SetCatalogPrompts(&m_prompts);
        m_pAlpha = Group("Alpha", SEARCH_FILE_NAME, "alpha");
    }
    void TearDown() override
    {
        SetCatalogPrompts(nullptr);
        SetCatalogDialogFactory(nullptr);
        m_pAlpha.reset();
        MonitorTest::TearDown();
    }

    // Queues and announces files written below T:.
    void Announce(std::initializer_list<const char*> names)
    {
        for (const char* pszName : names)
            Post(NOTICE_CREATED, WriteOnT(std::string("docs/") + pszName, std::string("text of ") + pszName));
        Drain();
    }
    void OpenDialog()
    {
        SendMessage(m_pMonitor->GetSafeHwnd(), GetCatalogNewDocMessage(), 0, 0);
        m_driver.Pump();
    }
    static std::string DocLine(const std::string& strName, const std::string& strDescription, const char* pszNodes)
    {
        return "t:\\docs\\" + strName + " | " + strDescription + " | " + pszNodes;
    }

    CListPrompts m_prompts;
    std::unique_ptr<CNodeRec> m_pAlpha;
};

TEST_F(CNewDocMonitorCatalogTest, TheDialogCataloguesOrRemovesEachNoticeInTurn)
{
    Announce({ "alpha-plan.txt", "other.txt", "skip.txt" });
    std::vector<CNewDocProposal> shown;
    const auto record = [&](CNewDocForm& form) {
        CNewDocProposal copy;
        copy.strName = form.GetProposal().strName;
        copy.bPlacedByRules = form.GetProposal().bPlacedByRules;
        copy.strDescription = form.GetProposal().strDescription;
        for (const auto& pNode : form.GetProposal().nodes)
            copy.nodes.emplace_back(pNode->Clone());
        shown.push_back(std::move(copy));
    };
    CScriptedCatalogDialog::s_steps = {
        [&](CNewDocForm& form) {
            record(form);
            form.GetProposal().strDescription = "Edited by the user";
            return CNewDocMonitor::RESULT_CATALOG;
        },
        [&](CNewDocForm& form) {
            record(form);
            form.GetProposal().strPassword = "secret";
            return CNewDocMonitor::RESULT_CATALOG;
        },
        [&](CNewDocForm& form) {
            record(form);
            return CNewDocMonitor::RESULT_REMOVE;
        },
    };
    OpenDialog();

    ASSERT_EQ(shown.size(), 3U);
    EXPECT_EQ(shown[0].strName, "alpha-plan.txt");
    EXPECT_TRUE(shown[0].bPlacedByRules) << "the keyword is in its name";
    EXPECT_EQ(NodeNames(shown[0].nodes), std::vector<std::string> { "Alpha" });
    EXPECT_EQ(shown[0].strDescription, "text of alpha-plan.txt");
    EXPECT_FALSE(shown[1].bPlacedByRules);
    EXPECT_EQ(shown[1].nodes.size(), 1U) << "the default system, the systems root";
    EXPECT_EQ(shown[2].strName, "skip.txt");

    EXPECT_TRUE(m_pMonitor->GetNotices().empty());
    EXPECT_EQ(m_pMonitor->GetOpenDialog(), nullptr);
    EXPECT_EQ(ShownIcon()->strTip, "Archivora: no new documents");
    EXPECT_EQ(CatalogPicture(*m_pCatalog),
        (std::set<std::string> { DocLine("alpha-plan.txt", "Edited by the user", "Alpha"),
            DocLine("other.txt", "text of other.txt", "(systems)") }));

    // The password goes into the record; the file, likely still open in the
    // program that made it, is listed to be protected later.
    const std::unique_ptr<CDocumentRec> pOther(m_pCatalog->FindPath("t:\\docs\\", "other.txt"));
    ASSERT_TRUE(pOther);
    CDocumentInfo info {};
    pOther->GetInfo(&info);
    EXPECT_STREQ(info.szPassword, "secret");
    ASSERT_EQ(m_pPending->CountWithFlags(CPendingDocs::FLAG_UNPROTECTED), 1);
    EXPECT_EQ(Utf8ToLower(std::string(m_pPending->GetEntryPath(0))), "t:\\docs\\other.txt");
    std::ifstream file(HostOnT("docs/other.txt"));
    EXPECT_EQ(std::string(std::istreambuf_iterator<char>(file), {}), "text of other.txt") << "the file is untouched";
}

TEST_F(CNewDocMonitorCatalogTest, ACancelKeepsTheRestAndVanishedDocumentsAreToldOfOtherwise)
{
    Announce({ "one.txt", "two.txt" });
    CScriptedCatalogDialog::s_steps = { [](CNewDocForm&) { return IDCANCEL; } };
    fs::remove(HostOnT("docs/one.txt"));
    OpenDialog();
    EXPECT_EQ(Queued(), std::vector<std::string> { OnT("docs/two.txt") }) << "the first was skipped as vanished";
    EXPECT_TRUE(m_prompts.m_foundCounts.empty()) << "a cancelled dialog tells nothing more";
    EXPECT_EQ(m_pMonitor->GetVanished().size(), 1U);

    // With nothing valid left, the vanished documents are told of and forgotten.
    fs::remove(HostOnT("docs/two.txt"));
    OpenDialog();
    EXPECT_EQ(m_prompts.m_foundCounts, std::vector<int> { 2 });
    EXPECT_TRUE(m_pMonitor->GetVanished().empty());
    EXPECT_TRUE(Queued().empty());
    EXPECT_EQ(CScriptedCatalogDialog::s_nOpened, 1);
    EXPECT_EQ(ShownIcon()->strTip, "Archivora: no new documents");
}

TEST_F(CNewDocMonitorCatalogTest, ANoticeArrivingWhileTheDialogIsOpenExtendsItsList)
{
    Announce({ "first.txt" });
    std::vector<std::string> names;
    CScriptedCatalogDialog::s_steps = {
        [&](CNewDocForm& form) {
            names.emplace_back(form.GetProposal().strName);
            Post(NOTICE_CREATED, WriteOnT("docs/later.txt", "later"));
            Drain();
            return CNewDocMonitor::RESULT_REMOVE;
        },
        [&](CNewDocForm& form) {
            names.emplace_back(form.GetProposal().strName);
            return CNewDocMonitor::RESULT_REMOVE;
        },
    };
    OpenDialog();
    EXPECT_EQ(names, (std::vector<std::string> { "first.txt", "later.txt" }));
    EXPECT_EQ(CScriptedCatalogDialog::s_lastIndexes, std::vector<int> { 1 });
    EXPECT_EQ(CScriptedCatalogDialog::s_nOpened, 1) << "the open dialog took it; no second one";
}

TEST_F(CNewDocMonitorCatalogTest, TheAutomaticModesCatalogWhatTheRulesPlaceOrEverything)
{
    thePreferences.m_nDSAutoCataloguing = 1;
    Announce({ "alpha-notes.txt", "loose.txt" });
    EXPECT_EQ(Queued(), std::vector<std::string> { OnT("docs/loose.txt") }) << "no rule places it: announced";
    EXPECT_EQ(m_pMonitor->GetAnnouncedCount(), 1);
    EXPECT_EQ(CatalogPicture(*m_pCatalog),
        std::set<std::string> { DocLine("alpha-notes.txt", "text of alpha-notes.txt", "Alpha") });

    thePreferences.m_nDSAutoCataloguing = 2;
    Announce({ "stray.txt" });
    EXPECT_EQ(Queued(), std::vector<std::string> { OnT("docs/loose.txt") }) << "only the new part is examined";
    EXPECT_TRUE(CatalogPicture(*m_pCatalog).contains(DocLine("stray.txt", "text of stray.txt", "(systems)")));
    EXPECT_EQ(CScriptedCatalogDialog::s_nOpened, 0) << "\"DSList\" on: nothing opens by itself";

    // With "DSList" off, what is kept opens the dialog at once.
    thePreferences.m_nDSAutoCataloguing = 0;
    thePreferences.m_bDSList = FALSE;
    CScriptedCatalogDialog::s_steps = { [](CNewDocForm&) { return IDCANCEL; } };
    Announce({ "kept.txt" });
    EXPECT_EQ(CScriptedCatalogDialog::s_nOpened, 1);
}

TEST_F(CNewDocMonitorCatalogTest, AFailedWriteKeepsTheNoticeAndARetryCompletesIt)
{
    thePreferences.m_nDSAutoCataloguing = 2;
    const std::string strPath = WriteOnT("docs/alpha-first.txt", "first");
    const std::set<std::string> expected { DocLine("alpha-first.txt", "first", "Alpha") };
    m_pAlpha.reset();
    const fs::path catalogFile = HostPath("archiv.cat");
    const fs::path snapshot = catalogFile.string() + ".before";
    const auto reopen = [&](bool bFromSnapshot) {
        m_pMonitor.reset();
        thePreferences.ReleaseDefaultSystem();
        thePreferences.m_pCurrentNode.reset();
        m_pCatalog.reset();
        if (bFromSnapshot)
            fs::copy_file(snapshot, catalogFile, fs::copy_options::overwrite_existing);
        m_pCatalog = OpenCatalog();
        ASSERT_TRUE(m_pCatalog && m_pCatalog->IsOpen());
        m_pPending = std::make_unique<CPendingDocs>(m_pCatalog.get());
        m_pMonitor = std::make_unique<CNewDocMonitor>(m_pCatalog.get(), m_pPending.get());
        ASSERT_TRUE(m_pMonitor->Start());
    };
    ASSERT_TRUE(std::unique_ptr<CMailStoreRec>(m_pCatalog->AddMailStore(LOCATION_LOCAL_DISK, "Local Disk")));
    m_pMonitor.reset();
    m_pCatalog.reset();
    fs::copy_file(catalogFile, snapshot);

    CatalogErrorRecorder errors;
    bool bFailedOnce = false;
    for (int nWrite = 1;; ++nWrite) {
        reopen(true);
        SetCatalogWriteFailure(nWrite);
        Post(NOTICE_CREATED, strPath);
        Drain();
        SetCatalogWriteFailure(0);
        if (Queued().empty()) {
            EXPECT_EQ(CatalogPicture(*m_pCatalog), expected); // fewer writes than nWrite
            break;
        }
        bFailedOnce = true;
        reopen(false);
        ASSERT_TRUE(CheckCatalogFile(ProgramPath("archiv.cat").c_str(), CATALOG_KIND_MAIN)) << nWrite;
        // Caught again; a document written whole but not linked is linked by the next update.
        Post(NOTICE_CREATED, strPath);
        Drain();
        EXPECT_TRUE(Queued().empty()) << nWrite;
        CCatalogUpdate update(m_pCatalog.get(), nullptr, CCatalogUpdate::OPTION_PLACES, nullptr);
        ASSERT_TRUE(update.Update(CCatalogUpdate::MODE_UPDATE)) << nWrite;
        EXPECT_EQ(CatalogPicture(*m_pCatalog), expected) << nWrite;
    }
    EXPECT_TRUE(bFailedOnce);
}

TEST_F(CNewDocMonitorCatalogTest, PendingDocumentsAreOfferedBeforeTheWindowCloses)
{
    EXPECT_TRUE(m_pMonitor->ShowPendingDocuments()) << "nothing waits";
    Announce({ "waiting.txt" });
    EXPECT_TRUE(m_pMonitor->ShowPendingDocuments()) << "declined: the window closes";
    EXPECT_EQ(m_prompts.m_nSummaryCount, 1);
    EXPECT_EQ(CScriptedCatalogDialog::s_nOpened, 0);

    m_prompts.m_nSummaryAnswer = IDOK;
    CScriptedCatalogDialog::s_steps = { [](CNewDocForm&) { return CNewDocMonitor::RESULT_CATALOG; } };
    EXPECT_FALSE(m_pMonitor->ShowPendingDocuments()) << "the user catalogues first";
    m_driver.Pump();
    EXPECT_EQ(CScriptedCatalogDialog::s_nOpened, 1);
    EXPECT_TRUE(Queued().empty());

    Announce({ "gone.txt" });
    fs::remove(HostOnT("docs/gone.txt"));
    EXPECT_TRUE(m_pMonitor->ShowPendingDocuments());
    EXPECT_EQ(m_prompts.m_foundCounts, std::vector<int> { 1 });
    // Told once: the program went on (the exit was cancelled), and the next
    // document catalogued from the tray brings no word of it again.
    EXPECT_EQ(m_pMonitor->GetPendingCount(), 0);
    EXPECT_TRUE(m_pMonitor->ShowPendingDocuments());
    Announce({ "next.txt" });
    CScriptedCatalogDialog::s_steps = { [](CNewDocForm&) { return CNewDocMonitor::RESULT_CATALOG; } };
    OpenDialog();
    EXPECT_TRUE(Queued().empty());
    EXPECT_EQ(m_prompts.m_foundCounts, std::vector<int> { 1 });

    m_pMonitor->Stop();
    EXPECT_TRUE(m_pMonitor->ShowPendingDocuments()) << "a stopped monitor holds nothing up";
}

TEST_F(CNewDocMonitorCatalogTest, AnOpenDialogsFormFollowsTheCatalog)
{
    Announce({ "alpha-report.txt" });
    std::vector<std::string> nodesAfter;
    CScriptedCatalogDialog::s_steps = {
        [&](CNewDocForm& form) {
            EXPECT_EQ(NodeNames(form.GetProposal().nodes), std::vector<std::string> { "Alpha" });
            EXPECT_TRUE(m_pAlpha->DeleteSubtree(TRUE));
            m_pMonitor->OnCatalogChanged();
            nodesAfter = NodeNames(form.GetProposal().nodes);
            m_pMonitor->ReloadCatalogMaps();
            return IDCANCEL;
        },
    };
    OpenDialog();
    EXPECT_TRUE(nodesAfter.empty()) << "the group deleted meanwhile is no longer proposed";
    EXPECT_EQ(CScriptedCatalogDialog::s_nDrops, 1);
    EXPECT_EQ(CScriptedCatalogDialog::s_nReloads, 2);
    EXPECT_EQ(Queued().size(), 1U);
}

} // namespace
