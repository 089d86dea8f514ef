#pragma once

#include "platform/base/CString.h"

#include <string>
#include <vector>

// Simple MAPI flags and results, with their documented values.
constexpr ULONG MAPI_LOGON_UI = 0x00000001;
constexpr ULONG MAPI_DIALOG = 0x00000008;
constexpr ULONG SUCCESS_SUCCESS = 0;
constexpr ULONG MAPI_E_FAILURE = 2;

// Whether mail can be sent with CMapiMail: the "MAPI" entry of the "MAIL"
// section of win.ini is not 0 (here it counts as 1 when absent, since the
// hand-off below is this system's Simple MAPI) and the desktop's mail hand-off,
// xdg-email, is found. The answer is worked out once, on the first call.
BOOL IsMapiAvailable();

// A message handed to the desktop's mail program for the user to complete and
// send: the text and attachments gathered here open in a compose window of the
// user's mail program (through xdg-email). Nothing is sent without the user.
class CMapiMail {
public:
    // The library name is what Windows loads Simple MAPI from; the hand-off
    // needs no library, so it only names the interface the caller wants.
    explicit CMapiMail(LPCTSTR pszLibrary);

    // Appends to the message text.
    void AddText(LPCTSTR pszText);
    // Attaches a file (program path); the file name is the one the recipient
    // would see, which the hand-off cannot choose: the file keeps its own.
    // FALSE when the path names no readable regular file.
    BOOL AddAttachment(LPCTSTR pszPath, LPCTSTR pszFileName);
    // Opens the message in the mail program with a subject (or none). Every
    // message is completed by the user, as with MAPI_DIALOG, whatever the flags.
    // SUCCESS_SUCCESS when the mail program was started, else MAPI_E_FAILURE:
    // also when the desktop has no mail program (none opens "mailto:" links),
    // since the hand-off would fail only after it started.
    ULONG Send(LPCTSTR pszSubject, ULONG flFlags);

private:
    CString m_strText;
    std::vector<std::string> m_attachments; // host paths
};
