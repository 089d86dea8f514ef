#pragma once

// The commands that browse the catalog's groups as the session's profile lets
// the user see them: WDIR answers with the page of one group (path, sibling
// groups, sub-groups and documents), WTREE with the whole visible group tree
// as a flat list of tokens. Both hold the web catalog open while they live.

#include "webaccess/server/CWACommand.h"

#include <vector>

class CCatalog;
class CNodeRec;

constexpr int WA_STATUS_NOT_A_NODE = 8; // WDIR names no node of the catalog
constexpr int WA_STATUS_NO_GROUP = 10;  // No visible group to show

class CWACmdWdir : public CWACommand {
public:
    CWACmdWdir();
    ~CWACmdWdir() override;

    // Writes the group's page; FALSE with status 10 when there is no node to
    // show or the profile does not show the node.
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
    CCatalog* m_pCatalog; // Acquired while the command lives; may be null
    LONG m_nBlock { -1 };
    LONG m_nSlot { -1 };
    LONG m_nAscending { 1 };
};

class CWACmdWtree : public CWABasicCommand {
public:
    // One visible group; indexes are positions in the item array, -1 none.
    struct CTreeItem {
        CString strName;
        LONG nBlock;
        LONG nSlot;
        int nLevel; // 0 right below the root
        int nParent;
        int nFirstChild;
    };

    CWACmdWtree();
    ~CWACmdWtree() override;

    // Lists the visible groups: siblings at consecutive indexes, a group's
    // children after everything listed before them.
    BOOL Prepare(CWASession& session) override;
    // "<#TRSZ |count|#>" and one "<#TRIT ...#>" per item.
    BOOL Execute(CWAOutputFile& reply, CWASession& session, int nArgument) override;
    CString GetLogText() const override;

private:
    void Fill(CWASession& session, int nLevel, int nParent, const std::vector<std::unique_ptr<CNodeRec>>& children);

    CCatalog* m_pCatalog;
    std::vector<CTreeItem> m_items;
};
