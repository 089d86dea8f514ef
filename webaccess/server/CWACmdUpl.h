#pragma once

// UPL announces a file that the browser is about to upload. The server
// handles it itself: it records where the upload goes and answers with the
// end line alone; the file is stored when it arrives.
//
// Fields: the file name (at most 259 characters; '/' read as '\') and the
// announced size (decimal digits; none is 0). The stored name is the text
// after the last '\' (a browser may send the whole client path); it must be
// a valid file name, not "." or "..", without ':' or control characters, so
// that the upload can only land in the profile's upload folder.

#include "webaccess/server/CWACommand.h"

class CWACmdUpl : public CWACommand {
public:
    static constexpr int MAX_NAME = 259;

    CWACmdUpl()
        : CWACommand(WA_CMD_UPL)
    {
    }

    // "UPLOAD - " and the name as sent.
    CString GetLogText() const override;
    void ParseArgs(LPCTSTR pszText) override;

    // The name the upload is stored under, without any folder.
    const CString& GetFileName() const { return m_strFileName; }
    DWORD GetSize() const { return m_dwSize; }

private:
    CString m_strName; // as sent, with '\'
    CString m_strFileName;
    DWORD m_dwSize { 0 };
};
