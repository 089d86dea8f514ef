#pragma once

// The IDs of the common controls sample, shared by controls.rc and the test.

#define IDD_DOCUMENT_LIST 200

#define IDC_DOCUMENTS 2001
#define IDC_ICONS 2002
#define IDC_FOLDERS 2003
#define IDC_REFRESH 2004
