#pragma once

// WDIR browses the catalog's groups as the session's profile lets the user
// see them: it answers with the page of one group (path, the groups beside
// it, sub-groups and documents). It holds the web catalog open while it lives.

#include "webaccess/server/CWACommand.h"

class CCatalog;
class CNodeRec;
struct CWAWdirPage;

constexpr int WA_STATUS_NOT_A_NODE = 8; // WDIR names no node of the catalog
constexpr int WA_STATUS_NO_GROUP = 10;  // No visible group to show

class CWACmdWdir : public CWACommand {
public:
    CWACmdWdir();
    ~CWACmdWdir() override;

    // Writes the group's page; FALSE with status 10 when there is no node to
    // show or the profile does not show the node, 12 when a write failed.
    BOOL Execute(CWAOutputFile& reply, CWASession& session, int nArgument) override;
    // The session's place takes the node shown.
    void SetContext(CWASessionPlace& place) override;
    // "Get Archivora DIR - " and the names from below the top down to the node, joined by " > ".
    CString GetLogText() const override;
    // Fields: block, slot, then optionally "", "A" (ascending) or "A-"
    // (descending). (0,0) means the first visible group; any other
    // reference must be a node (status 8).
    void ParseArgs(LPCTSTR pszText) override;

private:
    // The node to show, null when there is none the profile shows; (0,0)
    // becomes the first visible group.
    std::unique_ptr<CNodeRec> FindNode(CWASession& session);
    void Gather(CWASession& session, const CNodeRec& node, CWAWdirPage& page) const;

    CCatalog* m_pCatalog; // Acquired while the command lives; may be null
    LONG m_nBlock { -1 };
    LONG m_nSlot { -1 };
    LONG m_nAscending { 1 };
};
