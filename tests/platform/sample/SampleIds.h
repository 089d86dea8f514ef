#pragma once

// The IDs of the sample dialog, shared by sample.rc and the test.

#define IDD_DOCUMENT_PROPERTIES 100
#define IDI_DOCUMENT 101

#define IDC_TITLE 1001
#define IDC_READ_ONLY 1002
#define IDC_KIND_LETTER 1003
#define IDC_KIND_INVOICE 1004
#define IDC_KIND_OTHER 1005
#define IDC_STATE 1006
#define IDC_FOLDER 1007
