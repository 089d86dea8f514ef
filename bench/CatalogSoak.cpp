#include "bench/CatalogSoak.h"

#include "platform/base/PathMap.h"
#include "platform/base/ProgramFolder.h"
#include "store/CCatalog.h"
#include "store/CDirectoryRec.h"
#include "store/CDocumentRec.h"
#include "store/CNodeRec.h"
#include "store/CPreferences.h"
#include "store/CatalogCheck.h"
#include "store/CatalogCompaction.h"
#include "webaccess/profiles/CWASettings.h"
#include "webaccess/server/CWACatalogLists.h"

#include <algorithm>
#include <chrono>
#include <csignal>
#include <cstring>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <map>
#include <random>
#include <set>
#include <sstream>
#include <string>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

namespace {

constexpr int PUBLIC_GROUPS = 4;            // "pub0".. below "Public": granted with everything below them
constexpr int SECRET_GROUPS = 4;            // "sec0".. below "Secret", each with a sub-group "sec<n>a": never granted
constexpr std::size_t MANY_DOCUMENTS = 300; // above this, deleting is chosen more often
constexpr std::size_t MAX_TEMPORARY_GROUPS = 40; // groups "t..." made and deleted again
constexpr char DOCUMENT_FOLDER[] = "c:\\soak\\";
constexpr std::size_t LONG_NAME_PADDING = 150; // makes a name that needs continuation pieces

// What the catalog holds, by names: each group's documents. A document
// linked nowhere is not in it.
struct CSoakModel {
    std::map<std::string, std::string> groups;          // group -> parent group ("" for one of the fixed ones)
    std::map<std::string, std::set<std::string>> links; // group -> documents

    std::set<std::string> Documents() const
    {
        std::set<std::string> documents;
        for (const auto& [strGroup, linked] : links)
            documents.insert(linked.begin(), linked.end());
        return documents;
    }
};

// Whether the profile grants the group: it is one of the public groups or lies below one.
bool IsGranted(const CSoakModel& model, std::string strGroup)
{
    for (std::size_t nDepth = 0; nDepth <= model.groups.size(); ++nDepth) {
        if (strGroup.rfind("pub", 0) == 0)
            return true;
        auto it = model.groups.find(strGroup);
        if (it == model.groups.end())
            return false;
        strGroup = it->second;
    }
    return false;
}

// The group and every group below it.
std::set<std::string> Subtree(const CSoakModel& model, const std::string& strTop)
{
    std::set<std::string> subtree { strTop };
    for (bool bGrown = true; bGrown;) {
        bGrown = false;
        for (const auto& [strGroup, strParent] : model.groups)
            bGrown |= subtree.contains(strParent) && subtree.insert(strGroup).second;
    }
    return subtree;
}

// One write, as the log line names it: a kind letter and up to three names.
//   A doc group     the document is added and linked under the group
//   L doc group     linked under one more group
//   M doc from to   linked under `to`, then unlinked from `from`
//   U doc group     unlinked from the group
//   D doc           unlinked everywhere and deleted
//   N group parent  a new group below parent
//   X group         the group deleted
//   R               both catalogs rebuilt
struct CSoakWrite {
    char cKind { 0 };
    std::vector<std::string> names;

    std::string Line() const
    {
        std::string strLine(1, cKind);
        for (const std::string& strName : names)
            strLine += " " + strName;
        return strLine + "\n";
    }
    // The write of a log line; kind 0 for a line that names none.
    static CSoakWrite Parse(const std::string& strLine)
    {
        std::istringstream in(strLine);
        CSoakWrite write;
        in >> write.cKind;
        for (std::string strName; in >> strName;)
            write.names.push_back(strName);
        const std::string strKinds = "RDXAULNM";
        const std::size_t nNames[] = { 0, 1, 1, 2, 2, 2, 2, 3 };
        const std::size_t nKind = strKinds.find(write.cKind);
        return nKind != std::string::npos && write.names.size() == nNames[nKind] ? write : CSoakWrite {};
    }
    // The document or group whose links a cut of the write leaves uncertain:
    // the first name (none for a rebuild, which changes nothing a user sees).
    std::set<std::string> Touched() const
    {
        return names.empty() ? std::set<std::string> {} : std::set<std::string> { names[0] };
    }
};

void Apply(const CSoakWrite& write, CSoakModel& model)
{
    const auto& n = write.names;
    switch (write.cKind) {
    case 'A':
    case 'L':
        model.links[n[1]].insert(n[0]);
        break;
    case 'M':
        model.links[n[2]].insert(n[0]);
        model.links[n[1]].erase(n[0]);
        break;
    case 'U':
        model.links[n[1]].erase(n[0]);
        break;
    case 'D':
        for (auto& [strGroup, linked] : model.links)
            linked.erase(n[0]);
        break;
    case 'N':
        model.groups[n[0]] = n[1];
        break;
    case 'X':
        for (const std::string& strGroup : Subtree(model, n[0])) {
            model.groups.erase(strGroup);
            model.links.erase(strGroup);
        }
        break;
    default:
        break;
    }
}

// Rebuilds take long: only every fourth writer makes them, so that most kills
// land among the other writes.
bool IsRebuildRound(int nRound)
{
    return nRound % 4 == 0;
}

std::string DocumentName(const CDocumentRec& document)
{
    CString strName;
    document.GetFullPath(strName);
    return std::string(strName);
}

// Where a group lies: its node and the name of its parent ("" below the root).
struct CGroupPlace {
    CRecordRef ref;
    std::string strParent;
};

void CollectGroups(CNodeRec& node, const std::string& strName, std::map<std::string, CGroupPlace>* pGroups)
{
    for (auto& pChild : node.GetChildren()) {
        const std::string strChild(pChild->GetName());
        if (strChild.empty())
            continue; // a node without a name is none of the soak's groups
        (*pGroups)[strChild] = { pChild->GetRef(), strName };
        CollectGroups(*pChild, strChild, pGroups);
    }
}

// Every group below the root, by name.
std::map<std::string, CGroupPlace> FindGroups(CCatalog& catalog)
{
    std::map<std::string, CGroupPlace> groups;
    std::unique_ptr<CNodeRec> pRoot(CNodeRec::NewRootNodeRec(&catalog));
    if (pRoot)
        CollectGroups(*pRoot, "", &groups);
    return groups;
}

CNodeInfo GroupInfo(const std::string& strName)
{
    CNodeInfo info;
    MakeDefaultNames(&info);
    std::strncpy(info.szName, strName.c_str(), sizeof info.szName - 1);
    return info;
}

/******************************************************************************
 * The writer, in the child process
 ******************************************************************************/

class CSoakWriter {
public:
    CSoakWriter(const std::string& strMain, const std::string& strRecycle, CSoakModel model, unsigned nSeed, int nRound)
        : m_strMain(strMain)
        , m_strRecycle(strRecycle)
        , m_model(std::move(model))
        , m_random(nSeed)
        , m_nRound(nRound)
    {
    }

    // Writes until killed; returns only when a write failed.
    void Run(int fdLog)
    {
        Open();
        for (int nWrite = 0;; ++nWrite) {
            CSoakWrite write = Choose(nWrite);
            const std::string strLine = write.Line();
            if (::write(fdLog, strLine.data(), strLine.size()) != static_cast<ssize_t>(strLine.size())
                || !Perform(write))
                return;
            Apply(write, m_model);
            if (::write(fdLog, "ok\n", 3) != 3)
                return;
        }
    }

private:
    void Open()
    {
        m_pCatalog = std::make_unique<CCatalog>(m_strMain.c_str(), 0);
        m_groups = FindGroups(*m_pCatalog);
    }

    std::string Pick(const std::vector<std::string>& names)
    {
        return names[std::uniform_int_distribution<std::size_t>(0, names.size() - 1)(m_random)];
    }
    std::vector<std::string> GroupNames(bool bTemporaryOnly) const
    {
        std::vector<std::string> names;
        for (const auto& [strGroup, strParent] : m_model.groups) {
            if (!bTemporaryOnly || strGroup[0] == 't')
                names.push_back(strGroup);
        }
        return names;
    }
    std::vector<std::string> GroupsOf(const std::string& strDocument) const
    {
        std::vector<std::string> groups;
        for (const auto& [strGroup, linked] : m_model.links) {
            if (linked.contains(strDocument))
                groups.push_back(strGroup);
        }
        return groups;
    }

    CSoakWrite Choose(int nWrite)
    {
        const std::set<std::string> documentSet = m_model.Documents();
        const std::vector<std::string> documents(documentSet.begin(), documentSet.end());
        const std::vector<std::string> groups = GroupNames(false);
        const std::vector<std::string> temporary = GroupNames(true);
        const int nRoll = std::uniform_int_distribution<int>(0, 999)(m_random);
        if (IsRebuildRound(m_nRound) && nRoll < 4)
            return { 'R', {} };
        if (nRoll < 40 && temporary.size() < MAX_TEMPORARY_GROUPS)
            return { 'N', { "t" + std::to_string(m_nRound) + "x" + std::to_string(nWrite), Pick(groups) } };
        if (nRoll < 70 && !temporary.empty())
            return { 'X', { Pick(temporary) } };
        if (documents.empty() || nRoll < 300) {
            // Every third name is long enough for continuation pieces.
            const std::string strName = "r" + std::to_string(m_nRound) + "w" + std::to_string(nWrite)
                + (nWrite % 3 == 0 ? std::string(LONG_NAME_PADDING, 'x') : "") + ".txt";
            return { 'A', { strName, Pick(groups) } };
        }
        const std::string strDocument = Pick(documents);
        const std::vector<std::string> linked = GroupsOf(strDocument);
        const std::string strOther = Pick(groups);
        const bool bLinkedToOther = std::find(linked.begin(), linked.end(), strOther) != linked.end();
        if (nRoll < 450 && documents.size() > MANY_DOCUMENTS)
            return { 'D', { strDocument } };
        if (nRoll < 550 && !bLinkedToOther)
            return { 'L', { strDocument, strOther } };
        if (nRoll < 750 && !bLinkedToOther)
            return { 'M', { strDocument, Pick(linked), strOther } };
        if (nRoll < 850)
            return { 'U', { strDocument, Pick(linked) } };
        return { 'D', { strDocument } };
    }

    std::unique_ptr<CNodeRec> Group(const std::string& strName)
    {
        auto it = m_groups.find(strName);
        if (it == m_groups.end())
            return nullptr;
        const CRecordRef ref = it->second.ref;
        auto pNode = std::make_unique<CNodeRec>(m_pCatalog.get(), ref.nBlock, ref.nSlot);
        return pNode->IsValid() ? std::move(pNode) : nullptr;
    }
    std::unique_ptr<CDocumentRec> Document(const std::string& strName)
    {
        return std::unique_ptr<CDocumentRec>(m_pCatalog->FindPath((DOCUMENT_FOLDER + strName).c_str()));
    }

    // One write, one user action: committed whole when it returns.
    bool Perform(const CSoakWrite& write)
    {
        if (write.cKind == 'R')
            return PerformRebuild();
        CCatalogAction action(m_pCatalog.get());
        return action.Finish(PerformInAction(write) ? TRUE : FALSE) != FALSE;
    }

    bool PerformRebuild()
    {
        m_pCatalog.reset();
        const BOOL bRebuilt = RebuildCatalogFiles(m_strMain.c_str(), m_strRecycle.c_str());
        Open();
        return bRebuilt;
    }

    bool PerformInAction(const CSoakWrite& write)
    {
        const auto& n = write.names;
        switch (write.cKind) {
        case 'A': {
            auto pGroup = Group(n[1]);
            return pGroup
                && std::unique_ptr<CDocumentRec>(
                    m_pCatalog->FindOrAddPath(pGroup.get(), (DOCUMENT_FOLDER + n[0]).c_str()));
        }
        case 'L': {
            auto pGroup = Group(n[1]);
            auto pDocument = Document(n[0]);
            return pGroup && pDocument && pGroup->AddDocument(pDocument.get());
        }
        case 'M': {
            auto pFrom = Group(n[1]);
            auto pTo = Group(n[2]);
            auto pDocument = Document(n[0]);
            return pFrom && pTo && pDocument && pTo->AddDocument(pDocument.get())
                && pFrom->DeleteLinks(pDocument.get());
        }
        case 'U': {
            auto pGroup = Group(n[1]);
            auto pDocument = Document(n[0]);
            return pGroup && pDocument && pGroup->DeleteLinks(pDocument.get());
        }
        case 'D': {
            auto pDocument = Document(n[0]);
            return pDocument && pDocument->ForEachLinkedNode(NO_BLOCK, NO_SLOT, FALSE);
        }
        case 'N': {
            auto pParent = Group(n[1]);
            std::unique_ptr<CNodeRec> pChild(pParent ? pParent->AddChild(GroupInfo(n[0])) : nullptr);
            if (pChild)
                m_groups[n[0]] = { pChild->GetRef(), n[1] };
            return pChild != nullptr;
        }
        case 'X': {
            auto pGroup = Group(n[0]);
            return pGroup && pGroup->DeleteSubtree(TRUE);
        }
        default:
            return false;
        }
    }

    const std::string m_strMain;
    const std::string m_strRecycle;
    CSoakModel m_model;
    std::mt19937 m_random;
    const int m_nRound;
    std::unique_ptr<CCatalog> m_pCatalog;
    std::map<std::string, CGroupPlace> m_groups; // group name -> node
};

} // namespace

/******************************************************************************
 * The rounds
 ******************************************************************************/

class CCatalogSoak::CState {
public:
    CState(unsigned nSeed, int nMaxKillMs)
        : m_random(nSeed)
        , m_nMaxKillMs(nMaxKillMs)
    {
        const std::string strFolder = GetProgramFolderHostPath();
        m_strMain = ProgramPathFromHostPath(strFolder + "/archiv.cat");
        m_strRecycle = ProgramPathFromHostPath(strFolder + "/winrec.cat");
        m_strLog = strFolder + "/soak.log";
        thePreferences.AttachWebSettings(&m_settings);
    }
    ~CState() { thePreferences.AttachWebSettings(nullptr); }

    bool Start();
    bool RunRound();

    CCatalogSoakFigures m_figures;

private:
    // The writes the log names as finished, and the one it was killed in (kind 0 when none).
    bool ReadLog(std::vector<CSoakWrite>* pDone, CSoakWrite* pCut) const;
    // Makes each catalog file and journal the kill left another file of the
    // same name and bytes, as a copy of the program folder holds them.
    bool CopyFolder() const;
    // Starts the program's side again and reads what the catalog holds; counts
    // what the checks find against expected, ignoring what `touched` names.
    void CheckAfterKill(const CSoakModel& expected, const std::set<std::string>& touched);
    void CheckGrants(CCatalog& catalog);
    void CheckSession(CCatalog& catalog, const CSoakModel& expected, const std::set<std::string>& touched);

    std::mt19937 m_random;
    const int m_nMaxKillMs;
    std::string m_strMain;
    std::string m_strRecycle;
    std::string m_strLog;
    CWASettings m_settings;
    CSoakModel m_model;                 // what the catalog held after the last round
    int m_nMiscountsFound { 0 };        // miscounted directories the last check found
    int m_nExpiryMismatchesFound { 0 }; // expiry mismatches the last check found
    int m_nRound { 0 };
};

bool CCatalogSoak::CState::Start()
{
    if (!CCatalog::CreateFile(FALSE, m_strMain.c_str(), BLOCK_SIZE)
        || !CCatalog::CreateFile(TRUE, m_strRecycle.c_str(), BLOCK_SIZE))
        return false;
    CWAGroupRightsMap rights;
    {
        CCatalog catalog(m_strMain.c_str(), 0);
        std::unique_ptr<CNodeRec> pRoot(CNodeRec::NewRootNodeRec(&catalog));
        // The secret groups come first, so that a rebuild moves the public ones.
        for (const char* pszSystem : { "Secret", "Public" }) {
            std::unique_ptr<CNodeRec> pSystem(pRoot ? pRoot->AddChild(GroupInfo(pszSystem)) : nullptr);
            if (!pSystem)
                return false;
            const bool bPublic = std::string(pszSystem) == "Public";
            for (int n = 0; n < (bPublic ? PUBLIC_GROUPS : SECRET_GROUPS); ++n) {
                const std::string strGroup = (bPublic ? "pub" : "sec") + std::to_string(n);
                std::unique_ptr<CNodeRec> pGroup(pSystem->AddChild(GroupInfo(strGroup)));
                if (!pGroup)
                    return false;
                m_model.groups[strGroup] = pszSystem;
                if (bPublic) {
                    rights.SetAt({ static_cast<DWORD>(pGroup->GetBlock()), static_cast<DWORD>(pGroup->GetSlot()) },
                        WA_GROUP_WHOLE);
                    continue;
                }
                std::unique_ptr<CNodeRec> pSub(pGroup->AddChild(GroupInfo(strGroup + "a")));
                if (!pSub)
                    return false;
                m_model.groups[strGroup + "a"] = strGroup;
            }
        }
    }
    auto pProfile = std::make_unique<CWAProfiles>();
    pProfile->SetIdentity("soak", "soak", "");
    pProfile->SetPermissions(TRUE, FALSE, 1);
    pProfile->SetGroupRights(rights);
    m_settings.m_profiles.clear();
    m_settings.m_profiles.push_back(std::move(pProfile));
    return thePreferences.SaveWebSettings() != FALSE;
}

bool CCatalogSoak::CState::RunRound()
{
    const int nRound = ++m_nRound;
    const unsigned nWriterSeed = static_cast<unsigned>(m_random());
    // A writer that rebuilds gets longer, as a rebuild takes longer than a thousand other writes.
    const int nKillMs
        = std::uniform_int_distribution<int>(1, m_nMaxKillMs * (IsRebuildRound(nRound) ? 8 : 1))(m_random);
    const int fdLog = ::open(m_strLog.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_APPEND, 0600);
    if (fdLog < 0)
        return false;
    const pid_t pid = fork();
    if (pid < 0) {
        ::close(fdLog);
        return false;
    }
    if (pid == 0) {
        CSoakWriter(m_strMain, m_strRecycle, m_model, nWriterSeed, nRound).Run(fdLog);
        _exit(2);
    }
    ::close(fdLog);
    // The writer is killed after nKillMs, or has stopped on its own before.
    int nStatus = 0;
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(nKillMs);
    pid_t nDone = 0;
    while ((nDone = waitpid(pid, &nStatus, WNOHANG)) == 0 && std::chrono::steady_clock::now() < deadline)
        usleep(200);
    if (nDone == 0) {
        kill(pid, SIGKILL);
        nDone = waitpid(pid, &nStatus, 0);
    }
    if (nDone != pid)
        return false;
    if (!WIFSIGNALED(nStatus))
        ++m_figures.nWriterFailures;
    ++m_figures.nKills;

    std::vector<CSoakWrite> done;
    CSoakWrite cut;
    if (!ReadLog(&done, &cut))
        return false;
    CSoakModel expected = m_model;
    for (const CSoakWrite& write : done) {
        Apply(write, expected);
        m_figures.nRebuilds += write.cKind == 'R' ? 1 : 0;
    }
    m_figures.nWrites += static_cast<long>(done.size());
    m_figures.nRebuildKills += cut.cKind == 'R' ? 1 : 0;
    // A group cut in its deleting may have lost any of its sub-groups' links too.
    std::set<std::string> touched = cut.Touched();
    if (cut.cKind == 'X')
        touched = Subtree(expected, cut.names[0]);
    // Every other kill is checked in a copy of the folder.
    if (nRound % 2 == 0) {
        if (!CopyFolder())
            return false;
        ++m_figures.nCopies;
    }
    CheckAfterKill(expected, touched);
    return true;
}

bool CCatalogSoak::CState::CopyFolder() const
{
    for (const std::string& strPath : { m_strMain, m_strRecycle, m_strMain + ".jnl", m_strRecycle + ".jnl" }) {
        std::string strHost;
        if (!HostPathFromProgramPath(strPath.c_str(), strHost))
            return false;
        std::error_code ec;
        if (!std::filesystem::exists(strHost, ec))
            continue;
        // The copy is made while the file still exists, so that it is another file.
        const std::string strCopy = strHost + ".copy";
        std::filesystem::copy_file(strHost, strCopy, std::filesystem::copy_options::overwrite_existing, ec);
        if (!ec)
            std::filesystem::rename(strCopy, strHost, ec);
        if (ec)
            return false;
    }
    return true;
}

bool CCatalogSoak::CState::ReadLog(std::vector<CSoakWrite>* pDone, CSoakWrite* pCut) const
{
    std::ifstream in(m_strLog);
    if (!in)
        return false;
    std::string strLine;
    while (std::getline(in, strLine)) {
        if (strLine == "ok") {
            pDone->push_back(*pCut);
            *pCut = {};
        } else {
            *pCut = CSoakWrite::Parse(strLine);
        }
    }
    return true;
}

void CCatalogSoak::CState::CheckAfterKill(const CSoakModel& expected, const std::set<std::string>& touched)
{
    // The program starts again: settings loaded, a stopped rebuild settled.
    thePreferences.Load();
    if (!SettleRebuildReferences(m_strMain.c_str()))
        ++m_figures.nGrantErrors;
    CCatalogCheckReport report, recycleReport;
    if (!CheckCatalogFile(m_strMain.c_str(), CATALOG_KIND_MAIN, &report)
        || !CheckCatalogFile(m_strRecycle.c_str(), CATALOG_KIND_RECYCLE, &recycleReport)) {
        ++m_figures.nCheckFailures;
        return; // nothing more can be trusted
    }
    // What a kill leaves stays until a rebuild: each is counted by the kill that made it.
    const int nMiscounts = report.nMiscountedDirectories + recycleReport.nMiscountedDirectories;
    const int nExpiryMismatches = report.nExpiryMismatches + recycleReport.nExpiryMismatches;
    m_figures.nMiscounts += std::max(0, nMiscounts - m_nMiscountsFound);
    m_figures.nExpiryMismatches += std::max(0, nExpiryMismatches - m_nExpiryMismatchesFound);
    m_nMiscountsFound = nMiscounts;
    m_nExpiryMismatchesFound = nExpiryMismatches;
    CCatalog catalog(m_strMain.c_str(), 0);
    CSoakModel found;
    for (const auto& [strGroup, place] : FindGroups(catalog)) {
        CNodeRec group(&catalog, place.ref.nBlock, place.ref.nSlot);
        found.groups[strGroup] = place.strParent;
        for (const auto& pDocument : group.GetDocuments())
            found.links[strGroup].insert(DocumentName(*pDocument));
    }
    // Every link, expected or found, must be in both, unless the cut write touched it.
    std::set<std::pair<std::string, std::string>> wanted, present;
    for (const auto& [strGroup, linked] : expected.links) {
        for (const std::string& strDocument : linked)
            wanted.emplace(strGroup, strDocument);
    }
    for (const auto& [strGroup, linked] : found.links) {
        for (const std::string& strDocument : linked)
            present.emplace(strGroup, strDocument);
    }
    auto untouched = [&](const std::pair<std::string, std::string>& link) {
        return !touched.contains(link.first) && !touched.contains(link.second);
    };
    for (const auto& link : wanted)
        m_figures.nLosses += untouched(link) && !present.contains(link) ? 1 : 0;
    for (const auto& link : present)
        m_figures.nPhantoms += untouched(link) && !wanted.contains(link) ? 1 : 0;
    for (const auto& [strGroup, strParent] : expected.groups)
        m_figures.nLosses += !touched.contains(strGroup) && !found.groups.contains(strGroup) ? 1 : 0;
    CheckGrants(catalog);
    CheckSession(catalog, expected, touched);
    // The next round starts from what is there.
    m_model.groups = found.groups;
    m_model.links = found.links;
}

void CCatalogSoak::CState::CheckGrants(CCatalog& catalog)
{
    if (m_settings.m_profiles.size() != 1) {
        ++m_figures.nGrantErrors;
        return;
    }
    std::set<std::string> granted;
    const CWAGroupRightsMap& rights = m_settings.m_profiles[0]->GetGroupRights();
    for (POSITION pos = rights.GetStartPosition(); pos;) {
        WA_GROUP_KEY key {};
        WORD nValue = 0;
        rights.GetNextAssoc(pos, key, nValue);
        CNodeRec node(&catalog, static_cast<CATBLOCK>(key.nBlock), static_cast<LONG>(key.nSlot));
        const std::string strName = node.IsValid() ? std::string(node.GetName()) : "";
        if (strName.rfind("pub", 0) != 0)
            ++m_figures.nGrantErrors;
        granted.insert(strName);
    }
    if (granted.size() != PUBLIC_GROUPS)
        ++m_figures.nGrantErrors;
}

void CCatalogSoak::CState::CheckSession(
    CCatalog& catalog, const CSoakModel& expected, const std::set<std::string>& touched)
{
    if (m_settings.m_profiles.size() != 1)
        return;
    CWACatalogLists lists(catalog, m_settings.m_profiles[0]->GetGroupRights());
    std::set<std::string> publicDocuments; // documents the expected catalog links under a granted group
    for (const auto& [strGroup, linked] : expected.links) {
        if (IsGranted(expected, strGroup))
            publicDocuments.insert(linked.begin(), linked.end());
    }
    auto allowed = [&](const std::string& strGroup, const std::string& strDocument) {
        if (touched.contains(strDocument) || touched.contains(strGroup))
            return true;
        auto it = expected.links.find(strGroup);
        return IsGranted(expected, strGroup) && it != expected.links.end() && it->second.contains(strDocument);
    };
    // The pages and the search: each group's list.
    for (const auto& [strGroup, place] : FindGroups(catalog)) {
        CNodeRec group(&catalog, place.ref.nBlock, place.ref.nSlot);
        for (const auto& pDocument : lists.GetDocumentList(group))
            m_figures.nLeaks += allowed(strGroup, DocumentName(*pDocument)) ? 0 : 1;
    }
    // A download by reference: every document of the file.
    CRecordRef cursor { ROOT_BLOCK_DIRECTORY, NO_SLOT };
    while (catalog.NextRecord(&cursor)) {
        CDirectoryRec directory(&catalog, cursor);
        for (std::unique_ptr<CDocumentRec> pDocument(directory.FirstDocument()); pDocument;
             pDocument.reset(directory.NextDocument())) {
            const std::string strName = DocumentName(*pDocument);
            if (lists.IsDocumentVisible(*pDocument) && !publicDocuments.contains(strName) && !touched.contains(strName))
                ++m_figures.nLeaks;
        }
    }
}

CCatalogSoak::CCatalogSoak(unsigned nSeed, int nMaxKillMs)
    : m_pState(std::make_unique<CState>(nSeed, nMaxKillMs))
{
}

CCatalogSoak::~CCatalogSoak() = default;

bool CCatalogSoak::Start()
{
    return m_pState->Start();
}

bool CCatalogSoak::RunRound()
{
    return m_pState->RunRound();
}

const CCatalogSoakFigures& CCatalogSoak::GetFigures() const
{
    return m_pState->m_figures;
}
