#pragma once

// The check of an upload folder, shared by the setup wizard's upload page and
// the profile wizard: the folder must be usable (else message 5040) and
// writable (else 5041); a missing one is offered for creation (question 5042
// with the folder; No refuses) and made with every missing parent (a failure
// shows 5043 with the folder, stop icon). Messages 5040 and 5041 show with
// nIcon. A refusal puts the focus on the edit nIdEdit of page.

#include "platform/base/CString.h"

class CWnd;

// TRUE when strFolder is an existing, writable folder (created if need be).
BOOL CheckUploadFolder(CWnd& page, int nIdEdit, const CString& strFolder, UINT nIcon);
