#pragma once

// Resource IDs shared by the program's code and the resource script. The
// resource compiler reads this file too, so it holds only #define lines whose
// values are numbers or sums of names defined above them.

// clang-format off

// Start-up messages.
#define IDS_OLE_INIT_FAILED         101
#define IDS_SOCKETS_INIT_FAILED     102

// The main window; its string is the document string, lines separated by "\n".
#define IDR_MAINFRAME               127

// Catalog errors; %s is the catalog's file name.
#define IDS_CATALOG_FATAL_ERROR     4453

// Document and catalog-node pictures.
#define IDI_DOCUMENT                130 // a document without an icon of its own, 32 x 32
#define IDB_NODE_PATH               201 // catalog nodes, 14 x 14 each, 0xFF00FF transparent

// Results of restoring the catalog files from a backup generation or from the previous copies.
#define IDS_RESTORE_FAILED          4458
#define IDS_RESTORE_DONE            4459
#define IDS_RESTORE_OLD_FAILED      4460
#define IDS_RESTORE_OLD_DONE        4461

// clang-format on
