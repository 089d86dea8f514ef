// The keywords and systems sheet and the group check tree over a large
// catalog, each against its reference in the same run, on the headless
// display: the benchmark data set (its 20 systems of 25 groups) with three
// groups below each group (2 000 groups in three levels), 5 000 keywords and
// 20 000 keyword links (ten per group; groups search by file name).
//
// - keyword_sheet_open: the sheet made and shown with both pages filled,
//   against reading the same data through the store into standard
//   containers (every node, level by level in name order, with its
//   keywords, and the keywords of the searching nodes by text);
// - keyword_sheet_ok: the first page's OK storing 1 000 systems each given a
//   new keyword, against the same links made directly;
// - group_tree_fill: the group check tree filled and checked from a rights
//   map of 200 groups, against the sorted walk of the same nodes keeping
//   what the tree keeps (each node's copy, name, pictures, check state and
//   place) in standard containers, with the map's checks applied there.
//
// Prints "name: value" lines: milliseconds (the median of the runs), ratios
// (the median of the runs' own ratios) and the goals with whether they are
// met. Figures are meant from a Release build.

#include "bench/BenchCatalogData.h"
#include "bench/BenchTiming.h"
#include "catalog/CKeywordTypeMap.h"
#include "dialogs/groups/CSystemKeywordsPropSheet.h"
#include "platform/base/PathMap.h"
#include "platform/base/ResourceModule.h"
#include "platform/framework/CRect.h"
#include "platform/framework/CWinThread.h"
#include "store/CCatalog.h"
#include "store/CKeywordRec.h"
#include "store/CNodeInfoRec.h"
#include "store/CNodeRec.h"
#include "store/CatalogColumns.h"
#include "store/CatalogTypes.h"
#include "tests/support/ScopedVariable.h"
#include "tests/support/ScratchFolder.h"
#include "webaccess/dialogs/CGroupCheckTreeCtrl.h"

#include <cstdio>
#include <filesystem>
#include <map>
#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

namespace {

constexpr int RUNS = 11;
constexpr int DOCUMENTS = 500;
constexpr int SUBGROUPS = 3;
constexpr int KEYWORDS = 5000;
constexpr int LINKS_PER_GROUP = 10;
constexpr int CHANGED_SYSTEMS = 1000;
constexpr int CHECKED_GROUPS = 200;
constexpr WORD SEARCH_BY_NAME = 0x01;
constexpr double GOAL_OPEN_RATIO = 2.0;
constexpr double GOAL_OPEN_MS = 1000.0;
constexpr double GOAL_OK_RATIO = 1.3;
constexpr double GOAL_TREE_RATIO = 2.0;
constexpr CSortSpec NAME_ORDER { COLUMN_NAME, 1, 1 };

std::string KeywordText(int n)
{
    return "keyword" + std::to_string(n);
}

void Require(bool bDone, const char* pszWhat)
{
    if (!bDone) {
        bench::Fail(pszWhat);
        std::exit(1);
    }
}

// The three-level groups, the keywords and their links.
void FillKeywords(CCatalog& catalog)
{
    std::unique_ptr<CNodeRec> pRoot(CNodeRec::NewRootNodeRec(&catalog));
    CNodeRecArray second;
    for (auto& pSystem : pRoot->GetChildren())
        for (auto& pGroup : pSystem->GetChildren())
            second.push_back(std::move(pGroup));
    CNodeRecArray groups;
    for (auto& pGroup : second) {
        for (int n = 0; n < SUBGROUPS; ++n) {
            CNodeInfo info {};
            MakeDefaultNames(&info);
            std::snprintf(info.szName, sizeof info.szName, "part %d", n);
            info.wSearchType = SEARCH_BY_NAME;
            std::unique_ptr<CNodeRec> pChild(pGroup->FindOrAddChild(info));
            Require(pChild != nullptr, "cannot add a group");
            groups.push_back(std::move(pChild));
        }
        CNodeInfo info {};
        Require(pGroup->GetInfo(&info) != nullptr, "cannot read a group");
        info.wSearchType = SEARCH_BY_NAME;
        Require(pGroup->UpdateInfo(info), "cannot write a group");
        groups.push_back(std::move(pGroup));
    }
    std::vector<std::unique_ptr<CKeywordRec>> keywords;
    for (int n = 0; n < KEYWORDS; ++n) {
        keywords.emplace_back(catalog.CreateKeyword(KeywordText(n).c_str()));
        Require(keywords.back() != nullptr, "cannot add a keyword");
    }
    for (size_t g = 0; g < groups.size(); ++g)
        for (int j = 0; j < LINKS_PER_GROUP; ++j)
            Require(
                groups[g]->LinkKeyword(keywords[(g * LINKS_PER_GROUP + j) % KEYWORDS].get()), "cannot link a keyword");
}

/* The sheet's opening. */

double TimeSheetOpen(CWnd& owner, CCatalog& catalog, std::unique_ptr<CSystemKeywordsPropSheet>& pSheet)
{
    return Milliseconds([&] {
        pSheet = std::make_unique<CSystemKeywordsPropSheet>(&catalog, &owner);
        Require(pSheet->Create(&owner, WS_POPUP | WS_CAPTION | WS_VISIBLE) != FALSE, "no sheet");
        pSheet->UpdateWindow();
    });
}

// What both pages read, into standard containers.
struct CReadData {
    std::vector<std::pair<std::unique_ptr<CNodeRec>, std::vector<std::string>>> nodes;
    std::map<std::string, std::vector<CRecordRef>> systemsOfKeyword;
};

void ReadLevel(const CNodeRec& node, CReadData& data)
{
    for (auto& pChild : node.GetSortedChildren(&NAME_ORDER)) {
        std::vector<std::string> words;
        for (const auto& pKeyword : pChild->GetKeywords())
            words.emplace_back(static_cast<LPCTSTR>(pKeyword->GetText()));
        const CNodeRec* pView = pChild.get();
        data.nodes.emplace_back(std::move(pChild), std::move(words));
        ReadLevel(*pView, data);
    }
}

double TimeRead(CCatalog& catalog)
{
    CReadData data;
    return Milliseconds([&] {
        std::unique_ptr<CNodeRec> pRoot(CNodeRec::NewRootNodeRec(&catalog));
        ReadLevel(*pRoot, data);
        CKeywordTypeMap map(&catalog, 0x0F);
        POSITION pos = map.GetStartPosition();
        while (pos) {
            CString strKey;
            void* pValue = nullptr;
            map.GetNextAssoc(pos, strKey, pValue);
            auto& refs = data.systemsOfKeyword[static_cast<LPCTSTR>(strKey)];
            for (const auto& pNode : *static_cast<const CNodeRecArray*>(pValue))
                refs.push_back(pNode->GetRef());
        }
    });
}

/* OK with changed systems. */

// Gives the first CHANGED_SYSTEMS items of the sheet's tree the keyword pszWord.
void ChangeSystems(CKeywordTreeCtrl& tree, LPCTSTR pszWord)
{
    int nChanged = 0;
    std::vector<HTREEITEM> pending { tree.GetRootItem() };
    while (!pending.empty() && nChanged < CHANGED_SYSTEMS) {
        HTREEITEM hItem = pending.back();
        pending.pop_back();
        for (; hItem != nullptr && nChanged < CHANGED_SYSTEMS; hItem = tree.GetNextSiblingItem(hItem)) {
            CKeywordTreeItem* pRecord = tree.GetItemRecord(hItem);
            if (!pRecord->pKeywords)
                pRecord->pKeywords = std::make_unique<CStringArray>();
            pRecord->pKeywords->Add(pszWord);
            pRecord->bModified = TRUE;
            ++nChanged;
            if (HTREEITEM hChild = tree.GetChildItem(hItem))
                pending.push_back(hChild);
        }
    }
}

double TimeDirectLinks(CCatalog& catalog, const CNodeRecArray& nodes, LPCTSTR pszWord)
{
    return Milliseconds([&] {
        std::unique_ptr<CKeywordRec> pKeyword(catalog.FindKeywordNoCase(pszWord));
        if (!pKeyword)
            pKeyword.reset(catalog.CreateKeyword(pszWord));
        for (size_t n = 0; n < nodes.size() && n < CHANGED_SYSTEMS; ++n)
            Require(nodes[n]->LinkKeyword(pKeyword.get()), "cannot link");
    });
}

/* The group check tree. */

double TimeGroupTree(CGroupCheckTreeCtrl& tree, CCatalog& catalog, const CWAGroupRightsMap& map)
{
    const double dMs = Milliseconds([&] {
        tree.FillGroups(&catalog, FALSE);
        tree.SetChecks(map);
    });
    tree.DeleteAllItems();
    return dMs;
}

void WalkSorted(const CNodeRec& node, CNodeRecArray& nodes)
{
    for (auto& pChild : node.GetSortedChildren(&NAME_ORDER)) {
        const CNodeRec* pView = pChild.get();
        nodes.push_back(std::move(pChild));
        WalkSorted(*pView, nodes);
    }
}

// The group tree's content in standard containers: what the control holds
// for each node (its copy, name, pictures, check state, place in the tree)
// and the checks of the rights map applied the way the control applies them.
struct CPlainGroup {
    std::unique_ptr<CNodeRec> pNode;
    std::string strName;
    int nImage;
    int nSelectedImage;
    int nState;
    size_t nParent;
    std::vector<size_t> children;
    bool bExpanded;
};

struct CPlainGroupTree {
    static constexpr size_t NO_PARENT = static_cast<size_t>(-1);
    static constexpr int UNCHECKED = 2;
    static constexpr int CHECKED_PARTLY = 3;
    static constexpr int UNCHECKED_PARTLY = 4;
    static constexpr int CHECKED = 5;

    std::vector<CPlainGroup> groups;
    std::unordered_map<ULONGLONG, size_t> groupOfNode;

    void Fill(const CNodeRec& node, size_t nParent)
    {
        for (auto& pChild : node.GetSortedChildren(&NAME_ORDER)) {
            const bool bTop = nParent == NO_PARENT;
            const int nImage = bTop ? static_cast<int>(pChild->GetKind()) : 2;
            const CRecordRef ref = pChild->GetRef();
            const CNodeRec* pView = pChild.get();
            const size_t nGroup = groups.size();
            groups.push_back({ std::move(pChild), static_cast<LPCTSTR>(pView->GetName()), nImage, bTop ? nImage + 1 : 3,
                UNCHECKED, nParent, {}, false });
            if (!bTop)
                groups[nParent].children.push_back(nGroup);
            groupOfNode.try_emplace((static_cast<ULONGLONG>(ref.nBlock) << 32) | static_cast<DWORD>(ref.nSlot), nGroup);
            Fill(*pView, nGroup);
        }
    }

    void CheckBelow(size_t nGroup)
    {
        for (const size_t nChild : groups[nGroup].children) {
            groups[nChild].nState = CHECKED;
            CheckBelow(nChild);
        }
    }

    void RecomputeAbove(size_t nGroup)
    {
        for (size_t nUp = groups[nGroup].nParent; nUp != NO_PARENT; nUp = groups[nUp].nParent) {
            bool bAll = true;
            bool bAny = false;
            for (const size_t nChild : groups[nUp].children) {
                const int nChildState = groups[nChild].nState;
                bAll = bAll && nChildState == CHECKED;
                bAny = bAny || nChildState != UNCHECKED;
            }
            int& nState = groups[nUp].nState;
            if (nState == UNCHECKED || nState == UNCHECKED_PARTLY)
                nState = bAny ? UNCHECKED_PARTLY : UNCHECKED;
            else
                nState = bAll ? CHECKED : CHECKED_PARTLY;
        }
    }

    void Apply(const CWAGroupRightsMap& map)
    {
        POSITION pos = map.GetStartPosition();
        while (pos != nullptr) {
            WA_GROUP_KEY key {};
            WORD wValue = 0;
            map.GetNextAssoc(pos, key, wValue);
            const auto found = groupOfNode.find((static_cast<ULONGLONG>(key.nBlock) << 32) | key.nSlot);
            if (key == WA_ALL_GROUPS || found == groupOfNode.end())
                continue;
            CPlainGroup& group = groups[found->second];
            if (wValue == CGroupCheckTreeCtrl::GROUP_WHOLE) {
                group.nState = group.nState == CHECKED_PARTLY ? CHECKED_PARTLY : CHECKED;
                CheckBelow(found->second);
                RecomputeAbove(found->second);
            } else {
                group.nState = wValue == CGroupCheckTreeCtrl::GROUP_PART ? CHECKED_PARTLY : UNCHECKED;
            }
            if (group.nParent != NO_PARENT)
                groups[group.nParent].bExpanded = true;
        }
    }
};

double TimePlainGroupTree(CCatalog& catalog, const CWAGroupRightsMap& map)
{
    CPlainGroupTree tree;
    return Milliseconds([&] {
        std::unique_ptr<CNodeRec> pRoot(CNodeRec::NewRootNodeRec(&catalog));
        tree.Fill(*pRoot, CPlainGroupTree::NO_PARENT);
        tree.Apply(map);
    });
}

void PrintGoal(const char* pszName, double dRatio, double dGoal)
{
    std::printf("%s_ratio: %.2f (goal <= %.1f: %s)\n", pszName, dRatio, dGoal, dRatio <= dGoal ? "met" : "missed");
}

} // namespace

int main()
{
    bench::BeginFailureReports("dialogs_bench");
    const ScratchFolder folder("dialogs_bench.");
    Require(folder.IsValid(), "no scratch folder");
    const ScopedVariable home("ARCHIVORA_HOME", std::filesystem::path(folder.Path()).string());
    const HMODULE hModule = LoadLibrary(ProgramPathFromHostPath(DIALOGS_BENCH_MODULE).c_str());
    Require(hModule != nullptr, "no resource module at " DIALOGS_BENCH_MODULE);
    AfxSetResourceHandle(hModule);

    Require(bench::SetDocumentCount(DOCUMENTS), "bad document count");
    const CString strCatalog
        = ProgramPathFromHostPath((std::filesystem::path(folder.Path()) / "archiv.cat").string()).c_str();
    Require(CCatalog::CreateFile(FALSE, strCatalog, BLOCK_SIZE) != FALSE, "cannot create the catalog");
    CCatalog catalog(strCatalog, 1);
    Require(bench::FillCatalog(catalog), "cannot fill the catalog");
    FillKeywords(catalog);

    CWnd owner;
    Require(owner.CreateEx(
                0, AfxRegisterWndClass(0), "dialogs_bench", WS_POPUP | WS_VISIBLE, 0, 0, 10, 10, nullptr, nullptr)
            != FALSE,
        "no owner window");

    // Once each before timing: fonts, images and the catalog's pages are ready.
    std::unique_ptr<CSystemKeywordsPropSheet> pSheet;
    TimeSheetOpen(owner, catalog, pSheet);
    pSheet->DestroyWindow();
    TimeRead(catalog);

    std::vector<double> openMs, readMs, okMs, linkMs;
    CNodeRecArray directNodes;
    {
        std::unique_ptr<CNodeRec> pRoot(CNodeRec::NewRootNodeRec(&catalog));
        WalkSorted(*pRoot, directNodes);
    }
    for (int nRun = 0; nRun < RUNS; ++nRun) {
        openMs.push_back(TimeSheetOpen(owner, catalog, pSheet));
        readMs.push_back(TimeRead(catalog));
        const std::string strSheetWord = "sheet word " + std::to_string(nRun);
        ChangeSystems(pSheet->m_keywordsOfSystem.GetTree(), strSheetWord.c_str());
        okMs.push_back(Milliseconds([&] { pSheet->m_keywordsOfSystem.OnOK(); }));
        pSheet->DestroyWindow();
        const std::string strDirectWord = "direct word " + std::to_string(nRun);
        linkMs.push_back(TimeDirectLinks(catalog, directNodes, strDirectWord.c_str()));
    }

    CGroupCheckTreeCtrl tree;
    Require(
        tree.Create(WS_CHILD | WS_VISIBLE | TVS_HASBUTTONS | TVS_HASLINES, CRect(0, 0, 300, 400), &owner, 1) != FALSE,
        "no group tree");
    Require(tree.InitImageLists() != FALSE, "no tree pictures");
    CWAGroupRightsMap rights;
    for (int n = 0; n < CHECKED_GROUPS; ++n) {
        const CRecordRef ref = directNodes[static_cast<size_t>(n * 7 % directNodes.size())]->GetRef();
        rights.SetAt(WA_GROUP_KEY { static_cast<DWORD>(ref.nBlock), static_cast<DWORD>(ref.nSlot) },
            n % 2 == 0 ? CGroupCheckTreeCtrl::GROUP_WHOLE : CGroupCheckTreeCtrl::GROUP_PART);
    }
    TimeGroupTree(tree, catalog, rights);
    TimePlainGroupTree(catalog, rights);
    std::vector<double> treeMs, plainMs;
    for (int nRun = 0; nRun < RUNS; ++nRun) {
        treeMs.push_back(TimeGroupTree(tree, catalog, rights));
        plainMs.push_back(TimePlainGroupTree(catalog, rights));
    }
    tree.DestroyWindow();
    owner.DestroyWindow();
    if (bench::HasFailed())
        return 1;

    std::printf("groups: %zu\n", directNodes.size() - bench::SYSTEM_COUNT);
    std::printf("keywords: %d\n", KEYWORDS);
    std::printf("keyword_links: %zu\n", (directNodes.size() - bench::SYSTEM_COUNT) * LINKS_PER_GROUP);
    std::printf("keyword_sheet_open_ms: %.3f\n", Median(openMs));
    std::printf("keyword_data_read_ms: %.3f\n", Median(readMs));
    PrintGoal("keyword_sheet_open", MedianRatio(openMs, readMs), GOAL_OPEN_RATIO);
    std::printf("keyword_sheet_open_under_1s: %s\n", Median(openMs) < GOAL_OPEN_MS ? "met" : "missed");
    std::printf("keyword_sheet_ok_ms: %.3f\n", Median(okMs));
    std::printf("direct_links_ms: %.3f\n", Median(linkMs));
    PrintGoal("keyword_sheet_ok", MedianRatio(okMs, linkMs), GOAL_OK_RATIO);
    std::printf("group_tree_fill_ms: %.3f\n", Median(treeMs));
    std::printf("group_tree_in_containers_ms: %.3f\n", Median(plainMs));
    PrintGoal("group_tree_fill", MedianRatio(treeMs, plainMs), GOAL_TREE_RATIO);
    return 0;
}
