#pragma once

// Text helpers of the web pages: escaping for the page markup, the command
// tokens that links send back, and the two constant tables of the search form.

#include "platform/base/CString.h"

// The string nId of the resource module; empty when it has none.
CString LoadText(UINT nId);

/* Escaping. */

// A copy of pszText for use inside a page: " & ' < and \ become the decimal
// character references &#34; &#38; &#39; &#60; &#92;, a line feed becomes
// "<br>" (bKeepLines 0) or a blank (non-zero), every other byte below 32 a
// blank. '>' and bytes of 128 and above stay.
CString HtmlEscape(LPCTSTR pszText, BOOL bKeepLines);
// The path with every '\' turned into '/', for a token that a link sends.
// It is not escaped here: the link escapes the whole token once
// (FormatCommandLink), so escaping the path as well would reach the frame
// doubled.
CString BackslashToSlash(LPCTSTR pszPath);
// A name or path for a field of a reply token. The browser side takes a
// token's fields between bars and ends the token at "#>" or at a line end,
// so those characters are written as the decimal character references the
// pages use: '|' as "&#124;", '>' as "&#62;", CR as "&#13;" and LF as
// "&#10;". '&' becomes "&#38;", so that a name which itself looks like a
// reference ("i&#124;j.txt") reads back as written once the references are
// undone. Everything else stays as it is.
CString TokenFieldText(LPCTSTR pszText);
// A text for a field that the browser shows as page text: HtmlEscape (line
// feeds as blanks), whose references already hold every '&' of the text,
// then '|' and '>' as TokenFieldText writes them.
CString TokenFieldHtml(LPCTSTR pszText);

/* Command tokens and the links that send them. */

CString FormatEdirToken(LPCTSTR pszPath);       // "<#EDIR |path|#>"
CString FormatWdirToken(int nBlock, int nSlot); // "<#WDIR |block| |slot|#>"
CString FormatVuplToken();                      // "<#VUPL#>"
// A text for a script string inside a quoted attribute: every character that
// could end the string or the attribute (quotes, '\', '&', '<', '>', control
// bytes) is written as a \xHH escape of the script.
CString ScriptStringText(LPCTSTR pszText);
// The link attribute that makes the hosting frame send pszToken as the next
// request. The token is given as plain text and written through
// ScriptStringText, so a name holding quotes or markup reaches the frame
// unchanged and never leaves the string.
CString FormatCommandLink(LPCTSTR pszToken);

/* The search form's tables, shared with the catalog search command. */

struct WA_SEARCH_CHOICE {
    LPCTSTR pszCode;  // What the form sends back
    LPCTSTR pszLabel; // What the list shows
    int nNumber;      // What the search works with
};

// Match modes in form order: 1W, AW, WS.
extern const WA_SEARCH_CHOICE g_waMatchModes[3];
// Search fields in form order: ANY, DSC, FLD, FTO, NAM.
extern const WA_SEARCH_CHOICE g_waSearchFields[5];
