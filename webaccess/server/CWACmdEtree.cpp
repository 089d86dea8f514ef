#include "webaccess/server/CWACmdEtree.h"

#include "webaccess/server/ExplorerFolders.h"

#include <algorithm>

BOOL CWACmdEtree::Prepare(CWASession&)
{
    const std::vector<CWAExplorerFolder> drives = ListFixedDrives();
    if (drives.empty())
        return TRUE;
    m_entries.clear();
    Fill(0, -1, drives);
    return TRUE;
}

void CWACmdEtree::Fill(int nLevel, int nParent, const std::vector<CWAExplorerFolder>& folders)
{
    // This level's slots are taken at once, as far as the cap allows.
    const int nBase = static_cast<int>(m_entries.size());
    const int nCount = std::min(static_cast<int>(folders.size()), m_nMaxEntries - nBase);
    m_entries.resize(static_cast<size_t>(nBase + nCount));
    for (int i = 0; i < nCount; ++i) {
        const CWAExplorerFolder& folder = folders[static_cast<size_t>(i)];
        CWAExplorerEntry& entry = m_entries[static_cast<size_t>(nBase + i)];
        entry = { folder.strName, folder.strName, nLevel, nParent, -1 };
        if (!folder.bOwnTree || static_cast<int>(m_entries.size()) >= m_nMaxEntries)
            continue;
        const std::vector<CWAExplorerFolder> children = ListVisibleSubFolders(folder.strPath);
        if (children.empty())
            continue;
        const int nFirstChild = static_cast<int>(m_entries.size());
        Fill(nLevel + 1, nBase + i, children);
        // The vector may have moved while the children were added.
        m_entries[static_cast<size_t>(nBase + i)].nFirstChild = nFirstChild;
    }
}

BOOL CWACmdEtree::Execute(CWAOutputFile& reply, CWASession&, int)
{
    WriteExplorerTreeTokens(reply, m_entries);
    return CheckReplyWritten(reply);
}

CString CWACmdEtree::GetLogText() const
{
    return "Get Explorer TREE";
}
