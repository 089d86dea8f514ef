#pragma once

// Reading a directory server's reply. A reply is text that begins with the
// marker of its page and carries its fields between bars:
//   <#WACN |code| |message| |x| |field 4|#>
// Field n lies between bar 2n-1 and bar 2n.

#include "platform/base/CString.h"

// Field nField (1 the code, 2 the message, 4 the page's own value); empty
// when either of its bars is missing.
CString GetReplyField(LPCTSTR pszReply, int nField);

// The code field as an unsigned decimal number: 0 when empty; -1 when it holds
// anything but digits or its value would pass 2147483647.
int ParseReplyCode(LPCTSTR pszField);

// The readable text of a page that is not a reply (an error page, a proxy's
// page): tags, comments, scripts and styles dropped, the entities &lt; &gt;
// &amp; &quot; and &#n; decoded, white space folded to single blanks and
// trimmed. Never longer than the page.
CString PageToPlainText(const CString& strPage);
