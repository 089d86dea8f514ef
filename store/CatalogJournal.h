#pragma once

// The journal beside a catalog file (the catalog file's name followed by
// ".jnl"): each batch of changed blocks is written here whole and flushed
// before any of them is written in place, so that a crash or a power cut in
// the middle of the writes in place leaves a catalog that the journal brings
// to the state after the batch. store/FORMAT.md describes the file.
//
// The catalog file object drives it:
//   Commit      appends a batch (the images of the changed blocks and of the
//               file header, then a commit frame) and flushes the journal;
//               from then on the batch survives a power cut. The first
//               commit creates the file.
//   Checkpoint  once the catalog file itself is flushed, its batches are no
//               longer needed: a new generation starts, in which the frames
//               of the old one read as invalid.
//   Discard     at a clean close, after a checkpoint: the file goes.
//   Recover     at open: replays onto the catalog file the complete batches
//               of the last generation a crash left, flushes the catalog file
//               and discards the journal. A torn or invalid tail is dropped.
//
// Nothing but the catalog file object reads or writes the journal.

#include "platform/base/CString.h"
#include "store/CatalogIo.h"
#include "store/CatalogTypes.h"

#include <cstdint>
#include <span>
#include <vector>

// A block of a batch: its number and its new bytes (BLOCK_SIZE of them).
struct CJournalBlock {
    CATBLOCK nBlock { NO_BLOCK };
    const BYTE* pData { nullptr };
};

class CCatalogJournal {
public:
    // The journal of the catalog file at the program path strCatalogPath.
    explicit CCatalogJournal(const CString& strCatalogPath);
    ~CCatalogJournal() { Unclaim(); }
    CCatalogJournal(const CCatalogJournal&) = delete;
    CCatalogJournal& operator=(const CCatalogJournal&) = delete;

    // The journal's program path for a catalog file's.
    static CString PathFor(const CString& strCatalogPath);

    /* Failures return FALSE with the last error set. */

    // Replays a journal left by a session that did not end cleanly onto
    // catalog, the catalog file open for reading and writing: the complete
    // batches of its last generation, in order, then flushes the catalog and
    // discards the journal. The journal is bound to the catalog's identity,
    // not to the file: it is replayed after the pair was copied or moved. A
    // journal that does not belong to the file (made for another catalog, or
    // the file's header is none the journal knows) is discarded unread. *pnBatches receives the number of batches
    // replayed (0 when there was no journal). On a failure the journal stays for the next attempt.
    [[nodiscard]] BOOL Recover(CCatalogIo& catalog, int* pnBatches);
    // The identity of the catalog the journal is written for (ReadCatalogIdentity).
    void SetCatalogIdentity(DWORD nIdentity) { m_nCatalogId = nIdentity; }

    // Appends a batch and flushes it: blocks (any order, each once) and the
    // file header bytes (FILE_HEADER_SIZE) as they are after the batch.
    // committedHeader is the file header as the catalog file holds it before
    // the batch; it becomes the generation's base when the journal starts one.
    [[nodiscard]] BOOL Commit(
        std::span<const CJournalBlock> blocks, std::span<const BYTE> header, std::span<const BYTE> committedHeader);
    // Starts a new generation whose base is committedHeader; call only once
    // the catalog file holding every batch so far is flushed.
    [[nodiscard]] BOOL Checkpoint(std::span<const BYTE> committedHeader);
    // Invalidates the journal and removes it; call only once the catalog file
    // holding every batch is flushed.
    [[nodiscard]] BOOL Discard();

    // The bytes the current generation takes in the file; 0 with no journal open.
    std::int64_t GetSize() const { return m_nEnd; }

    /* One journal, one user: a file object claims its file's journal while it
       has the file open; a second object on the file in the process neither
       replays nor writes it. */

    // FALSE when another object of the process has the journal claimed.
    bool Claim();
    void Unclaim();

private:
    // Writes the header of a new generation (a new salt) at the file's start.
    [[nodiscard]] BOOL WriteHeader(std::span<const BYTE> committedHeader, std::vector<BYTE>* pBytes);

    const CString m_strPath;
    bool m_bClaimed { false };
    CCatalogIo m_io;
    std::uint64_t m_nCatalogId { 0 };
    DWORD m_nSalt { 0 };        // of the current generation
    DWORD m_nSequence { 0 };    // of its last batch
    std::int64_t m_nEnd { 0 };  // where the next frame goes; 0 while no journal is open
    std::vector<BYTE> m_buffer; // the frames of the batch being written
};

// The identity kept in block 0 of the open catalog file; 0 when it has none
// (a file from before identities, or without block 0 yet).
DWORD ReadCatalogIdentity(CCatalogIo& catalog);
// A new random identity, never 0.
DWORD NewCatalogIdentity();

// Replays and removes the journal a crash left beside the catalog file at
// pszCatalogPath, unless a file object of the process has the file open (its
// batches are in the file already): for copies of a closed catalog file,
// which must hold what its journal does. TRUE when no journal is left to
// replay; a journal beside no catalog file is removed.
BOOL SettleCatalogJournal(LPCTSTR pszCatalogPath);
