#pragma once

// The IDs of the sample main frame, shared by frame.rc and the test.

#define IDR_SAMPLE_FRAME 127
#define IDR_SAMPLE_DOC 128
#define IDD_SAMPLE_FIND_BAR 266

#define ID_SAMPLE_NEW 32801
#define ID_SAMPLE_OPEN 32802
#define ID_SAMPLE_FIND 32803
#define ID_SAMPLE_PRINT 32804
#define IDC_FIND_TEXT 1201
#define IDC_FIND_NEXT 1202
#define ID_PANE_DOCUMENTS 45000
