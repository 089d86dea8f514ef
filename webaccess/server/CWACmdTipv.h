#pragma once

// TIPV answers the tip page of a file or catalog document (TipPage.h): its
// path, type and, for a document, its description, with the beginning of
// its text or a picture. A picture follows the page as
// "\r\n<#IMG |size| |format|#>\r\n" and its bytes: the file itself when it
// is a GIF, JPEG or PNG of at most 25000 bytes, otherwise a PNG rendering of
// at most 200 x 200 pixels when that is smaller than the file. A picture that
// can be neither sent nor rendered gives the text page with the status of no
// preview. A document outside the groups the profile grants is not shown.

#include "webaccess/server/FileCommands.h"

class CWACmdTipv : public CWAItemCommand {
public:
    // The largest picture file sent unchanged without trying a rendering.
    static constexpr ULONGLONG MAX_DIRECT_PICTURE = 25000;
    // The box the rendering fits into.
    static constexpr int RENDER_SIZE = 200;

    CWACmdTipv()
        : CWAItemCommand(WA_CMD_TIPV)
    {
    }

    BOOL Execute(CWAOutputFile& reply, CWASession& session, int nArgument) override;
    // "Get TIPVIEW - path"
    CString GetLogText() const override;
};
