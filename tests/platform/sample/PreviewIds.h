#pragma once

// The IDs of the preview sample, shared by preview.rc and the test.

#define IDD_PREVIEW 300

#define IDC_PREVIEW_TEXT 4661
#define IDC_HTML_PLACE 1570
