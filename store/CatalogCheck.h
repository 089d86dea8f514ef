#pragma once

// The whole-file check of a catalog that is about to replace the one in use:
// a backup copy before it is restored. The file must open as a catalog of the
// expected kind, and every table's root chain, the tree of nodes with their
// links and every directory's documents must walk without damage. Each
// document's record must read whole (its packed texts and their continuation
// pieces, owned by it alone), and each document link must be known to both
// sides: every link of a document's list lies in the chain of the node its
// block names, and that node's walk finds it.
//
// One state is no damage: a link record in a node's chain that its document
// does not list (or whose document is gone). A write that stopped between its
// two steps leaves it, readers skip it and the rebuild drops it; the check
// counts it. So with the continuation pieces no document names, with a
// keyword or node folder link that only one of its two chains holds, with a
// directory whose document count differs from the documents its chain holds,
// and with a document whose expiry date and link under the expiring-documents
// node disagree (a date without the link, or the link without a date). A
// rebuild writes all of them right.

#include "platform/base/WinTypes.h"

// What a check found: why it refused the file, and what readers ignore.
struct CCatalogCheckReport {
    enum class Refusal {
        None,       // the file passed
        Unreadable, // it could not be opened as a catalog (missing, no access, a bad header)
        WrongKind,  // it is a catalog of another kind (nKind)
        Damaged,    // the walk found damage
    };
    Refusal eRefusal { Refusal::None };
    LONG nKind { -1 }; // the kind the file's header names; -1 when unreadable

    // The refusal in words, for the trace log.
    const char* DescribeRefusal() const;

    int nOneWayLinks { 0 };           // link records in a node's chain that no document lists
    int nStrayPieces { 0 };           // location records (rests of names) that no document names
    int nOneWayEntryLinks { 0 };      // keyword or node folder links only one side holds
    int nMiscountedDirectories { 0 }; // directories whose document count is not their chain's
    int nExpiryMismatches { 0 };      // documents whose expiry date and expiring-documents link disagree
};

// TRUE when the catalog at the program path pszPath is of kind nKind
// (CATALOG_KIND_MAIN or CATALOG_KIND_RECYCLE) and walks without damage. The
// file is only read (its journal replayed, and an identity given to a file
// from before identities). A damaged file is also reported as the fatal
// catalog error, as every damaged catalog is. A refusal sets the last error:
// the opening's own for an unreadable file, ERROR_BAD_FORMAT for another
// kind, ERROR_INVALID_DATA for damage. pReport, when given, receives why and
// the counts above (filled as far as the walk got).
BOOL CheckCatalogFile(LPCTSTR pszPath, LONG nKind, CCatalogCheckReport* pReport = nullptr);
