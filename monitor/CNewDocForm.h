#pragma once

// The cataloguing form: what the cataloguing dialog holds besides its
// controls, and what the automatic modes use without a window. It proposes,
// for one notice of the monitor's queue, where the new document goes and
// what its entry says; the dialog lets the user edit the proposal, and
// CNewDocMonitor enters it into the catalog.
//
// The form owns the placement (the folder map and both keyword maps) built
// from the catalog; ReloadMaps builds it again after the catalog changed.
// Prepare and ReloadMaps read the catalog: the caller holds it open
// (CCatalog::Acquire) around them. Used from the user-interface thread only.

#include "catalog/CDocumentPlacement.h"
#include "catalog/CNewDocNotice.h"

#include "store/CNodeRec.h"

#include "platform/base/CString.h"

#include <memory>

class CCatalog;

// What a new document's entry will say; the dialog edits these values.
struct CNewDocProposal {
    CNodeRecArray nodes;           // the systems and groups it goes under, in order
    BOOL bPlacedByRules { FALSE }; // the folder records or keywords gave the nodes
    CString strName;               // the file name, or the message's subject
    CString strDescription;        // cut to the catalog's description when entered
    CString strSecondary;          // a message's sender; empty for a file
    CString strPassword;           // the document's own protection; a file may be given one
    LONG nExpiry { 0 };            // seconds since 1970; 0 for none
    LONG nVersion { 0 };           // a file's version, 0 to 9
    DWORD dwOpenAction { 0 };
    BOOL bFavourite { FALSE }; // listed under the favourites too
};

class CNewDocForm {
public:
    // A form for the catalog, whose new documents the rules do not place go
    // under the monitor's default system.
    explicit CNewDocForm(CCatalog* pCatalog);
    ~CNewDocForm();

    /* The notice shown. */

    // Fills the proposal for the notice at nIndex of the monitor's queue.
    void Prepare(int nIndex, const CNewDocNotice& notice);
    // The queue index of the notice prepared; -1 before the first.
    int GetShownIndex() const { return m_nShown; }
    // The last queue index the dialog lists.
    int GetLastIndex() const { return m_nLast; }
    void SetLastIndex(int nLast) { m_nLast = nLast; }
    CNewDocProposal& GetProposal() { return m_proposal; }
    const CNewDocProposal& GetProposal() const { return m_proposal; }
    // The password the document had when it was prepared (empty: none).
    const CString& GetOwnPassword() const { return m_strOwnPassword; }

    /* After the catalog changed. */

    // Builds the placement again from the catalog.
    void ReloadMaps();
    // Drops the proposal's nodes whose records the catalog no longer holds;
    // TRUE when any was dropped.
    BOOL DropMissingNodes();

private:
    CCatalog* m_pCatalog;
    std::unique_ptr<CDocumentPlacement> m_pPlacement;
    CNewDocProposal m_proposal;
    CString m_strOwnPassword;
    int m_nShown { -1 };
    int m_nLast { -1 };
};
