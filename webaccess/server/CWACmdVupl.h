#pragma once

// VUPL answers the page of the files in the user's upload folder
// (UploadsPage.h): the files that are neither folders nor hidden, in name
// order. A session without a profile, or a folder that cannot be read, lists
// nothing.

#include "webaccess/server/CWACommand.h"

#include <vector>

class CWACmdVupl : public CWABasicCommand {
public:
    // Row names are cut to this width in pixels.
    static constexpr int NAME_WIDTH = 216;

    CWACmdVupl()
        : CWABasicCommand(WA_CMD_VUPL)
    {
    }

    // Lists the upload folder.
    BOOL Prepare(CWASession& session) override;
    BOOL Execute(CWAOutputFile& reply, CWASession& session, int nArgument) override;
    // "View Uploaded"
    CString GetLogText() const override;

private:
    std::vector<CString> m_paths; // The files' program paths
};
