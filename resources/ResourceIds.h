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

// The name of the drives' recycle folder, the first component of a recycled file's path.
#define IDS_RECYCLE_FOLDER_NAME     4363

// Catalog errors; %s is the catalog's file name.
#define IDS_CATALOG_FATAL_ERROR     4453

// Document and catalog-node pictures.
#define IDI_DOCUMENT                130 // a document without an icon of its own, 32 x 32
#define IDB_NODE_PATH               201 // catalog nodes, 14 x 14 each, 0xFF00FF transparent

// Removing items from a group: the parts of the question, in the order they are joined.
#define IDS_DELETE_DOCUMENT         4231    // one document
#define IDS_DELETE_DOCUMENTS        4232    // several documents
#define IDS_DELETE_NODE             4233    // one group
#define IDS_DELETE_NODES            4234    // several groups
#define IDS_DELETE_DOCUMENTS_NODES  4235    // joins the documents and the groups
#define IDS_DELETE_CONTINUE         4236    // asks whether to go on
#define IDS_DELETE_SUBTREES         4425    // groups go with the groups below them
#define IDS_DELETE_ORPHANS          4465    // documents of no other group go to the systems root

// Results of restoring the catalog files from a backup generation or from the previous copies.
#define IDS_RESTORE_FAILED          4458
#define IDS_RESTORE_DONE            4459
#define IDS_RESTORE_OLD_FAILED      4460
#define IDS_RESTORE_OLD_DONE        4461

// Web access: profiles and settings.
#define IDS_WA_DEFAULT_PROFILE      4533    // Name of the default profile
#define IDS_WA_DEFAULT_SITE         4536    // Directory server's site, no "/" at the end

// Web access: the file menu of the pages.
#define IDS_WA_MENU_DOWNLOAD        4534
#define IDS_WA_MENU_TIPVIEW         4535

// Web access: errors of a stored upload, sent in an ERR token (no "|", no line end).
#define IDS_WA_UPLOAD_NAME_TAKEN    5015
#define IDS_WA_UPLOAD_NOT_MOVED     5016

// Web access: title bar items, tabs and column headings of the pages.
#define IDS_WA_TITLE_TIPVIEW        5022
#define IDS_WA_TITLE_UPLOAD         5023
#define IDS_WA_TAB_UPLOADED         5024
#define IDS_WA_TITLE_RELOAD         5025
#define IDS_WA_TAB_EXPLORER         5026
#define IDS_WA_TAB_CATALOG          5027
#define IDS_WA_TITLE_TREE           5028
#define IDS_WA_TITLE_DOWNLOAD       5030
#define IDS_WA_COLUMN_NAME          5032
#define IDS_WA_COLUMN_SIZE          5033
#define IDS_WA_COLUMN_DATE          5034
#define IDS_WA_COLUMN_DESCRIPTION   5035
#define IDS_WA_COLUMN_GROUPS        5036
#define IDS_WA_ITEM_COUNT           5037    // %d items shown, %d items in all
#define IDS_WA_TITLE_LOGOUT         5077

// clang-format on
