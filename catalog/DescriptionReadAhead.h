#pragma once

// Reads the descriptions of a walk's new files ahead of the walk, in a small
// pool of worker threads, so that opening and reading each file overlaps the
// catalog writes of the files before it. The walk queues a listed folder's
// files in the order it takes them and takes their descriptions in that
// order: a file no worker has begun is read on the walk's own thread then, one
// a worker is reading is waited for. Every description is the one
// ReadFileDescription gives for the file, read once, on one thread; only the
// moment differs. Without workers, every file is read as the walk takes it.
//
// The walk's thread alone queues and takes; workers only read. A folder's
// files stay queued until its CFolderReads is destroyed, which gives up the
// reads not begun and waits for those begun, so the folder may be closed
// right after.

#include "catalog/DocumentTexts.h"

#include "platform/base/CString.h"

#include <atomic>
#include <condition_variable>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

class CListedFolder;

class CDescriptionReadAhead {
public:
    // A file to read: its name in its listed folder, its program path and its index in the listing.
    struct CFileToRead {
        std::string strName;
        CString strPath;
        std::size_t nEntry { 0 };
    };
    class CFolderReads;

    // The most files of one folder the workers read beyond the one the walk takes.
    static constexpr std::size_t READ_AHEAD = 256;

    // Starts nWorkers threads; 0 starts none.
    explicit CDescriptionReadAhead(int nWorkers);
    // Stops the workers; every CFolderReads must be gone.
    ~CDescriptionReadAhead();
    CDescriptionReadAhead(const CDescriptionReadAhead&) = delete;
    CDescriptionReadAhead& operator=(const CDescriptionReadAhead&) = delete;

    // The workers a walk uses on this machine: the processors but one, at most three.
    static int DefaultWorkers();

    // When the walk begins to take a folder's files.
    enum class ETaking {
        Now,   // at once: it reads the first one itself, sooner than a worker would
        Later, // after other files: workers read from the first one on
    };
    // Queues the files of folder, which stays open while the result lives,
    // to be taken in the order given. position is the folder's place in the
    // walk (the listing index of each folder on the way to it): workers read
    // first the queued file the walk comes to first.
    std::unique_ptr<CFolderReads> Queue(const CListedFolder& folder, std::vector<CFileToRead> files,
        std::vector<std::size_t> position = {}, ETaking eTaking = ETaking::Now);

private:
    struct CFolderQueue;

    // A worker: reads queued files until the pool stops.
    void Work();
    // The queue whose next file the walk comes to first, of those with a
    // file a worker may begin, dropping those done; null when there is none.
    std::shared_ptr<CFolderQueue> NextQueueLocked();
    // Takes a folder's queue out of the workers' reach.
    void Withdraw(const CFolderQueue& queue);
    // Tells idle workers that the walk took files of a queue held back by READ_AHEAD.
    void NoteTaken();

    std::vector<std::thread> m_workers;
    std::mutex m_mutex;                                  // guards what follows
    std::condition_variable m_wake;                      // a worker wakes another for files waiting, or the pool stops
    std::vector<std::shared_ptr<CFolderQueue>> m_queues; // the folders with files not yet begun
    int m_nIdle { 0 };                                   // the workers waiting for files
    int m_nAsleep { 0 };                                 // the idle workers that sleep until woken
    std::atomic<std::uint64_t> m_nChanges { 0 }; // counts the queues added and the files taken, for idle workers
    bool m_bStop { false };
};

// The queued files of one folder, as the walk takes them.
class CDescriptionReadAhead::CFolderReads {
public:
    ~CFolderReads();
    CFolderReads(const CFolderReads&) = delete;
    CFolderReads& operator=(const CFolderReads&) = delete;

    // The description of the nFile-th file queued (counted from 0), as
    // ReadFileDescription gives it. Each file is taken at most once, in the
    // order queued; files may be passed over.
    EFileText Take(std::size_t nFile, CString& strDescription);

private:
    friend class CDescriptionReadAhead;
    CFolderReads(CDescriptionReadAhead& pool, std::shared_ptr<CFolderQueue> pQueue);

    CDescriptionReadAhead& m_pool;
    std::shared_ptr<CFolderQueue> m_pQueue;
};
