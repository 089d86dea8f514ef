#pragma once

// EDIR answers the explorer page of one folder (ExplorerPage.h). Fields: the
// folder ("X:\..." with '/' read as '\', below MAX_PATH characters), then
// optionally a view field: empty, "A" or "A-" (the view flag, FALSE for "A-";
// the browser sends it, the page does not depend on it; any other field is
// malformed). A folder that cannot be read gives a page with empty lists.
// Links carry whole paths: a short (8.3) form is made from the folder's
// current neighbours and may name another folder later. The folder comes from
// the request, so only a profile with the explorer right may ask for it.

#include "webaccess/server/CWACommand.h"

#include <vector>

class CWACmdEdir : public CWACommand {
public:
    // Widths in pixels that names are cut to.
    static constexpr int SIBLING_WIDTH = 155;
    static constexpr int NAME_WIDTH = 216;

    CWACmdEdir()
        : CWACommand(WA_CMD_EDIR)
    {
    }

    // Lists the folders beside the folder and the folder's items.
    BOOL Prepare(CWASession& session) override;
    BOOL Execute(CWAOutputFile& reply, CWASession& session, int nArgument) override;
    // Stores the folder as the session's explorer folder.
    void SetContext(CWASessionPlace& place) override;
    // "Get Explorer DIR - path"
    CString GetLogText() const override;
    BOOL NeedsExplorerRight() const override { return TRUE; }
    void ParseArgs(LPCTSTR pszText) override;

    const CString& GetFolder() const { return m_strFolder; }
    BOOL GetViewFlag() const { return m_bView; }

private:
    struct Entry {
        CString strPath;
        CString strName;
        bool bFolder;
    };

    CString m_strFolder;
    BOOL m_bView { TRUE };
    std::vector<Entry> m_siblings;
    std::vector<Entry> m_items;
};
