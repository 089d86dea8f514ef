#pragma once

// The IDs of the sample's sheets, wizard and copying dialog, shared by
// sheets.rc and the tests.

#define IDD_PAGE_GENERAL 200
#define IDD_PAGE_DATES 201
#define IDD_PAGE_LAYOUT 202
#define IDD_WIZARD_WELCOME 210
#define IDD_WIZARD_KIND 211
#define IDD_WIZARD_FOLDER 212
#define IDD_WIZARD_DONE 213
#define IDD_HOST 220
#define IDD_HOST_DETAILS 221
#define IDD_HOST_NOTES 222
#define IDD_COPYING 230
#define IDR_RING 231

#define IDC_COPIES 1101
#define IDC_COPIES_SPIN 1102
#define IDC_EXPIRES 1103
#define IDC_ORIENTATION 1104
#define IDC_ORIENTATION_TEXT 1105
#define IDC_QUICK 1110
#define IDC_CUSTOM 1111
#define IDC_FOLDER 1112
#define IDC_HOST_NAME 1120
#define IDC_DETAILS 1121
#define IDC_NOTES 1122
#define IDC_HOST_REFRESH 1123
#define IDC_ANIMATION 1201
#define IDC_PROGRESS 1220
#define IDC_STATUS 1289
#define IDC_PLACEHOLDER 1337
