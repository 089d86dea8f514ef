#pragma once

// WTREE answers with the whole group tree that the session's profile lets the
// user see, as a flat list of tokens. It holds the web catalog open while it
// lives.

#include "webaccess/pages/WtreeTokens.h"
#include "webaccess/server/CWACommand.h"

#include <vector>

class CCatalog;
class CNodeRec;

class CWACmdWtree : public CWABasicCommand {
public:
    CWACmdWtree();
    ~CWACmdWtree() override;

    // Lists the visible groups: siblings at consecutive indexes, a group's
    // children after everything listed before them.
    BOOL Prepare(CWASession& session) override;
    // The tokens of the list; FALSE with status 12 when a write failed.
    BOOL Execute(CWAOutputFile& reply, CWASession& session, int nArgument) override;
    CString GetLogText() const override;

private:
    void Fill(CWASession& session, int nLevel, int nParent, const std::vector<std::unique_ptr<CNodeRec>>& children);

    CCatalog* m_pCatalog;
    std::vector<CWATreeItem> m_items;
};
