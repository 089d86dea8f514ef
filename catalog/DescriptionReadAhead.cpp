#include "catalog/DescriptionReadAhead.h"

#include "platform/base/FolderListing.h"

#include <algorithm>
#include <atomic>
#include <chrono>

/* A file's read moves QUEUED -> READING -> DONE, or QUEUED -> GIVEN_UP when its
   folder's reads end first. Whoever moves it out of QUEUED (a worker, or the
   walk taking it) reads it; the walk waits for DONE otherwise. Invariants:
   (1) a file is read at most once;
   (2) a worker reads a file only between its claim (under the mutex, from a
       queue the pool still lists) and DONE, and the walk's thread does not
       destroy the queue's folder before every READING has reached DONE;
   (3) workers begin no file past READ_AHEAD beyond the walk's next one. */

namespace {

enum : int {
    QUEUED = 0,
    READING = 1,
    DONE = 2,
    GIVEN_UP = 3,
};

// The files left in a folder for which a worker wakes another.
constexpr std::size_t FILES_TO_WAKE = 4;

// The times an idle worker yields, looking for files, before it sleeps.
constexpr int IDLE_SPINS = 200;

// How often a worker with nothing to read looks for files again.
constexpr std::chrono::microseconds IDLE_POLL { 200 };
// The times it looks again before it sleeps until it is woken: a walk through
// folders of files catalogued before may find no new file for long.
constexpr int IDLE_POLLS = 50;

// The times the walk's thread yields for a file being read before it sleeps.
constexpr int SPINS = 32;

} // namespace

struct CDescriptionReadAhead::CFolderQueue {
    struct CRead {
        CFileToRead file;
        std::atomic<int> nState { QUEUED };
        EFileText eText { EFileText::NoText }; // valid at DONE
        CString strDescription;                // valid at DONE
    };

    CFolderQueue(const CListedFolder& folder, std::vector<CFileToRead> files, std::vector<std::size_t> folderPosition,
        ETaking eTaking)
        : pFolder(&folder)
        , reads(files.size())
        , position(std::move(folderPosition))
        , bTaking(eTaking == ETaking::Now)
    {
        for (std::size_t i = 0; i < files.size(); ++i)
            reads[i].file = std::move(files[i]);
    }

    // Reads file nFile, claimed (moved to READING) by the caller.
    void Read(std::size_t nFile)
    {
        CRead& read = reads[nFile];
        read.eText = ReadFileDescription(*pFolder, read.file.strName, read.file.strPath, read.strDescription);
        read.nState.store(DONE, std::memory_order_release);
    }

    // Whether file nFile of this queue comes in the walk before file nOther of
    // queue other. A file's place in the walk is its folder's place followed by
    // its index in the listing, compared level by level.
    bool ComesBefore(std::size_t nFile, const CFolderQueue& other, std::size_t nOther) const
    {
        const std::size_t nCommon = std::min(position.size(), other.position.size());
        for (std::size_t i = 0; i < nCommon; ++i) {
            if (position[i] != other.position[i])
                return position[i] < other.position[i];
        }
        // One folder lies in the other, or they are one: the first level past the common one decides.
        const std::size_t nMine = position.size() > nCommon ? position[nCommon] : reads[nFile].file.nEntry;
        const std::size_t nTheirs
            = other.position.size() > nCommon ? other.position[nCommon] : other.reads[nOther].file.nEntry;
        return nMine < nTheirs;
    }

    const CListedFolder* const pFolder;
    std::vector<CRead> reads;
    const std::vector<std::size_t> position; // the folder's place in the walk
    std::size_t nNext { 0 };                 // the next file a worker may claim; under the pool's mutex
    std::atomic<std::size_t> nTaken { 0 };   // the files the walk took
    std::atomic<bool> bTaking;               // whether the walk takes the folder's files now
};

CDescriptionReadAhead::CDescriptionReadAhead(int nWorkers)
{
    for (int i = 0; i < nWorkers; ++i)
        m_workers.emplace_back([this] { Work(); });
}

CDescriptionReadAhead::~CDescriptionReadAhead()
{
    {
        const std::lock_guard lock(m_mutex);
        m_bStop = true;
    }
    m_wake.notify_all();
    for (std::thread& worker : m_workers)
        worker.join();
}

int CDescriptionReadAhead::DefaultWorkers()
{
    const int nProcessors = static_cast<int>(std::thread::hardware_concurrency());
    return std::clamp(nProcessors - 1, 0, 3);
}

std::unique_ptr<CDescriptionReadAhead::CFolderReads> CDescriptionReadAhead::Queue(
    const CListedFolder& folder, std::vector<CFileToRead> files, std::vector<std::size_t> position, ETaking eTaking)
{
    auto pQueue = std::make_shared<CFolderQueue>(folder, std::move(files), std::move(position), eTaking);
    if (!m_workers.empty() && !pQueue->reads.empty()) {
        const std::lock_guard lock(m_mutex);
        m_queues.push_back(pQueue);
        m_nChanges.fetch_add(1, std::memory_order_relaxed);
        // Waking a worker costs the walk's thread more than a worker looking
        // again costs its own (IDLE_POLL): only one asleep after a long idle
        // time is woken.
        if (m_nAsleep > 0)
            m_wake.notify_one();
    }
    return std::unique_ptr<CFolderReads>(new CFolderReads(*this, std::move(pQueue)));
}

void CDescriptionReadAhead::Work()
{
    std::unique_lock lock(m_mutex);
    for (;;) {
        std::shared_ptr<CFolderQueue> pQueue = NextQueueLocked();
        if (!pQueue && !m_bStop) {
            // While the walk runs, folders come microseconds apart: a worker
            // that slept at once would be woken, at the walk's cost, for each.
            const std::uint64_t nSeen = m_nChanges.load(std::memory_order_relaxed);
            lock.unlock();
            for (int n = 0; n < IDLE_SPINS && m_nChanges.load(std::memory_order_relaxed) == nSeen; ++n)
                std::this_thread::yield();
            lock.lock();
            pQueue = NextQueueLocked();
        }
        if (!pQueue) {
            ++m_nIdle;
            for (int nPolls = 0; !m_bStop && (pQueue = NextQueueLocked()) == nullptr; ++nPolls) {
                if (nPolls < IDLE_POLLS) {
                    m_wake.wait_for(lock, IDLE_POLL);
                } else {
                    ++m_nAsleep;
                    m_wake.wait(lock);
                    --m_nAsleep;
                }
            }
            --m_nIdle;
        }
        if (m_bStop)
            return;
        const std::size_t nFile = pQueue->nNext++;
        if (m_nIdle > 0 && pQueue->reads.size() - pQueue->nNext >= FILES_TO_WAKE)
            m_wake.notify_one();
        lock.unlock();
        int nState = QUEUED;
        if (pQueue->reads[nFile].nState.compare_exchange_strong(nState, READING, std::memory_order_acquire)) {
            pQueue->Read(nFile);
            pQueue->reads[nFile].nState.notify_one();
        }
        pQueue.reset();
        lock.lock();
    }
}

std::shared_ptr<CDescriptionReadAhead::CFolderQueue> CDescriptionReadAhead::NextQueueLocked()
{
    std::erase_if(m_queues, [](const std::shared_ptr<CFolderQueue>& pQueue) {
        // Files the walk took are not claimed again, nor, once it takes the
        // folder's files, the one it takes next: it reads that one sooner
        // itself than it would wait for a worker.
        const std::size_t nSkipped = pQueue->bTaking.load(std::memory_order_relaxed) ? 1 : 0;
        pQueue->nNext = std::max(pQueue->nNext, pQueue->nTaken.load(std::memory_order_relaxed) + nSkipped);
        return pQueue->nNext >= pQueue->reads.size();
    });
    std::shared_ptr<CFolderQueue> pFirst;
    for (const std::shared_ptr<CFolderQueue>& pQueue : m_queues) {
        if (pQueue->nNext < pQueue->nTaken.load(std::memory_order_relaxed) + READ_AHEAD
            && (!pFirst || pQueue->ComesBefore(pQueue->nNext, *pFirst, pFirst->nNext)))
            pFirst = pQueue;
    }
    return pFirst;
}

void CDescriptionReadAhead::Withdraw(const CFolderQueue& queue)
{
    const std::lock_guard lock(m_mutex);
    std::erase_if(m_queues, [&](const std::shared_ptr<CFolderQueue>& pQueue) { return pQueue.get() == &queue; });
}

void CDescriptionReadAhead::NoteTaken()
{
    m_nChanges.fetch_add(1, std::memory_order_relaxed);
}

/******************************************************************************
 * CFolderReads
 ******************************************************************************/

CDescriptionReadAhead::CFolderReads::CFolderReads(CDescriptionReadAhead& pool, std::shared_ptr<CFolderQueue> pQueue)
    : m_pool(pool)
    , m_pQueue(std::move(pQueue))
{
}

CDescriptionReadAhead::CFolderReads::~CFolderReads()
{
    m_pool.Withdraw(*m_pQueue);
    // Files the walk passed over may still be queued or being read, as well as those after the last it took.
    for (std::size_t i = 0; i < m_pQueue->reads.size(); ++i) {
        std::atomic<int>& nState = m_pQueue->reads[i].nState;
        int nSeen = QUEUED;
        if (nState.compare_exchange_strong(nSeen, GIVEN_UP, std::memory_order_acquire))
            continue;
        while (nSeen == READING) {
            nState.wait(READING, std::memory_order_acquire);
            nSeen = nState.load(std::memory_order_acquire);
        }
    }
}

EFileText CDescriptionReadAhead::CFolderReads::Take(std::size_t nFile, CString& strDescription)
{
    CFolderQueue::CRead& read = m_pQueue->reads[nFile];
    m_pQueue->bTaking.store(true, std::memory_order_relaxed);
    int nState = QUEUED;
    if (read.nState.compare_exchange_strong(nState, READING, std::memory_order_acquire)) {
        m_pQueue->Read(nFile);
    } else {
        // A worker reading it is most often a few microseconds from done:
        // sleeping and being woken costs more.
        for (int nSpin = 0; nSpin < SPINS && nState != DONE; ++nSpin) {
            std::this_thread::yield();
            nState = read.nState.load(std::memory_order_acquire);
        }
        while (nState != DONE) {
            read.nState.wait(nState, std::memory_order_acquire);
            nState = read.nState.load(std::memory_order_acquire);
        }
    }
    strDescription = std::move(read.strDescription);
    m_pQueue->nTaken.store(nFile + 1, std::memory_order_relaxed);
    // Workers held back by the window hear of it a quarter window at a time.
    if ((nFile + 1) % (READ_AHEAD / 4) == 0 && nFile + 1 < m_pQueue->reads.size())
        m_pool.NoteTaken();
    return read.eText;
}
