#include "frame/FindSettings.h"

#include "frame/AppGlobals.h"
#include "store/CCatalog.h"
#include "store/CNodeRec.h"
#include "store/CRegistryKey.h"

#include "platform/base/PathMap.h"
#include "platform/base/TextFunctions.h"
#include "platform/framework/CWinApp.h"
#include "tests/support/TempFolder.h"

#include <gtest/gtest.h>

#include <array>
#include <cstdio>
#include <memory>
#include <string>
#include <vector>

namespace {

class FindSettingsTest : public ProgramFolderTest {
protected:
    void SetUp() override
    {
        ProgramFolderTest::SetUp();
        m_pApp = std::make_unique<CWinApp>("Archivora Plus");
        m_pApp->SetRegistryKey("KD");
        const std::string strPath = ProgramPathFromHostPath((Home() / "archiv.cat").string());
        ASSERT_TRUE(CCatalog::CreateFile(FALSE, strPath.c_str(), BLOCK_SIZE));
        m_pCatalog = std::make_unique<CCatalog>(strPath.c_str(), 1);
        ASSERT_TRUE(m_pCatalog->IsOpen());
    }
    void TearDown() override
    {
        m_settings.Free();
        m_pCatalog.reset();
        m_pApp.reset();
        ProgramFolderTest::TearDown();
    }

    // A system under the root.
    std::unique_ptr<CNodeRec> AddSystem(const char* pszName)
    {
        std::unique_ptr<CNodeRec> pRoot(CNodeRec::NewRootNodeRec(m_pCatalog.get()));
        CNodeInfo info {};
        MakeDefaultNames(&info);
        Utf8CopyToField(info.szName, sizeof(info.szName), pszName, FieldEnd::NulTerminated);
        return std::unique_ptr<CNodeRec>(pRoot->FindOrAddChild(info));
    }
    void WriteSystemValue(LPCTSTR pszSection, std::vector<BYTE> bytes)
    {
        m_pApp->WriteProfileBinary(pszSection, "sys_default", bytes.data(), static_cast<UINT>(bytes.size()));
    }
    static std::vector<BYTE> Ref(LONG nBlock, LONG nSlot)
    {
        std::array<LONG, 2> ref { nBlock, nSlot };
        return std::vector<BYTE>(reinterpret_cast<BYTE*>(ref.data()), reinterpret_cast<BYTE*>(ref.data()) + 8);
    }
    static std::vector<CString> History(const CFindRecord& record)
    {
        std::vector<CString> texts;
        for (int i = 0; i < record.history.GetSize(); ++i)
            texts.push_back(record.history[i]);
        return texts;
    }
    static std::vector<CString> Words(const CFindSettings& settings)
    {
        std::vector<CString> words;
        for (int i = 0; i < settings.GetWords().GetSize(); ++i)
            words.push_back(settings.GetWords()[i]);
        return words;
    }
    void Search(const char* pszText, int nType = FIND_TYPE_PHRASE, BOOL bMatchCase = FALSE)
    {
        CFindRecord search;
        search.history.Add(pszText);
        search.nType = nType;
        search.bMatchCase = bMatchCase;
        m_settings.UpdateFind(search, -1, -1, m_pCatalog.get());
    }

    std::unique_ptr<CWinApp> m_pApp;
    std::unique_ptr<CCatalog> m_pCatalog;
    CFindSettings m_settings;
};

} // namespace

TEST_F(FindSettingsTest, TheHistoryReadsUntilTheFirstEmptyTextAndKeepsFifteen)
{
    m_pApp->WriteProfileString("find", "find00", "only");
    m_settings.Load(*m_pApp, m_pCatalog.get());
    EXPECT_EQ(History(m_settings.GetFind()), std::vector<CString> { "only" });

    for (int i = 0; i < 20; ++i) {
        char szName[16];
        std::snprintf(szName, sizeof(szName), "find%02d", i);
        m_pApp->WriteProfileString("find", szName, CString("text ") + szName);
    }
    m_settings.Load(*m_pApp, m_pCatalog.get());
    ASSERT_EQ(m_settings.GetFind().history.GetSize(), FIND_HISTORY_LENGTH);
    EXPECT_EQ(m_settings.GetFind().history[14], "text find14");
}

TEST_F(FindSettingsTest, ANewSearchGoesFirstAndTheSixteenthDropsTheOldest)
{
    m_settings.Load(*m_pApp, m_pCatalog.get());
    for (int i = 1; i <= 15; ++i)
        Search(CString("search ") + std::to_string(i).c_str());
    Search("search 16");
    const std::vector<CString> history = History(m_settings.GetFind());
    ASSERT_EQ(history.size(), 15U);
    EXPECT_EQ(history.front(), "search 16");
    EXPECT_EQ(history.back(), "search 2");
    // An equal older text moves to the head; one that differs in case stays.
    Search("search 9");
    Search("Search 9");
    const std::vector<CString> after = History(m_settings.GetFind());
    ASSERT_EQ(after.size(), 15U);
    EXPECT_EQ(after[0], "Search 9");
    EXPECT_EQ(after[1], "search 9");
    EXPECT_EQ(std::count(after.begin(), after.end(), CString("search 9")), 1);
}

TEST_F(FindSettingsTest, TheSystemSearchedFromFallsBackToTheRoot)
{
    std::unique_ptr<CNodeRec> pSystem = AddSystem("Letters");
    const CRecordRef ref = pSystem->GetRef();
    WriteSystemValue("find", Ref(ref.nBlock, ref.nSlot));
    WriteSystemValue("lastfind", Ref(ref.nBlock, ref.nSlot));
    m_settings.Load(*m_pApp, m_pCatalog.get());
    EXPECT_EQ(m_settings.GetFind().pSystem->GetRef(), ref);

    // A deleted system, a value of the wrong size, and one that names no node give the root.
    ASSERT_TRUE(pSystem->DeleteSubtree(TRUE));
    m_settings.Load(*m_pApp, m_pCatalog.get());
    EXPECT_EQ(m_settings.GetFind().pSystem->GetRef(), (CRecordRef { 0, 0 }));
    EXPECT_EQ(m_settings.GetLastFind().pSystem->GetRef(), (CRecordRef { 0, 0 }));
    WriteSystemValue("find", { 1, 2, 3 });
    WriteSystemValue("lastfind", Ref(70000, -5));
    m_settings.Load(*m_pApp, m_pCatalog.get());
    EXPECT_EQ(m_settings.GetFind().pSystem->GetRef(), (CRecordRef { 0, 0 }));
    EXPECT_EQ(m_settings.GetLastFind().pSystem->GetRef(), (CRecordRef { 0, 0 }));
}

TEST_F(FindSettingsTest, SavedSettingsReadBackWithFlagsAsZeroOrOne)
{
    m_pApp->WriteProfileInt("find", "match_case", 7);
    m_pApp->WriteProfileInt("find", "type", 1);
    m_pApp->WriteProfileInt("lastfind", "interrupt", -3);
    m_settings.Load(*m_pApp, m_pCatalog.get());
    EXPECT_EQ(m_settings.GetFind().bMatchCase, TRUE);
    EXPECT_EQ(m_settings.GetFind().nType, 1);
    EXPECT_EQ(m_settings.GetLastFind().bInterrupt, TRUE);
    EXPECT_TRUE(m_settings.GetFind().bOpenFindBar); // the default

    Search("first");
    Search("second");
    CFindRecord last;
    last.history.Add("the last one");
    last.bDate = TRUE;
    m_settings.UpdateLastFind(last, -1, -1, m_pCatalog.get());
    CListFilter filter;
    filter.bActive = TRUE;
    filter.nMode = FILTER_ANY;
    m_settings.SetLastFindFilter(filter);
    m_settings.Save(*m_pApp);

    CFindSettings loaded;
    loaded.Load(*m_pApp, m_pCatalog.get());
    EXPECT_EQ(History(loaded.GetFind()), (std::vector<CString> { "second", "first" }));
    EXPECT_EQ(loaded.GetLastSearchText(), "the last one");
    EXPECT_TRUE(loaded.GetLastFind().bDate);
    EXPECT_TRUE(loaded.GetLastFindFilter().bActive);
    EXPECT_EQ(loaded.GetLastFindFilter().nMode, FILTER_ANY);
    loaded.Free();
}

TEST_F(FindSettingsTest, AnEmptiedHistoryStaysEmptyAfterSaving)
{
    m_settings.Load(*m_pApp, m_pCatalog.get());
    Search("one");
    Search("two");
    m_settings.Save(*m_pApp);
    m_settings.Reset(m_pCatalog.get());
    m_settings.Save(*m_pApp);
    CFindSettings loaded;
    loaded.Load(*m_pApp, m_pCatalog.get());
    EXPECT_EQ(loaded.GetFind().history.GetSize(), 0);
    EXPECT_TRUE(loaded.GetLastSearchText().IsEmpty());
    loaded.Free();
}

TEST_F(FindSettingsTest, TheNewestTextBecomesWordsByItsType)
{
    m_settings.Load(*m_pApp, m_pCatalog.get());
    Search("  Alpha   Beta ", FIND_TYPE_ALL_WORDS);
    EXPECT_EQ(Words(m_settings), (std::vector<CString> { "alpha", "beta" }));
    Search(" Alpha Beta ", FIND_TYPE_ANY_WORD, TRUE);
    EXPECT_EQ(Words(m_settings), (std::vector<CString> { "Alpha", "Beta" }));
    Search(" Alpha Beta ", FIND_TYPE_PHRASE);
    EXPECT_EQ(Words(m_settings), (std::vector<CString> { "alpha beta" }));
    Search("Alpha", 5);
    EXPECT_TRUE(Words(m_settings).empty());
    Search("   ", FIND_TYPE_PHRASE);
    EXPECT_TRUE(Words(m_settings).empty());
}
