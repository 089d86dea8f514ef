#pragma once

// ETREE answers with the folder tree of every fixed drive, as a flat list of
// tokens (ExplorerTreeTokens.h). The walk lists a symbolic link to a folder,
// another drive's root and a folder where another file system is mounted
// where they appear but does not enter them, so a link loop ends and each
// device is walked under its own drive only. It stops at MAX_ENTRIES entries
// (or the number given); the count token gives what is sent. It shows the
// computer's folders, so only a profile with the explorer right may ask for it.

#include "webaccess/pages/ExplorerTreeTokens.h"
#include "webaccess/server/CWACommand.h"

#include <vector>

struct CWAExplorerFolder;

class CWACmdEtree : public CWABasicCommand {
public:
    static constexpr int MAX_ENTRIES = 100000;

    explicit CWACmdEtree(int nMaxEntries = MAX_ENTRIES)
        : CWABasicCommand(WA_CMD_ETREE)
        , m_nMaxEntries(nMaxEntries)
    {
    }

    // Lists the drives, each folder's sub-folders at consecutive indexes
    // after everything listed before them. Without a fixed drive the tree
    // of an earlier call stays.
    BOOL Prepare(CWASession& session) override;
    // The tokens of the tree; FALSE with status 12 when a write failed.
    BOOL Execute(CWAOutputFile& reply, CWASession& session, int nArgument) override;
    // "Get Explorer TREE"
    CString GetLogText() const override;
    BOOL NeedsExplorerRight() const override { return TRUE; }

    const std::vector<CWAExplorerEntry>& GetEntries() const { return m_entries; }

private:
    void Fill(int nLevel, int nParent, const std::vector<CWAExplorerFolder>& folders);

    int m_nMaxEntries;
    std::vector<CWAExplorerEntry> m_entries;
};
