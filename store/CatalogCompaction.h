#pragma once

// Rebuilding the catalogs: the main catalog is copied into "ArchTemp.cat" and
// the recycle-bin catalog into "ArchTemp.rec", each a fresh file, and the
// copies then replace "archiv.cat" and "winrec.cat". A copy holds every record
// the catalog can reach and nothing else: freed slots and blocks whose records
// were all freed stay behind, and the file shrinks.
//
// What a copy holds:
// - the file header's texts, numbers and time stamp, and the place choice;
// - the entry tables (keywords, node folders, extensions, file name masks,
//   clean-up folders, locations with their kind and value) in table order;
// - every directory with all its documents, in chain order. A document that no
//   node links is kept too: it is still found by its path, and may keep a
//   protected file's password and attributes;
// - the fixed nodes and, depth-first, every node below them with its
//   information, keyword and folder links and document links, each node's
//   children and document links in their order;
// - the recently-catalogued list, its entries remapped to the new documents.
// References that lead nowhere (a link or recent entry whose document is gone,
// a document link its document does not list, a link to a deleted keyword)
// are not copied. A reference to a used record that the walk of its table did
// not reach is damage, as is anything the record classes find damaged: the
// rebuild stops. A document's list of links is made in the order the nodes are
// walked; a document with an expiry date, and only such a document, is linked
// under the expiring-documents node, as every document write does; and each
// directory counts the documents copied into it.
//
// Records get new references in the copy. Whatever keeps references into the
// main catalog outside it must follow: the web access profiles do through the
// preferences' web settings block (CPreferenceBlock::RemapCatalogReferences).
// The moved block is staged beside the one in force, under the stamp of the
// copy's tree of nodes, and put in force only once the copy has replaced the
// main catalog (CPreferences::StageWebSettings, SettleWebSettings), so the
// block in force names the groups of whichever file is in place; callers of
// the rebuild may remap what they keep through the compaction state below.
// The folder index ("winsch.cat") keeps references of the last search, so the
// replace step deletes it.
//
// Crashes: the originals are only read until both copies are complete and
// flushed. The replace step then renames each copy over its original, the
// recycle-bin catalog first; each rename is atomic, and the two catalogs hold
// no references into each other, so after a crash at any point each catalog
// file is either its original or its complete copy. Leftover temporaries are
// replaced by the next rebuild. A stage left by a crash is settled at the next
// start (SettleRebuildReferences): put in force when the copy is in place,
// dropped when the original is.
//
// Everything here runs on the program's main thread, with no other user of
// the catalog files.

#include "store/CatalogTypes.h"

#include <cstdint>
#include <unordered_map>

class CCatalog;

// The file names of the copies, made in the folder of the catalogs.
constexpr char COMPACT_TEMP_MAIN_NAME[] = "ArchTemp.cat";
constexpr char COMPACT_TEMP_RECYCLE_NAME[] = "ArchTemp.rec";

/* The compaction state: what the last rebuild of the main catalog did. */

// Old reference -> new reference of the records of one table.
class CCompactRefMap {
public:
    void Add(CRecordRef oldRef, CRecordRef newRef);
    // The new reference of oldRef; none when the record was not copied.
    CRecordRef Lookup(CRecordRef oldRef) const;
    std::size_t GetCount() const { return m_refs.size(); }
    void Clear() { m_refs.clear(); }

private:
    static std::uint64_t Key(CRecordRef ref);

    std::unordered_map<std::uint64_t, CRecordRef> m_refs;
};

struct CCompactState {
    CCompactRefMap nodes;     // the main catalog's nodes
    CCompactRefMap documents; // the main catalog's documents
};

// Empties the state before a rebuild.
void ResetCompactState();
const CCompactState& GetCompactState();

/* Rebuilding. Each call returns FALSE with the last error set on failure. */

// Copies mainCatalog into pszTempMain and recycleCatalog into pszTempRecycle
// (replacing files there), flushes and closes both copies, then moves the web
// settings' references to the new main catalog in memory and stages them.
// Both catalogs must be open; they are only read. A catalog found damaged
// (ERROR_INVALID_DATA, with the fatal catalog error reported) or any failure
// removes both copies and leaves the web settings as they were.
BOOL CompactCatalog(CCatalog& mainCatalog, CCatalog& recycleCatalog, LPCTSTR pszTempMain, LPCTSTR pszTempRecycle);

// Replaces pszMain and pszRecycle by the copies CompactCatalog made, once no
// catalog object has them open: checks that both copies open as catalogs and
// both originals can be replaced, flushes the copies and renames them over
// the originals, the recycle-bin catalog first, after deleting the folder
// index beside pszMain, then settles the staged web settings. On failure the
// copies are removed, the staged web settings dropped (those in memory are
// those in force again), and the originals stay as they were; only when the
// main catalog's rename fails after the recycle-bin catalog's is that one
// already its copy, which holds the same. A catalog file that is a symbolic
// link stays one: the file it names is replaced.
BOOL ReplaceCatalogFiles(LPCTSTR pszTempMain, LPCTSTR pszTempRecycle, LPCTSTR pszMain, LPCTSTR pszRecycle);

// The whole rebuild on closed catalog files: resets the state, opens both
// catalogs, compacts each into its temporary beside the file it replaces (for
// a symbolic link, beside the file the link names), closes them and replaces them.
BOOL RebuildCatalogFiles(LPCTSTR pszMain, LPCTSTR pszRecycle);

// Settles web settings staged by a rebuild against the main catalog file at
// pszMain (CPreferences::SettleWebSettings with the stamp of its tree of
// nodes). Call at start-up, once the web settings block is attached and
// before the web access service starts. TRUE when nothing is staged or the
// stage was settled; FALSE when the catalog cannot be opened or the settle
// failed, and the stage then waits for the next call.
BOOL SettleRebuildReferences(LPCTSTR pszMain);

/* Test seam. */

// The points between the rebuild's steps where a test may stop the process.
enum class ECompactStep {
    MainCopied,        // the main catalog's copy is written, not yet closed
    RecycleCopied,     // the recycle-bin catalog's copy is written, not yet closed
    CopiesClosed,      // both copies are flushed and closed
    ReferencesStaged,  // the web settings moved to the new main catalog are staged
    CopiesChecked,     // the replace step found both copies and originals usable
    RecycleReplaced,   // the recycle-bin copy has replaced its original
    MainReplaced,      // the main copy has replaced its original
    ReferencesSettled, // the staged web settings are in force
};
using CompactStepHook = void (*)(ECompactStep eStep);
// Calls pfnHook at each step of every rebuild from now; nullptr disarms.
void SetCompactStepHook(CompactStepHook pfnHook);
