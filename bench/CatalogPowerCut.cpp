#include "bench/CatalogPowerCut.h"

#include "platform/base/PathMap.h"
#include "platform/base/ProgramFolder.h"
#include "store/CCatalog.h"
#include "store/CDirectoryRec.h"
#include "store/CDocumentRec.h"
#include "store/CNodeInfoRec.h"
#include "store/CNodeRec.h"
#include "store/CatalogCheck.h"
#include "store/CatalogIo.h"

#include <algorithm>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <optional>
#include <random>
#include <sstream>
#include <string>
#include <vector>

namespace {

namespace fs = std::filesystem;

constexpr std::size_t SECTOR_SIZE = 512;                    // what a disk writes whole, if anything
constexpr std::int64_t JOURNAL_GENERATION_BYTES = 96 << 10; // a new generation every few actions
constexpr char FOLDER[] = "c:\\cut\\";
constexpr int GROUPS = 5;
constexpr LONG EXPIRY_DATE = 1900000000;

/******************************************************************************
 * The recording
 ******************************************************************************/

struct CFileEvent {
    enum class Kind { Create, Write, Sync, Remove };
    Kind eKind { Kind::Write };
    std::string strPath; // program path
    std::int64_t nOffset { 0 };
    std::vector<BYTE> bytes;
};

class CEventRecorder : public CCatalogIoRecorder {
public:
    void OnCreate(const CString& strPath) override { Add(CFileEvent::Kind::Create, strPath); }
    void OnWrite(const CString& strPath, std::int64_t nOffset, std::span<const BYTE> data) override
    {
        Add(CFileEvent::Kind::Write, strPath).nOffset = nOffset;
        m_events.back().bytes.assign(data.begin(), data.end());
    }
    void OnSync(const CString& strPath) override { Add(CFileEvent::Kind::Sync, strPath); }
    void OnRemove(const CString& strPath) override { Add(CFileEvent::Kind::Remove, strPath); }

    std::vector<CFileEvent> m_events;

private:
    CFileEvent& Add(CFileEvent::Kind eKind, const CString& strPath)
    {
        m_events.push_back({ eKind, std::string(strPath), 0, {} });
        return m_events.back();
    }
};

// Hands the store's file changes to a recorder for the span of a scope.
class CRecording {
public:
    explicit CRecording(CCatalogIoRecorder& recorder) { SetCatalogIoRecorder(&recorder); }
    ~CRecording() { SetCatalogIoRecorder(nullptr); }
    CRecording(const CRecording&) = delete;
    CRecording& operator=(const CRecording&) = delete;
};

// The files as a disk holds them: program path to contents; a missing path is no file.
using CDiskImage = std::map<std::string, std::vector<BYTE>>;

void ApplyWrite(std::vector<BYTE>& file, std::int64_t nOffset, std::span<const BYTE> bytes)
{
    std::size_t nEnd = static_cast<std::size_t>(nOffset) + bytes.size();
    if (file.size() < nEnd)
        file.resize(nEnd, 0);
    std::copy(bytes.begin(), bytes.end(), file.begin() + nOffset);
}

/******************************************************************************
 * What the user sees
 ******************************************************************************/

std::string DocumentPath(const CDocumentRec& document)
{
    CString strName;
    document.GetFullPath(strName);
    return std::string(document.GetDirectoryPath(FALSE)) + std::string(strName);
}

void DescribeNode(CNodeRec& node, const std::string& strPath, std::vector<std::string>* pLines)
{
    std::vector<std::string> documents;
    for (const auto& pDocument : node.GetDocuments())
        documents.push_back(DocumentPath(*pDocument) + " expiry " + std::to_string(pDocument->GetExpiry()));
    std::sort(documents.begin(), documents.end());
    for (const std::string& strDocument : documents)
        pLines->push_back(strPath + ": " + strDocument);
    for (auto& pChild : node.GetChildren())
        DescribeNode(*pChild, strPath + "/" + std::string(pChild->GetName()), pLines);
}

// Everything of the catalog a user can see, one line a fact, in a fixed order:
// each node's documents by the path of names, and each directory's count.
std::string Describe(CCatalog& catalog)
{
    std::vector<std::string> lines;
    for (LONG nKind = 0; nKind <= CNodeRec::FIXED_NODE_LAST; ++nKind) {
        CNodeRec node(&catalog, nKind);
        if (node.IsValid())
            DescribeNode(node, "#" + std::to_string(nKind), &lines);
    }
    CRecordRef cursor { ROOT_BLOCK_DIRECTORY, NO_SLOT };
    while (catalog.NextRecord(&cursor)) {
        CDirectoryRec directory(&catalog, cursor);
        lines.push_back(std::string(directory.GetPath()) + " holds " + std::to_string(directory.GetDocumentCount()));
    }
    std::ostringstream out;
    for (const std::string& strLine : lines)
        out << strLine << "\n";
    return out.str();
}

CNodeInfo GroupInfo(const std::string& strName)
{
    CNodeInfo info;
    MakeDefaultNames(&info);
    std::strncpy(info.szName, strName.c_str(), sizeof info.szName - 1);
    return info;
}

}

/******************************************************************************
 * The session
 ******************************************************************************/

class CCatalogPowerCut::CState {
public:
    explicit CState(unsigned nSeed)
        : m_random(nSeed)
    {
        const std::string strFolder = GetProgramFolderHostPath();
        m_strMain = ProgramPathFromHostPath(strFolder + "/archiv.cat");
        m_strRecycle = ProgramPathFromHostPath(strFolder + "/winrec.cat");
    }

    bool Record(int nActions);
    bool CheckStates(int nStates);

    CPowerCutFigures m_figures;

private:
    // The actions of the session, chosen at random from what the catalog holds.
    bool PerformAction(CCatalog& catalog, int nAction);
    std::unique_ptr<CNodeRec> Group(CCatalog& catalog, const std::string& strName);
    std::unique_ptr<CDocumentRec> Document(CCatalog& catalog, const std::string& strName);
    int Roll(int nBelow) { return std::uniform_int_distribution<int>(0, nBelow - 1)(m_random); }
    template<class T> const T& Pick(const std::vector<T>& items)
    {
        return items[static_cast<std::size_t>(Roll(static_cast<int>(items.size())))];
    }

    // The disk after a cut following nCut recorded events.
    CDiskImage CrashImage(std::size_t nCut);
    // Writes the files in place, or, with bCopy, as new files that take the
    // names, as a copy of the folder (or a disk back under another device) has them.
    bool WriteImage(const CDiskImage& image, bool bCopy);
    void CheckState(std::size_t nCut);

    std::mt19937 m_random;
    std::string m_strMain;
    std::string m_strRecycle;
    CDiskImage m_initial;                 // the files when the recording began
    std::vector<CFileEvent> m_events;     // in the order they happened
    std::vector<std::string> m_after;     // what the catalog shows after 0, 1, ... actions
    std::vector<std::size_t> m_durableAt; // per action: the events after which its commit is on the disk
    std::map<std::string, CRecordRef> m_groups;
    std::vector<std::string> m_documents;
    int m_nNextName { 0 };
};

std::unique_ptr<CNodeRec> CCatalogPowerCut::CState::Group(CCatalog& catalog, const std::string& strName)
{
    auto it = m_groups.find(strName);
    if (it == m_groups.end())
        return nullptr;
    auto pNode = std::make_unique<CNodeRec>(&catalog, it->second.nBlock, it->second.nSlot);
    return pNode->IsValid() ? std::move(pNode) : nullptr;
}

std::unique_ptr<CDocumentRec> CCatalogPowerCut::CState::Document(CCatalog& catalog, const std::string& strName)
{
    return std::unique_ptr<CDocumentRec>(catalog.FindPath((FOLDER + strName).c_str()));
}

bool CCatalogPowerCut::CState::PerformAction(CCatalog& catalog, int nAction)
{
    std::vector<std::string> groups;
    for (const auto& [strName, ref] : m_groups)
        groups.push_back(strName);
    const std::string strGroup = Pick(groups);
    auto pGroup = Group(catalog, strGroup);
    if (!pGroup)
        return false;
    const int nRoll = Roll(100);
    CCatalogAction action(&catalog);
    if (m_documents.empty() || nRoll < 30) {
        // Every third name is long enough for a location record.
        const int nName = m_nNextName++;
        const std::string strName
            = "d" + std::to_string(nName) + (nName % 3 == 0 ? std::string(120, 'x') : std::string()) + ".txt";
        std::unique_ptr<CDocumentRec> pDocument(catalog.FindOrAddPath(pGroup.get(), (FOLDER + strName).c_str()));
        m_documents.push_back(strName);
        return action.Finish(pDocument != nullptr) != FALSE;
    }
    if (nRoll < 38 && m_groups.size() < 12) {
        std::unique_ptr<CNodeRec> pChild(pGroup->AddChild(GroupInfo("t" + std::to_string(nAction))));
        if (pChild)
            m_groups["t" + std::to_string(nAction)] = pChild->GetRef();
        return action.Finish(pChild != nullptr) != FALSE;
    }
    if (nRoll < 44 && strGroup[0] == 't') {
        m_groups.clear(); // the subtree goes; the groups are found again below
        BOOL bDeleted = pGroup->DeleteSubtree(TRUE);
        std::unique_ptr<CNodeRec> pRoot(CNodeRec::NewRootNodeRec(&catalog));
        for (auto& pTop : pRoot->GetChildren()) {
            std::vector<std::unique_ptr<CNodeRec>> pending;
            pending.push_back(std::move(pTop));
            while (!pending.empty()) {
                std::unique_ptr<CNodeRec> pNode = std::move(pending.back());
                pending.pop_back();
                m_groups[std::string(pNode->GetName())] = pNode->GetRef();
                for (auto& pChild : pNode->GetChildren())
                    pending.push_back(std::move(pChild));
            }
        }
        return action.Finish(bDeleted) != FALSE;
    }
    const std::string strDocument = Pick(m_documents);
    auto pDocument = Document(catalog, strDocument);
    if (!pDocument)
        return action.Finish(TRUE) != FALSE; // deleted before: nothing to do
    if (nRoll < 60)
        return action.Finish(pGroup->AddDocument(pDocument.get())) != FALSE;
    if (nRoll < 72) {
        CDocumentInfo info;
        pDocument->GetInfo(&info);
        info.nExpiry = info.nExpiry >= 1 ? 0 : EXPIRY_DATE;
        return action.Finish(pDocument->UpdateInfo(info)) != FALSE;
    }
    if (nRoll < 84) {
        auto pOther = Group(catalog, Pick(groups));
        return action.Finish(pOther && pOther->AddDocument(pDocument.get()) && pGroup->DeleteLinks(pDocument.get()))
            != FALSE;
    }
    if (nRoll < 92)
        return action.Finish(pGroup->DeleteLinks(pDocument.get())) != FALSE;
    std::erase(m_documents, strDocument);
    return action.Finish(pDocument->ForEachLinkedNode(NO_BLOCK, NO_SLOT, FALSE)) != FALSE;
}

bool CCatalogPowerCut::CState::Record(int nActions)
{
    if (!CCatalog::CreateFile(FALSE, m_strMain.c_str(), BLOCK_SIZE)
        || !CCatalog::CreateFile(TRUE, m_strRecycle.c_str(), BLOCK_SIZE))
        return false;
    {
        CCatalog catalog(m_strMain.c_str(), 0);
        std::unique_ptr<CNodeRec> pRoot(CNodeRec::NewRootNodeRec(&catalog));
        CCatalogAction action(&catalog);
        for (int nGroup = 0; pRoot && nGroup < GROUPS; ++nGroup) {
            std::unique_ptr<CNodeRec> pGroup(pRoot->AddChild(GroupInfo("g" + std::to_string(nGroup))));
            if (!pGroup)
                return false;
            m_groups["g" + std::to_string(nGroup)] = pGroup->GetRef();
        }
        if (!action.End())
            return false;
    }
    for (const std::string& strPath : { m_strMain, m_strRecycle }) {
        std::string strHost;
        if (!HostPathFromProgramPath(strPath.c_str(), strHost))
            return false;
        std::ifstream in(strHost, std::ios::binary);
        m_initial[strPath].assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    }

    CEventRecorder recorder;
    SetCatalogCheckpointBytes(JOURNAL_GENERATION_BYTES);
    {
        CRecording recording(recorder);
        CCatalog catalog(m_strMain.c_str(), 0);
        CCatalog recycle(m_strRecycle.c_str(), 0);
        m_after.push_back(Describe(catalog));
        m_durableAt.push_back(0);
        const std::string strJournal = m_strMain + ".jnl";
        for (int nAction = 1; nAction <= nActions; ++nAction) {
            const std::size_t nBefore = recorder.m_events.size();
            // Every other action writes the blocks it appends in place before its journal, as a long update does.
            SetCatalogDirectAppendBlocks(nAction % 2 == 1 ? 1 : 0);
            if (!PerformAction(catalog, nAction))
                break;
            // The action is on the disk once its batch's flush of the journal
            // is; one that changed nothing, once the action before it is.
            auto flush = std::find_if(recorder.m_events.begin() + static_cast<std::ptrdiff_t>(nBefore),
                recorder.m_events.end(), [&](const CFileEvent& event) {
                    return event.eKind == CFileEvent::Kind::Sync && event.strPath == strJournal;
                });
            m_durableAt.push_back(flush == recorder.m_events.end()
                    ? m_durableAt.back()
                    : static_cast<std::size_t>(flush - recorder.m_events.begin()) + 1);
            m_after.push_back(Describe(catalog));
        }
    }
    SetCatalogCheckpointBytes(0);
    SetCatalogDirectAppendBlocks(0);
    m_events = std::move(recorder.m_events);
    m_figures.nActions = static_cast<int>(m_after.size()) - 1;
    m_figures.nEvents = static_cast<int>(m_events.size());
    return m_figures.nActions == nActions;
}

/******************************************************************************
 * Crash states
 ******************************************************************************/

CDiskImage CCatalogPowerCut::CState::CrashImage(std::size_t nCut)
{
    CDiskImage image = m_initial;
    std::map<std::string, std::vector<const CFileEvent*>> unflushed;
    for (std::size_t n = 0; n < nCut; ++n) {
        const CFileEvent& event = m_events[n];
        switch (event.eKind) {
        case CFileEvent::Kind::Create:
            image[event.strPath].clear();
            unflushed[event.strPath].clear();
            break;
        case CFileEvent::Kind::Write:
            unflushed[event.strPath].push_back(&event);
            break;
        case CFileEvent::Kind::Sync:
            for (const CFileEvent* pWrite : unflushed[event.strPath])
                ApplyWrite(image[event.strPath], pWrite->nOffset, pWrite->bytes);
            unflushed[event.strPath].clear();
            break;
        case CFileEvent::Kind::Remove:
            image.erase(event.strPath);
            unflushed.erase(event.strPath);
            break;
        }
    }
    // Of the writes no flush covered, any may be lost, land in any order, or
    // land torn: only their first sectors.
    for (auto& [strPath, writes] : unflushed) {
        if (!image.contains(strPath))
            continue;
        std::shuffle(writes.begin(), writes.end(), m_random);
        for (const CFileEvent* pWrite : writes) {
            const int nRoll = Roll(8);
            if (nRoll < 3) {
                ++m_figures.nDropped;
                continue;
            }
            std::span<const BYTE> bytes = pWrite->bytes;
            std::size_t nSectors = (bytes.size() + SECTOR_SIZE - 1) / SECTOR_SIZE;
            if (nRoll < 5 && nSectors > 1) {
                ++m_figures.nTorn;
                bytes = bytes.first(SECTOR_SIZE * static_cast<std::size_t>(1 + Roll(static_cast<int>(nSectors) - 1)));
            }
            ApplyWrite(image[strPath], pWrite->nOffset, bytes);
        }
    }
    return image;
}

bool CCatalogPowerCut::CState::WriteImage(const CDiskImage& image, bool bCopy)
{
    for (const std::string& strPath : { m_strMain, m_strRecycle, m_strMain + ".jnl", m_strRecycle + ".jnl" }) {
        std::string strHost;
        if (!HostPathFromProgramPath(strPath.c_str(), strHost))
            return false;
        auto it = image.find(strPath);
        if (it == image.end()) {
            std::error_code ec;
            fs::remove(strHost, ec);
            continue;
        }
        // A copy is made beside the file while it still exists, so that it is another file.
        const std::string strTarget = bCopy ? strHost + ".copy" : strHost;
        {
            std::ofstream out(strTarget, std::ios::binary | std::ios::trunc);
            out.write(
                reinterpret_cast<const char*>(it->second.data()), static_cast<std::streamsize>(it->second.size()));
            if (!out)
                return false;
        }
        std::error_code ec;
        if (bCopy)
            fs::rename(strTarget, strHost, ec);
        if (ec)
            return false;
    }
    return true;
}

void CCatalogPowerCut::CState::CheckState(std::size_t nCut)
{
    ++m_figures.nStates;
    if (!CheckCatalogFile(m_strMain.c_str(), CATALOG_KIND_MAIN)
        || !CheckCatalogFile(m_strRecycle.c_str(), CATALOG_KIND_RECYCLE)) {
        ++m_figures.nRefused;
        return;
    }
    // The actions whose commit was on the disk before the cut.
    std::size_t nCommitted = 0;
    while (nCommitted + 1 < m_durableAt.size() && m_durableAt[nCommitted + 1] <= nCut)
        ++nCommitted;
    CCatalog catalog(m_strMain.c_str(), 0);
    const std::string strFound = Describe(catalog);
    if (strFound == m_after[nCommitted])
        return;
    if (nCommitted + 1 < m_after.size() && strFound == m_after[nCommitted + 1]) {
        ++m_figures.nInProgressKept;
        return;
    }
    for (std::size_t nKept = nCommitted; nKept-- > 0;) {
        if (strFound == m_after[nKept]) {
            ++m_figures.nLosses;
            m_figures.nMostLost = std::max(m_figures.nMostLost, static_cast<int>(nCommitted - nKept));
            return;
        }
    }
    ++m_figures.nDamaged;
}

bool CCatalogPowerCut::CState::CheckStates(int nStates)
{
    for (int nState = 0; nState < nStates; ++nState) {
        // Cuts spread evenly over the recording, each state with choices of its own.
        const std::size_t nCut = m_events.size() * static_cast<std::size_t>(nState) / static_cast<std::size_t>(nStates)
            + static_cast<std::size_t>(Roll(static_cast<int>(std::max<std::size_t>(1, m_events.size() / nStates))));
        // Every other state is checked in a copy of the folder.
        const bool bCopy = nState % 2 == 1;
        if (!WriteImage(CrashImage(std::min(nCut, m_events.size())), bCopy))
            return false;
        m_figures.nCopied += bCopy ? 1 : 0;
        CheckState(std::min(nCut, m_events.size()));
    }
    return true;
}

CCatalogPowerCut::CCatalogPowerCut(unsigned nSeed)
    : m_pState(std::make_unique<CState>(nSeed))
{
}

CCatalogPowerCut::~CCatalogPowerCut() = default;

bool CCatalogPowerCut::Record(int nActions)
{
    return m_pState->Record(nActions);
}

bool CCatalogPowerCut::CheckStates(int nStates)
{
    return m_pState->CheckStates(nStates);
}

const CPowerCutFigures& CCatalogPowerCut::GetFigures() const
{
    return m_pState->m_figures;
}
