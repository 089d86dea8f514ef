#pragma once

// The Netscape-style mail client as the program starts it: to compose a
// message, the message's header lines and text are written to "archmsg.tmp" in
// the temporary folder and the client is started with "-compose" and that
// file. The client is the first Mozilla-family mail program found on the path
// (thunderbird, seamonkey, icedove).

#include "platform/base/CString.h"

class CMailClient {
public:
    // Starts the mail client on its own; FALSE when it is not found or fails to start.
    BOOL Launch();
    // Writes "archmsg.tmp" (To, Cc, Subject and Content-Type lines, a blank line,
    // the body) and starts the client to compose it. Line breaks in the subject or
    // the recipients become blanks, so they cannot add header lines. FALSE with
    // the last error set when the file cannot be written or the client is not
    // found or fails to start.
    BOOL Compose(LPCTSTR pszSubject, LPCTSTR pszRecipients, LPCTSTR pszBody);

    // The program path of the file Compose writes.
    static CString GetComposeFilePath();
};
