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

// The recycle bin: the questions before documents, groups or a selection go
// there, what a run that left entries behind says, and its window title.
#define IDS_RECYCLE_ASK_ITEMS       4024
#define IDS_RECYCLE_ASK_ITEM        4025
#define IDS_RECYCLE_ASK_NODE        4026
#define IDS_RECYCLE_STAYED_SOME     4306
#define IDS_RECYCLE_STAYED_ONE      4307
#define IDS_RECYCLE_TITLE           4399
#define IDS_RECYCLE_NOT_POSSIBLE    4405
// Mail messages are deleted from their mail folders, not kept in the bin: the
// questions before one or a selection holding some go, and what a run says of
// a message whose folder cannot flag it deleted.
#define IDS_RECYCLE_ASK_MESSAGE         4514
#define IDS_RECYCLE_ASK_ITEMS_MAIL      4515
#define IDS_RECYCLE_MESSAGE_NO_STATUS   4516
#define IDS_RECYCLE_STAYED_NO_STATUS    4517
// The recycle command's words in a menu, as the selection asks: the usual
// ones, and those for a selection holding messages.
#define IDS_RECYCLE_COMMAND             4518
#define IDS_RECYCLE_COMMAND_MESSAGE     4519
#define IDS_RECYCLE_COMMAND_MESSAGES    4520
#define IDS_RECYCLE_COMMAND_MIXED       4521
// Shell items dropped on the recycle bin: a folder, and items of a removable
// or CD drive, which are deleted for good.
#define IDS_RECYCLE_ASK_FOLDER            4224
#define IDS_RECYCLE_ASK_REMOVABLE_FILE    4225
#define IDS_RECYCLE_ASK_REMOVABLE_FOLDER  4226
#define IDS_RECYCLE_ASK_REMOVABLE_ITEMS   4227

// Documents unprotected for opening: the question at the close (with their
// count) and the one at start-up about those an earlier run left.
#define IDS_PENDING_CONFIRM_CLOSE   4470
#define IDS_PENDING_LEFT_UNPROTECTED 4471

// A new message without a subject, in the new-document lists.
#define IDS_NOTICE_NO_SUBJECT       4472

// The maintenance run: its passes' titles and texts, and the note that
// expired documents remain after it.
#define IDS_MAINTENANCE_FILES_TITLE     4046
#define IDS_MAINTENANCE_EXPIRED_LEFT    4095
#define IDS_MAINTENANCE_FOLDERS_TITLE   4315
#define IDS_MAINTENANCE_DOCUMENTS_TITLE 4316
#define IDS_MAINTENANCE_DOCUMENTS_DONE  4317
#define IDS_MAINTENANCE_BIN_TITLE       4318
#define IDS_MAINTENANCE_BIN_EMPTY       4319

// The one-text option dialog of the automatic-library preferences.
#define IDD_CATALOG_OPTION          204
#define IDC_CATALOG_OPTION_TEXT     1252

// Dialogs of the catalog's backups, maintenance and the small questions.
#define IDD_NEW_EXTENSION           181
#define IDD_CATALOG_MAINTENANCE     211
#define IDD_ABOUT                   219
#define IDD_BACKUP_FOLDER           234
#define IDD_NEW_PASSWORD            248
#define IDD_UPDATE_CATALOG          259
#define IDD_NETWORK_LOGON           374
#define IDD_BACKUP_LIST             377
#define IDD_BACKUP_INFO             379
#define IDD_CATALOG_RECOVERY        380
#define IDD_PASSWORD                388
#define IDD_CONFIRM_OPERATION       401
#define IDD_WA_LOG                  449
#define IDC_PASSWORD                143     // the password typed
#define IDC_DOCUMENT_ICON           145     // the document row: its icon and its path
#define IDC_DOCUMENT_PATH           1230
#define IDC_NODE_BUTTON             183
#define IDC_ABOUT_PICTURE           228
#define IDC_ABOUT_TITLE             229
#define IDC_LOG_LIST                1212
#define IDC_TARGET_PATH             1250
#define IDC_BROWSE                  1251
#define IDC_EXTENSION               1252
#define IDC_LIBRARY_FOLDERS         1298
#define IDC_CLEANUP_FOLDERS         1299
#define IDC_UPDATE_FOLDERS          1338
#define IDC_LOG_CLEAR               1380
#define IDC_UPDATE_SECOND           1390    // bit value 2 of the update choice
#define IDC_UPDATE_FIRST            1391    // bit value 1
#define IDC_BACKUP_MESSAGE          1419
#define IDC_CLEAN_TEMP_FOLDERS      1422
#define IDC_CLEAN_TEMP_FILES        1423
#define IDC_CLEAN_EXPIRED           1424
#define IDC_CLEAN_RECYCLE           1426
#define IDC_CONFIRM_LABEL           1434
#define IDC_BACKUP_CHOOSE           1437
#define IDC_PICTURE_SECOND          1440
#define IDC_PICTURE                 1478
#define IDC_NETWORK_PATH            1510
#define IDC_BACKUP_GENERATIONS      1517
#define IDC_BACKUP_OLD_COPIES       1518
#define IDC_NEW_PASSWORD            1690
#define IDC_CONFIRM_PASSWORD        1691
#define IDC_REMOVE_PROTECTION       1692
#define IDC_PASSWORD_PROMPT         1693
#define IDC_NEW_PASSWORD_LABEL      1694
#define IDC_CONFIRM_PASSWORD_LABEL  1695
#define IDB_ABOUT                   184     // 122 x 98
#define IDB_BACKUP_PICTURE          281     // 16 x 16, 0xFF00FF transparent
#define IDB_BACKUP_INFO_PICTURE     318     // 16 x 16, 0xFF00FF transparent
#define IDS_EXTENSION_EMPTY         4033
#define IDS_EXTENSION_DOUBLE        4034
#define IDS_TARGET_EMPTY            4089
#define IDS_BACKUP_CONFIRM          4097    // %s: the generation's line
#define IDS_LOGON_BAD_PASSWORD      4450
#define IDS_LOGON_FAILED            4451    // %d: the error number
#define IDS_NO_BACKUP               4457
#define IDS_WA_LOG_CLEAR            5000
#define IDS_WRONG_PASSWORD          4590
#define IDS_PASSWORD_MISMATCH       4591
#define IDS_PASSWORD_PROMPT_OPEN    4592
#define IDS_PASSWORD_PROMPT_CHANGE  4593
#define IDS_PASSWORD_PROMPT_UNPROTECT 4594

// The document dialogs: properties with their three pages, and the
// attribute dialogs the Attributes page opens.
#define IDD_FILE_GENERAL            133
#define IDD_FILE_SIZE_DATE          141
#define IDD_FILE_ATTRIBUTES         142
#define IDD_EXPIRY_DATE             168
#define IDD_DOCUMENT_PROPERTIES     236
#define IDD_SET_OPTION              251
#define IDD_SET_NUMBER              255
#define IDC_DESCRIPTION             146
#define IDC_LOCATION                147
#define IDC_CREATED                 148
#define IDC_MODIFIED                149
#define IDC_ACCESSED                150
#define IDC_COPY_NAME               151
#define IDC_EXPIRES                 153
#define IDC_EXPIRY_DAYS             154
#define IDC_MODIFIED_LABEL          155
#define IDC_ACCESSED_LABEL          157
#define IDC_SIZE                    165
#define IDC_DOCUMENT_TYPE           166
#define IDC_EXPIRY_SPIN             167
#define IDC_SIZE_LABEL              1236
#define IDC_CREATED_LABEL           1237
#define IDC_LOCATION_BROWSE         1239
#define IDC_NODE_PATH               1243
#define IDC_SHEET_PLACEHOLDER       1337
#define IDC_GROUPS_BUTTON           1342
#define IDC_FAVORITE                1349
#define IDC_PASSWORD_BUTTON         1370
#define IDC_VERSION_BUTTON          1371
#define IDC_OPEN_ACTION_BUTTON      1372
#define IDC_OPEN_ACTION_0           1373    // the open-action choices 0 to 4, in tab order
#define IDC_OPEN_ACTION_1           1374
#define IDC_OPEN_ACTION_2           1375
#define IDC_OPEN_ACTION_3           1376
#define IDC_OPEN_ACTION_4           1377
#define IDC_VERSION_NUMBER          1378
#define IDC_VERSION_SPIN            1379
#define IDC_VERSION_NONE            1381
#define IDC_VERSION_SET             1383
#define IDC_FILE_PICTURE            1418
#define IDC_EXPIRY_PICKER           1420
#define IDC_EXPIRY_PICTURE          1428
#define IDC_SECONDARY               1530
#define IDC_SECONDARY_COMBO         1531
#define IDB_FILE_PICTURE            244     // 16 x 16, 0xFF00FF transparent
#define IDB_EXPIRY_PICTURE          277     // 16 x 16, 0xFF00FF transparent
#define IDS_FILE_SHEET              4038

// The group and keyword property dialogs, their pages (the set-up wizard's
// twins of the keyword, search and folder pages have templates of their
// own), and the sheet of keywords and systems with its two pages.
#define IDD_SYSTEMS_OF_KEYWORD      238
#define IDD_GROUP_PROPERTIES        241
#define IDD_GROUP_GENERAL           242
#define IDD_GROUP_KEYWORDS          243
#define IDD_KEYWORDS_OF_SYSTEM      317
#define IDD_GROUP_SEARCH            369
#define IDD_GROUP_FOLDERS           372
#define IDD_KEYWORD_PROPERTIES      373
#define IDD_GROUP_INST_SEARCH       381
#define IDD_GROUP_INST_FOLDERS      382
#define IDD_GROUP_INST_KEYWORDS     383
#define IDD_GROUP_MESSAGES          409
#define IDC_SYSTEM_REPLACE          193
#define IDC_SYSTEM_ADD              194
#define IDC_SYSTEM_DELETE           195
#define IDC_GROUP_INFO              146
#define IDC_SHEET_SYSTEM_TREE       1211
#define IDC_SHEET_WORD_LIST         1212    // the keywords of a system, or every keyword
#define IDC_GROUP_KEYWORD_LIST      1216
#define IDC_SHEET_SYSTEM_LIST       1225
#define ID_KEYWORD_DELETE           1226
#define IDC_GROUP_NAME              1247
#define IDC_GROUP_FOLDER_ADD        1294
#define IDC_GROUP_FOLDER_DELETE     1297
#define IDC_GROUP_FOLDER_LIST       1299
#define IDC_GROUP_COUNTS            1347
#define IDC_GROUP_ICON              1348
#define IDC_GROUP_EXISTING_NAME     1388
#define IDC_GROUP_NAME_PROMPT       1389
#define ID_KEYWORD_EDIT             1431
#define IDC_SEARCH_FILE_NAME        1502    // the search-type boxes, bits 0 to 7 of the mask
#define IDC_SEARCH_FOLDER_PATH      1503
#define IDC_SEARCH_DESCRIPTION      1351
#define IDC_SEARCH_WHOLE_TEXT       1504
#define IDC_SEARCH_SUBJECT          1506
#define IDC_SEARCH_SENDER           1507
#define IDC_SEARCH_RECIPIENTS       1353
#define IDC_SEARCH_BODY             1509
#define IDC_GROUP_MESSAGES          1531
#define IDS_KEYWORD_SHEET           4011
#define IDS_GROUP_COUNTS            4217    // documents, then groups
#define IDS_FIXED_NODE_INFO         4218
#define IDS_FIXED_NODE_COUNTS       4219    // documents
#define IDS_NEW_GROUP               4294
#define IDS_GROUP_PROPERTIES        4295
#define IDS_MESSAGES_BOTH           4420
#define IDS_MESSAGES_RECEIVED       4421
#define IDS_REMOVE_NUMBER           4289    // the version button and menu entry of a numbered document
#define IDS_SET_NUMBER              4290    // ... of one without a number
#define IDS_KEPT_COPY_LABEL         4446
#define IDD_CONFIRM_DOCUMENT        260

// The question before entries go to the recycle bin or are deleted for good:
// the text, and a picture for each (one of them shows).
#define IDD_SELECTION_ACTION        175
#define IDC_SELECTION_TEXT          1244
#define IDC_SELECTION_TO_BIN        1291
#define IDC_SELECTION_FOR_GOOD      1524
#define IDS_SELECTION_NODE          4005    // the captions: one system or group
#define IDS_SELECTION_ITEMS         4027    // several entries
#define IDS_SELECTION_ITEM          4028    // one document, file or folder

// The choice of a program to open a document with.
#define IDD_OPEN_WITH               258
#define IDC_PROGRAM_LIST            1600

// The new-document monitor's dialogs: the documents that disappeared, the
// summary of those waiting, and the cataloguing dialog.
#define IDD_NEW_DOCS_FOUND          339
#define IDD_NEW_DOCS_SUMMARY        343
#define IDD_CATALOG_NEW_DOCUMENT    344
#define IDC_NEW_DOCS_TEXT           1601
#define IDC_NEW_DOCS_LIST           1602
#define IDC_NEW_DOC_NAME            1603
#define IDC_NEW_DOC_NODES           1604
#define IDC_NEW_DOC_FAVOURITE       1605
#define IDC_SKIP_DOCUMENT           1292    // CNewDocMonitor::RESULT_REMOVE
#define IDS_NEW_DOC_VANISHED        4600
#define IDS_NEW_DOCS_VANISHED       4601    // %d: the count
#define IDS_NEW_DOCS_WAITING        4602    // %d: the count

// A document's description beside its readable content (or its picture).
#define IDD_DOCUMENT_DESCRIPTION    235
#define IDC_DESCRIPTION_TYPE        1334
#define IDC_DOCUMENT_CONTENT        1248
#define IDC_CONTENT_STATUS          1481
#define IDC_SELECTION_TO_DESCRIPTION 1335
#define IDC_OPEN_DOCUMENT           1480    // also the dialog's result once the document opened

// The copy of a document into a chosen folder.
#define IDD_CHOOSE_FOLDER           247
#define IDC_NEW_NAME                1352
#define IDC_COPY_DESCRIPTION        1356
#define IDS_COPY_NAME_PREFIX        4243    // put before the original's name
#define IDS_COPY_OTHER_EXTENSION    4244
#define IDS_COPY_TO_REMOVABLE       4474
#define IDS_COPY_FOLDER_MISSING     4475

// The catalog's nodes in trees, 16 x 16, 0xFF00FF transparent: a top-level
// node of kind k shows image k (k + 1 selected); groups below, 2 and 3.
#define IDB_NODE_TREE               191

// Long catalog runs: the question when the user asks to stop.
#define IDS_STOP_QUESTION           4044

// The catalog document type: its menu, icon and document string (the window
// title, then the name new documents are numbered after).
#define IDR_CATALOG_TYPE            128

// Bars of the main frame: dialog bar templates (a bar's ID is its template's).
#define IDD_DRAG_BAR                138
#define IDD_OPEN_BAR                264
#define IDD_FIND_BAR                266
#define IDD_CATALOG_BAR             268
#define IDD_MAIL_BAR                363
// The question asked while an operation still runs (the frame asks it when
// the user stops a mailbox reorganisation): OK lets it go on, Cancel stops it.
#define IDD_STOP_REORGANIZE         367

// The main frame's small dialogs and the web access notice: a small picture
// beside the title, a large one at the top left.
#define IDD_DAILY_NOTICE            278
#define IDD_ORPHAN_WARNING          287
#define IDD_CONFIRM_SETUP           303
#define IDD_WA_NOTICE               446
#define IDB_OPERATION_IN_PROGRESS   370
#define IDB_DAILY_NOTICE            290
#define IDB_ORPHAN_WARNING          291
#define IDB_CONFIRM_SETUP           299
#define IDC_NOTICE_ICON             1442    // the small picture, IDB_BACKUP_PICTURE
#define IDC_NOTICE_PICTURE          1444
#define IDC_NOTICE_TEXT             1430
#define IDC_DAILY_NOTICE_TITLE      1432
#define IDC_ORPHAN_WARNING_TITLE    1445
#define IDC_NOTICE_DONT_ASK         1529    // the orphan warning's and the web notice's box
#define IDC_WA_NOTICE_PAGE          1570    // the place of the web notice's page
#define IDS_STOP_OPERATION          4445
#define IDS_WA_NOTICE_TITLE         5069
#define IDS_WA_NOTICE_TEXT          5070
#define IDS_WA_NOTICE_SITE_BEFORE   5071    // the text before the site's link
#define IDS_WA_NOTICE_SITE_AFTER    5072    // the text after it

// The clip the progress dialogs play while they work: a document filed into a folder.
#define IDR_FILING_CLIP             395

// Interface kit: the small progress dialog of a long folder search, with the clip.
#define IDD_ANIMATED_PROGRESS       300
#define IDC_PROGRESS_ANIMATION      1201

// Interface kit: the progress dialogs of long operations. The maintenance and
// file-operation dialogs share one template (a status text and a bar); the
// update dialog has three bars with their labels, the tree search a node path
// and a count. The animated ones play the filing clip in IDC_PROGRESS_ANIMATION.
#define IDD_OPERATION_PROGRESS      140
#define IDD_TREE_PROGRESS           288
#define IDD_UPDATE_PROGRESS         359
#define IDC_PROGRESS_BAR            1220
#define IDC_OPERATION_STATUS        1223
#define IDC_PROGRESS_NODE_PATH      1243
#define IDC_PROGRESS_TEXT           1289
#define IDC_UPDATE_LABEL_A          1484
#define IDC_UPDATE_LABEL_B          1485
#define IDC_UPDATE_LABEL_C          1486
#define IDC_UPDATE_BAR_A            1493
#define IDC_UPDATE_BAR_B            1494
#define IDC_UPDATE_BAR_C            1496
#define IDC_TREE_PROGRESS_COUNT     1526
#define IDS_UPDATE_STEP_DRIVES      4406
#define IDS_UPDATE_STEP_NETWORK     4407
#define IDS_UPDATE_STEP_STORES      4408
// The mailbox, backup, busy and compact dialogs; the compact dialog's second
// bar and its pictures of the old and the new catalog file.
#define IDD_BACKUP_PROGRESS         202
#define IDD_BUSY                    221
#define IDD_MAILBOX_PROGRESS        365
#define IDD_COMPACT_PROGRESS        400
#define IDC_BUSY_NODE               183
#define IDC_BUSY_STATUS             1301
#define IDC_PROGRESS_BAR2           1221
#define IDC_COMPACT_SOURCE_IMAGE    1417
#define IDC_COMPACT_TARGET_IMAGE    1528
#define IDB_COMPACT_SOURCE          189
#define IDB_COMPACT_TARGET          284

// Bitmaps of the main toolbar beside its own strip (IDR_MAINFRAME): the eight
// frames of the list filter's blinking button, the favourites button while the
// favourites hold documents, and the web access button while the service runs.
#define IDB_FILTER_BLINK            267
#define IDB_FAVORITES_FULL          245
#define IDB_WEB_RUNNING             458

// The catalog bar's pictures, 16 x 16, 0xFF00FF transparent; one per button.
#define IDB_CATALOG_BAR_CATALOG     263     // IDC_CATALOG_BUTTON1
#define IDB_CATALOG_BAR_TREE        273     // IDC_CATALOG_BUTTON2
#define IDB_CATALOG_BAR_LIST        274     // IDC_CATALOG_BUTTON3
#define IDB_CATALOG_BAR_FIND        272     // IDC_CATALOG_BUTTON4
#define IDB_CATALOG_BAR_RECYCLE     271     // IDC_CATALOG_BUTTON5
#define IDB_CATALOG_BAR_REFRESH     389     // IDC_CATALOG_BUTTON6

// Controls of the bars.
#define IDC_BAR_TEXT                1001    // find bar: the last search text; mail bar: first status line
#define IDC_BAR_TEXT2               1002    // mail bar: second status line
#define IDC_CATALOG_BUTTON1         1476    // catalog bar: six picture buttons, left to right
#define IDC_CATALOG_BUTTON2         1401
#define IDC_CATALOG_BUTTON3         1406
#define IDC_CATALOG_BUTTON4         1409
#define IDC_CATALOG_BUTTON5         1412
#define IDC_CATALOG_BUTTON6         1520
#define IDC_DRAG_LIST               1217    // the drag bar's menu of places
#define IDC_DRAG_UP                 1218
#define IDC_DRAG_DOWN               1219

// Panes of the status bar: the selected node's path and the list's counts.
#define ID_PANE_NODE_PATH           45000
#define ID_PANE_COUNTS              45001
#define IDS_PANE_COUNTS_FORMAT      45002   // %d rows shown, %d items in all

// Commands of the document list, tree and preview (the document frame's).
#define ID_VIEW_DETAILS             32772
#define ID_VIEW_LARGE_ICONS         32773
#define ID_DOC_REMOVE_FROM_GROUP    32776
#define ID_DOC_RENAME               32777
#define ID_DOC_PROPERTIES           32778
#define ID_VIEW_BACK                32780
#define ID_VIEW_FORWARD             32781
#define ID_CATALOG_NEW_GROUP        32782
#define ID_CATALOG_KEYWORDS         32783
#define ID_VIEW_TREE_LARGE          32784
#define ID_VIEW_TREE_SMALL          32785
#define ID_CATALOG_NEW_TOP_GROUP    32786
#define ID_DOC_RECYCLE              32788
#define ID_VIEW_TOP_NODE3           32789
#define ID_VIEW_LIST                32791
#define ID_CATALOG_FIND             32793
#define ID_CATALOG_FIND_NEXT        32794
#define ID_CATALOG_LIST_FILTER      32798
#define ID_DOC_DESCRIPTION          32801
#define ID_DOC_SELECT_ALL           32802
#define ID_DOC_INVERT_SELECTION     32804
#define ID_DOC_EDIT_CELL            32805
#define ID_DOC_PROTECT              32808
#define ID_DOC_PROTECT_WORDED       32809   // 32808 and 32858 as the menu first shows them
#define ID_DOC_VERSION              32812
#define ID_DOC_OPEN_ACTION          32813
#define ID_DOC_OPEN                 32814
#define ID_VIEW_TOP_NODE4           32821
#define ID_VIEW_TOP_NODE4_OTHER     32822
#define ID_VIEW_TOP_NODE3_OTHER     32823
#define ID_CATALOG_NEXT_SYSTEM      32825
#define ID_DOC_CATALOG_AGAIN        32839
#define ID_DOC_SEND_MAIL            32841
#define ID_DOC_PROTECT_MAIL         32858
#define ID_VIEW_PREVIEW             32866
#define ID_DOC_OPEN_WITH_MENU       32885   // the open-action submenu's place before it is filled

// Commands of the main frame.
#define ID_VIEW_DRAG_BAR            32774
#define ID_CATALOG_UPDATE           32779
#define ID_CATALOG_MAINTENANCE      32787
#define ID_TOOLS_DOCUMENTS          32790
#define ID_VIEW_CATALOG_BAR         32795
#define ID_NEW_DOCUMENT_POPUP       32797
#define ID_CATALOG_RELOAD           32803
#define ID_FAVORITES_POPUP          32806
#define ID_VIEW_OPEN_BAR            32815
#define ID_UNPROTECTED_POPUP        32818
#define ID_TOOLS_CHECK_UNSORTED     32824
#define ID_NEW_DOCUMENT_MENU        32826   // places of submenus, turned into popups while the menu opens
#define ID_FAVORITES_MENU           32827
#define ID_PENDING_MENU             32828
#define ID_TOOLS_MONITOR_PREFERENCES 32829
#define ID_TOOLS_PREFERENCES        32830
#define ID_VIEW_FIND_BAR            32831
#define ID_CATALOG_REBUILD          32840
#define ID_TOOLS_SEND_MAIL          32843
#define ID_TOOLS_KEYWORDS_SYSTEMS   32845
#define ID_TOOLS_MONITOR_ICON       32846
#define ID_START_NORMAL             32847
#define ID_SHOW_MAIN_WINDOW         32848
#define ID_CATALOG_NEW_DOCUMENT     32849
#define ID_TRAY_START               32850
#define ID_EXIT_FROM_TRAY           32851
#define ID_VIEW_MAIL_BAR            32856
#define ID_CATALOG_RESTORE          32859
#define ID_TOOLS_WEB_PREFERENCES    32872
#define ID_WEB_TOGGLE               32873
#define ID_WEB_LOG                  32874
#define ID_WEB_TOGGLE_TRAY          32875
#define ID_WEB_CHANGE_USER          32876
#define ID_WEB_CATALOG_SETTINGS     32877
#define ID_WEB_ACCOUNT              32878
#define ID_WEB_INVITE               32879
#define ID_RECENT_POPUP             32881
#define ID_RECENT_MENU              32882
#define ID_APP_EXIT_PROGRAM         32884

// Commands of the application.
#define ID_CATALOG_SETUP_AGAIN      32775

// Dynamic command ranges of the main frame's menus.
#define ID_NEW_DOCUMENT_FIRST       50000
#define ID_NEW_DOCUMENT_LAST        50100
#define ID_OPEN_WITH_FIRST          50101
#define ID_OPEN_WITH_LAST           50200
#define ID_FAVORITE_FIRST           50201
#define ID_FAVORITE_LAST            50300
#define ID_PENDING_FIRST            50301
#define ID_PENDING_LAST             50400
#define ID_RECENT_FIRST             50501
#define ID_RECENT_LAST              50600

// Texts of the main frame.
#define IDS_NO_PLACE_TO_UPDATE      4098
#define IDS_LAUNCH_FAILED           4245
#define IDS_OPEN                    4278
#define IDS_UNPROTECT               4280
#define IDS_PROTECT                 4281
#define IDS_CHOOSE_PROGRAM_FOLDER   4282
#define IDS_CHOOSE_FOLDER           4283
#define IDS_NEW_DOCUMENT            4297
#define IDS_FAVORITES               4302
#define IDS_PENDING_DOCUMENTS       4303
#define IDS_DAILY_NOTICE_COUNT      4320    // %d expired documents
#define IDS_DAILY_NOTICE_DATE       4321    // the text before today's date
#define IDS_SEND_MAIL_ENTRY         4358    // the new-document popup's mail message entry
#define IDS_FIND_BAR                4401
#define IDS_OPEN_BAR                4402
#define IDS_CATALOG_BAR             4403
#define IDS_TOOLBAR                 4404
#define IDS_MAIL_BAR                4415
#define IDS_SEND_MAIL_SUBJECT       4416
// What the user is told when no mail program takes a message: one handed to
// the desktop's (Send Mail, Send by Mail), and one composed from a catalogued
// message (a reply, a forward) or the mail program started on its own.
#define IDS_SEND_MAIL_NO_PROGRAM    4522
#define IDS_COMPOSE_NO_PROGRAM      4523
#define IDS_COMPOSE_FAILED          4524
#define IDS_NO_LOCATION             4422
#define IDS_SETTINGS_NOT_SAVED      4493
#define IDS_WEB_STOP                4512    // the web access command while the service runs
#define IDS_WEB_START               4513    // ... while it does not
#define IDS_RECENTLY_CATALOGUED     4537
#define IDS_OPEN_WITH               5080

// Catalog errors; %s is the catalog's file name.
#define IDS_CATALOG_FATAL_ERROR     4453

// Document and catalog-node pictures.
#define IDI_DOCUMENT                130 // a document without an icon of its own, 32 x 32
#define IDB_NODE_PATH               201 // catalog nodes, 14 x 14 each, 0xFF00FF transparent

// The document lists: column titles (their numbers are the column IDs the
// lists and the catalog's sorts and filters share), the state pictures of
// the rows (eight, 17 x 16 each) and the header's pictures (16 x 16), both
// 0xFF00FF transparent.
#define IDS_COLUMN_NAME             4101
#define IDS_COLUMN_DESCRIPTION      4102
#define IDS_COLUMN_SIZE             4103
#define IDS_COLUMN_NO_TEXT          4104
#define IDS_COLUMN_CREATED          4105
#define IDS_COLUMN_MODIFIED         4106
#define IDS_COLUMN_ACCESSED         4107
#define IDS_COLUMN_DATE             4108
#define IDS_COLUMN_TYPE             4111
#define IDS_COLUMN_LABEL            4113
#define IDS_COLUMN_EXPIRY_STATE     4115
#define IDS_COLUMN_BIN_STATE        4116
#define IDS_COLUMN_BIN_FOLDER       4117
#define IDS_COLUMN_EXPIRED_DATE     4118
#define IDS_COLUMN_ALT_NAME         4417
#define IDS_NAME_EMPTY              4242    // a group's new name is empty
#define IDS_NAME_TAKEN              4007    // a sibling has the name given
#define IDB_LIST_STATES             136
#define IDB_LIST_HEADER             196

// The list windows: the recycle bin, the expired documents and the search
// results (each template's ID also names its menu bar), their controls, the
// recycle bin's commands and questions, and the count caption.
#define IDD_EXPIRED_DOCUMENTS       139
#define IDD_RECYCLE_BIN             169
#define IDD_SEARCH_RESULTS          387
#define IDR_BIN_ROW_MENU            358
#define IDR_LIST_NODE_MENU          171     // a group's row in the document list
#define IDR_LIST_FILE_MENU          172     // a file's row
#define IDR_LIST_EMPTY_MENU         327     // the list's empty space
#define IDR_LIST_MAIL_MENU          338     // a message's row
#define IDC_LIST_WINDOW_LIST        1212
#define IDC_LIST_WINDOW_PATH        1243
#define IDC_LIST_WINDOW_COUNT       1283
#define ID_BIN_CLOSE                32860
#define ID_BIN_RESTORE              32861
#define ID_BIN_EMPTY                32862
#define ID_SEARCH_OPTIONS           32863   // the search results' find options
#define ID_SEARCH_CRITERIA          32864   // ... and the criteria the search used
#define IDS_BIN_RESTORING           4100    // the restore's progress caption
#define IDS_BIN_DELETE_SOME         4029    // %d: the count
#define IDS_BIN_DELETE_ONE          4030    // %s: the document's path
#define IDS_LIST_WINDOW_COUNT       4042    // %d: the rows

// The document list's words for its commands: the open command for several
// rows, the cell-edit command with its column, and the open-action submenu's
// entries (a file's actions, then the entry that asks which one).
#define IDS_OPEN_FILES              4277
#define IDS_OPEN_MESSAGES           4413
#define IDS_OPEN_FILES_MESSAGES     4414
#define IDS_EDIT_CELL_NAMED         4230    // %s: the column's title
#define IDS_ACTION_OPEN             4392
#define IDS_ACTION_OPEN_CHOSEN      4393
#define IDS_ACTION_OPEN_ASSOCIATED  4394
#define IDS_ACTION_OPEN_CHOOSER     4395
#define IDS_ACTION_CHOOSE           4396
#define IDS_MAIL_FILES_SUBJECT      4354    // a message of catalogued files
#define IDS_MAIL_FILES_TEXT         4355
#define IDS_MAIL_ATTACH_FAILED      4356    // %s: the file's name
#define ID_DOC_NOTE_SENDER          32870   // the marked notes of the selected messages take the sender
#define ID_DOC_NOTE_RECIPIENTS      32871   // ... the recipients
#define ID_DOC_DESCRIBE_FROM_CONTENT 32868  // the selected documents' content becomes their description
#define IDS_DESCRIBE_REPLACE_ONE    4487
#define IDS_DESCRIBE_NO_TEXT        4488
#define IDS_DESCRIBE_REPLACE_SOME   4489
#define IDS_DESCRIBE_FAILED         4490
#define IDS_DESCRIBE_PROGRESS       4492

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

// Web access: directory-server requests and the local address of a dial-up link.
#define IDS_WA_DIR_MESSAGE          5064    // %s: the message of the server's reply
#define IDS_WA_DIR_NOT_SERVER       5065    // %s: the plain text of a reply without its marker
#define IDS_WA_DIR_FAILED           5066    // %d, %s: the transport's error number and text
#define IDS_WA_DIR_OFFLINE          5073
#define IDS_WA_DIR_NO_LINK          5081
#define IDS_WA_IPHLP_SIZE           5084
#define IDS_WA_IPHLP_INTERFACES     5085
#define IDS_WA_IPHLP_ADDRESSES      5086
#define IDS_WA_IPHLP_ROUTES         5087
#define IDS_WA_IPHLP_NO_INTERFACES  5088

// Web access: the error texts of replies (sent inside an ERR token: no "|", no line end).
#define IDS_WA_ERR_NO_COMMAND       5012    // 1: no command in the request
#define IDS_WA_ERR_NO_PROFILE       5013    // 3: no enabled profile has the password
#define IDS_WA_ERR_REFUSED          5014    // 2 and every other code
#define IDS_WA_ERR_UNAVAILABLE      5017    // 4
#define IDS_WA_ERR_MAIL_FAILED      5038    // 5
#define IDS_WA_ERR_NOT_ALLOWED      5046    // 6
#define IDS_WA_ERR_NO_SESSION       5048    // 7
#define IDS_WA_ERR_NOT_A_NODE       5050    // 8
#define IDS_WA_ERR_MISSING          5052    // 9
#define IDS_WA_ERR_NO_GROUP         5055    // 10
#define IDS_WA_ERR_NO_UPLOAD_FOLDER 5078    // 11

// Web access: the service log's lines (%s: the request, a path or the argument named).
#define IDS_WA_LOG_REQUEST_UNREADABLE 5001  // the request file
#define IDS_WA_LOG_REPLY_NOT_CREATED  5002  // the request file
#define IDS_WA_LOG_NOT_RENAMED      5003    // the .out path
#define IDS_WA_LOG_NO_COMMAND       5004
#define IDS_WA_LOG_UPLOAD_NAME_TAKEN  5007  // the target
#define IDS_WA_LOG_UPLOAD_NOT_MOVED   5008  // the target
#define IDS_WA_LOG_UPLOAD_STORED      5009  // the target
#define IDS_WA_LOG_UPLOAD_NOT_DELETED 5010  // the upload file
#define IDS_WA_LOG_NO_PROFILE       5005
#define IDS_WA_LOG_REFUSED          5006
#define IDS_WA_LOG_UNAVAILABLE      5011
#define IDS_WA_LOG_MAIL_FAILED      5039
#define IDS_WA_LOG_NOT_ALLOWED      5047
#define IDS_WA_LOG_NO_SESSION       5049
#define IDS_WA_LOG_NOT_A_NODE       5051
#define IDS_WA_LOG_MISSING          5053
#define IDS_WA_LOG_NO_GROUP         5056
#define IDS_WA_LOG_STARTED          5074    // no argument
#define IDS_WA_LOG_STOPPED          5075    // no argument
#define IDS_WA_LOG_UPLOAD_DROPPED   5076    // the target of an upload announced and then abandoned
#define IDS_WA_LOG_NO_UPLOAD_FOLDER 5079
#define IDS_WA_LOG_UPLOAD_TOO_LARGE   5098  // the upload file
#define IDS_WA_LOG_UPLOAD_UNANNOUNCED 5099  // the upload file

// Web access: the connection's messages (boxes with the stop icon).
#define IDS_WA_COMM_FOLDER_FAILED       5043    // %s: the communication folder
#define IDS_WA_NO_PORT                  5054
#define IDS_WA_DIR_FOLDER_UNREACHABLE   5063    // %s: the directory-server folder

// Web access: the server's tray icon (its id names the tray menu) and its two animation steps.
#define IDR_WEB_TRAY                405
#define IDI_WEB_TRAY                407
#define IDI_WEB_TRAY_BUSY           408

// Web access: the file menu of the pages.
#define IDS_WA_MENU_DOWNLOAD        4534
#define IDS_WA_MENU_TIPVIEW         4535

// Web access: errors of a stored upload, sent in an ERR token (no "|", no line end).
#define IDS_WA_UPLOAD_NAME_TAKEN    5015
#define IDS_WA_UPLOAD_NOT_MOVED     5016
#define IDS_WA_UPLOAD_TOO_LARGE     5097

// Web access: title bar items, tabs and column headings of the pages.
#define IDS_WA_TITLE_TIPVIEW        5022
#define IDS_WA_TITLE_UPLOAD         5023
#define IDS_WA_TAB_UPLOADED         5024
#define IDS_WA_TITLE_RELOAD         5025
#define IDS_WA_TAB_EXPLORER         5026
#define IDS_WA_TAB_CATALOG          5027
#define IDS_WA_TITLE_TREE           5028
#define IDS_WA_TITLE_EXPLORER_TREE  5029
#define IDS_WA_TITLE_DOWNLOAD       5030
#define IDS_WA_COLUMN_FOLDERS       5031
#define IDS_WA_COLUMN_NAME          5032
#define IDS_WA_COLUMN_SIZE          5033
#define IDS_WA_COLUMN_DATE          5034
#define IDS_WA_COLUMN_DESCRIPTION   5035
#define IDS_WA_COLUMN_GROUPS        5036
#define IDS_WA_ITEM_COUNT           5037    // %d items shown, %d items in all
#define IDS_WA_TITLE_LOGOUT         5077

// Web access account dialogs: the password dialog of the account operations,
// the account's catalog list and the plain message dialog.
#define IDD_WA_ACCOUNT              419
#define IDD_WA_CATALOG_LIST         445
#define IDD_WA_MESSAGE              456
#define IDB_WA_ACCOUNT              445     // the password dialog's picture
#define IDB_WA_CATALOG              457     // 16-pixel image of a catalog line
#define IDC_WA_ACCOUNT_PASSWORD     1359
#define IDC_WA_ACCOUNT_KEEP         1529
#define IDC_WA_ACCOUNT_TITLE        1434
#define IDC_WA_ACCOUNT_PICTURE      1444
#define IDC_WA_ACCOUNT_USER_ID      1537
#define IDC_WA_CATALOG_LINES        1212
#define IDC_WA_MESSAGE_TEXT         1475
#define IDC_WA_LINK                 452     // the cursor over a link label
#define IDD_WA_CATALOG_SETTINGS     443
#define IDB_WA_CATALOG_SETTINGS     460
#define IDC_WA_CATALOG_CURRENT      1382
#define IDC_WA_CATALOG_NEW_NAME     1554
#define IDC_WA_SETTINGS_PICTURE     1204
#define IDC_WA_SETTINGS_NOTE        1492    // also the backup page's count of kept copies
#define IDS_WA_NOTHING_CHANGED      4121
#define IDS_WA_CATALOG_SETTINGS_TITLE 5206
#define IDD_WA_CHANGE_USER_ID       442
#define IDB_WA_CHANGE_USER_ID       461
#define IDC_WA_NEW_USER_ID          1552
#define IDC_WA_NEW_PASSWORD         1360
#define IDC_WA_CONFIRM_PASSWORD     1361
#define IDS_WA_PASSWORDS_DIFFER     4248
#define IDS_WA_CHANGE_USER_ID_TITLE 5207
#define IDS_WA_INVITATION_SENT      5060
#define IDS_WA_CATALOG_RENAMED      5061
#define IDS_WA_NO_CATALOGS          5062
#define IDS_WA_RENAME_CAPTION       5200
#define IDS_WA_RENAME_TITLE         5201
#define IDS_WA_INVITE_CAPTION       5202
#define IDS_WA_INVITE_TITLE         5203
#define IDS_WA_CONNECT_CAPTION      5204
#define IDS_WA_CONNECT_TITLE        5205

// The web access setup wizard: its pages, their pictures and fields.
#define IDD_WA_SETUP_INTRO          411
#define IDD_WA_SETUP_NOTICE         448
#define IDD_WA_SETUP_CONN_TYPE      439
#define IDD_WA_SETUP_COMM_FOLDER    440
#define IDD_WA_SETUP_ACCOUNT_CHOICE 438
#define IDD_WA_SETUP_NEW_USER       412
#define IDD_WA_SETUP_USER_INFO      453
#define IDD_WA_SETUP_LOGIN          413
#define IDD_WA_SETUP_CATALOG_CHOICE 414
#define IDD_WA_SETUP_NEW_CATALOG    415
#define IDD_WA_SETUP_CATALOG        416
#define IDD_WA_SETUP_TARGET_FOLDER  417
#define IDD_WA_SETUP_FINISH         418
#define IDB_WA_SETUP_NOTICE         410     // also the invitation dialog's picture
#define IDB_WA_SETUP_CONN_TYPE      435
#define IDB_WA_SETUP_COMM_FOLDER    436
#define IDB_WA_SETUP_ACCOUNT_CHOICE 437
#define IDB_WA_SETUP_NEW_USER       433
#define IDB_WA_SETUP_LOGIN          431
#define IDB_WA_SETUP_CATALOG_CHOICE 428
#define IDB_WA_SETUP_NEW_CATALOG    432
#define IDB_WA_SETUP_CATALOG        430
#define IDB_WA_SETUP_TARGET_FOLDER  434
#define IDB_WA_SETUP_FINISH         466
#define IDB_WA_MODEM                451     // 16-pixel choice pictures
#define IDB_WA_CABLE                450
#define IDB_WA_LAN                  468
#define IDC_WA_NOTICE_TEXT          1244
#define IDC_WA_CONN_MODEM           1550
#define IDC_WA_CONN_LAN             1551
#define IDC_WA_CONN_CABLE           1552
#define IDC_WA_PICTURE_MODEM        1476
#define IDC_WA_PICTURE_CABLE        1401
#define IDC_WA_PICTURE_LAN          1406
#define IDC_WA_CHOICE_PICTURE       1476
#define IDC_WA_SMALL_PICTURE        1406
#define IDC_WA_COMM_FOLDER          1532
#define IDC_WA_LINK_LABEL           1492
#define IDC_WA_NEW_ACCOUNT          1538
#define IDC_WA_EXISTING_ACCOUNT     1539
#define IDC_WA_CHOICE_LABEL1        220
#define IDC_WA_CHOICE_LABEL2        222
#define IDC_WA_PERSON_NAME          1382
#define IDC_WA_EMAIL                226
#define IDC_WA_MALE                 1565
#define IDC_WA_FEMALE               1566
#define IDC_WA_COUNTRY              1567
#define IDC_WA_CITY                 1568
#define IDC_WA_STATE                1569
#define IDC_WA_SEND_PASSWORD        1467
#define IDC_WA_NEW_CATALOG          1540
#define IDC_WA_EXISTING_CATALOG     1541
#define IDC_WA_CATALOG_NAME         1382
#define IDC_WA_CATALOG_CODE         1246
#define IDC_WA_PROFILE_PASSWORD     143
#define IDC_WA_TARGET_FOLDER        1533
#define IDC_WA_TARGET_BROWSE        1536
#define IDS_WEB_NOTICE_NEXT         4122    // Next's caption while the notice shows
#define IDS_WA_FOLDER_UNUSABLE      5040
#define IDS_WA_FOLDER_NOT_WRITABLE  5041
#define IDS_WA_FOLDER_CREATE        5042    // %s: the folder
#define IDS_WA_NOTICE_FILE          5067    // the notice file's name in the program folder
#define IDS_WEB_NOTICE_MISSING      5068
#define IDS_WA_BAD_CATALOG_CODE     5208

// The web access profile list, the profile wizard and the invitation dialog.
#define IDD_WA_EDIT_PROFILE         421
#define IDD_WA_PROFILE_NAME         422
#define IDD_WA_PROFILE_GROUPS       423
#define IDD_WA_PROFILE_TRANSFERS    424
#define IDD_WA_PROFILE_INVITE       447
#define IDB_WA_PROFILE_NAME         425
#define IDB_WA_PROFILE_GROUPS       426
#define IDB_WA_PROFILE_TRANSFERS    427
#define IDC_WA_PROFILE_LIST         1543
#define IDC_WA_PROFILE_LABEL        152
#define IDC_WA_LEGEND_WHOLE         1401
#define IDC_WA_LEGEND_PART          1406
#define IDC_WA_LEGEND_NONE          1409
#define IDC_WA_NEW_PROFILE          1339
#define IDC_WA_CHANGE_PROFILE       1319
#define IDC_WA_DELETE_PROFILE       1226
#define IDC_WA_PROFILE_NAME         1382
#define IDC_WA_PROFILE_CONFIRM      1475
#define IDC_WA_GROUP_TREE           1211
#define IDC_WA_ALL_GROUPS           1548
#define IDC_WA_CHOSEN_GROUPS        1549
#define IDC_WA_GROUP_NOTE1          1364
#define IDC_WA_GROUP_NOTE2          163
#define IDC_WA_GROUP_NOTE3          162
#define IDC_WA_GROUP_NOTE4          164
#define IDC_WA_UNCHECK_ALL          1412
#define IDC_WA_CHECK_ALL            1476
#define IDC_WA_MAY_UPLOAD           1547
#define IDC_WA_MAY_DOWNLOAD         1546
#define IDC_WA_FRIEND_NAME          1382
#define IDC_WA_FRIEND_EMAIL         226
#define IDC_WA_INVITE_TEXT          1447
#define IDC_WA_INVITE_PROFILE       1308
#define IDC_WA_SHOW_INVITATION      1557
#define IDS_WEB_PROFILE_NO_PASSWORD  4016
#define IDS_WEB_PROFILE_NO_NAME      4081
#define IDS_WEB_PROFILE_NO_GROUP     4120
#define IDS_WEB_PROFILE_NAME_TAKEN   4531
#define IDS_WEB_PROFILE_PASSWORD_TAKEN 4532
#define IDS_WEB_PROFILE_NONE_ENABLED 5057

// Web access: the tip page's labels and the status line of its reading.
#define IDS_WA_TIP_PATH             5018
#define IDS_WA_TIP_TYPE             5019
#define IDS_WA_TIP_DESCRIPTION      5020
#define IDS_WA_TIP_CONTENT          5021
#define IDS_WA_TIP_EMPTY            4381
#define IDS_WA_TIP_UNREADABLE       4382
#define IDS_WA_TIP_READY            4383
#define IDS_WA_TIP_NO_PREVIEW       4384    // also a picture that can be neither sent nor converted
#define IDS_WA_TIP_NOT_FOUND        4386
#define IDS_WA_TIP_PROTECTED        4387
#define IDS_WA_TIP_NO_TEXT          4388
#define IDS_WA_TIP_MAIL_PROTECTED   4443    // the content shown for a password-protected message

// Interface kit: drag cursors (hot spot at the top-left pixel).
#define IDC_DRAG_NONE               178     // the place under the cursor takes no drop
#define IDC_DRAG_MOVE               179
#define IDC_DRAG_COPY               180

// Interface kit: texts of the controls.
#define IDS_NODE_BUTTON_EMPTY       4019    // a node button that shows no node
#define IDS_NEW_KEYWORD_ROW         4094    // the keyword list's row for typing a new keyword
#define IDS_PASTE_SOURCE_GONE       4255    // the system or group copied from no longer exists
#define IDS_PASTE_DATA_UNREADABLE   4256    // the clipboard's catalog data is damaged

// Interface kit: the column titles of shell folder lists.
#define IDS_SHELL_LIST_NAME         4220
#define IDS_SHELL_LIST_SIZE         4221
#define IDS_SHELL_LIST_TYPE         4222
#define IDS_SHELL_LIST_MODIFIED     4223
#define IDS_SHELL_LIST_FOLDER       4228    // the folder holding the item
#define IDR_SHELL_LIST_MENU         360     // a row's menu; its commands go to the list's window

// Interface kit: the caption and button texts of the program's wizards.
#define IDS_WIZARD_CAPTION          4331
#define IDS_WIZARD_BACK             4525
#define IDS_WIZARD_NEXT             4526
#define IDS_WIZARD_FINISH           4527
#define IDS_WIZARD_HELP             4528
#define IDS_WIZARD_CANCEL           4529

// Interface kit: the colour names of the colour combo box, in its order.
#define IDS_COLOR_MAROON              4429
#define IDS_COLOR_GREEN               4430
#define IDS_COLOR_OLIVE               4427
#define IDS_COLOR_NAVY                4438
#define IDS_COLOR_PURPLE              4431
#define IDS_COLOR_TEAL                4432
#define IDS_COLOR_GRAY                4433
#define IDS_COLOR_SILVER              4434
#define IDS_COLOR_RED                 4435
#define IDS_COLOR_LIME                4436
#define IDS_COLOR_YELLOW              4437
#define IDS_COLOR_BLUE                4428
#define IDS_COLOR_FUCHSIA             4439
#define IDS_COLOR_AQUA                4440
#define IDS_COLOR_WHITE               4441

// The content preview: its context menu, the find bar's commands (each also
// its tooltip's string), its controls, pictures and texts.
#define IDR_PREVIEW_MENU            404
#define ID_PREVIEW_FIND             51000   // the find bar's combo box
#define ID_PREVIEW_LARGER           51001
#define ID_PREVIEW_SMALLER          51002
#define ID_PREVIEW_EDIT_DESCRIPTION 51003
#define ID_PREVIEW_DESCRIPTION      51004   // the selection as the description; also Ctrl+D
#define ID_PREVIEW_PROTECT          51005
#define ID_PREVIEW_SELECT_ALL       51006
#define ID_PREVIEW_COPY             51007
#define IDC_PREVIEW_CLOSE           4660
#define IDC_PREVIEW_TEXT            4661
#define IDB_PREVIEW_FIND_BAR        399     // 18 x 18: larger, smaller, description, selection, protected, unprotected
#define IDB_PREVIEW_PROTECTED       402
#define IDB_PREVIEW_NOTHING         403
#define IDS_PREVIEW_NOTHING         4482
#define IDS_PREVIEW_PROTECTED       4485
#define IDS_PREVIEW_NO_MATCH        4486
#define IDS_NODE_PROPERTIES         4494    // the title of a system's properties, then labels and values
#define IDS_NODE_PROP_GENERAL       4495
#define IDS_NODE_PROP_INFO          4496
#define IDS_NODE_PROP_KEYWORDS      4497
#define IDS_NODE_PROP_SEARCH_FILES  4498
#define IDS_NODE_PROP_BIT_NAME      4499
#define IDS_NODE_PROP_BIT_DESCRIPTION 4500
#define IDS_NODE_PROP_BIT_CONTENT   4501
#define IDS_NODE_PROP_BIT_NOTE      4502
#define IDS_NODE_PROP_BIT_SUBJECT   4503
#define IDS_NODE_PROP_BIT_SENDER    4504
#define IDS_NODE_PROP_SEARCH_MAIL   4505
#define IDS_NODE_PROP_FOLDERS       4506
#define IDS_NODE_PROP_CONTENTS      4507
#define IDS_NODE_PROP_ONE_GROUP     4508    // %d
#define IDS_NODE_PROP_GROUPS        4509    // %d
#define IDS_NODE_PROP_ONE_DOCUMENT  4510    // %d
#define IDS_NODE_PROP_DOCUMENTS     4511    // %d
// The description dialog of a document: its icon, path and text, and its
// captions for the stored description and for one taken from a selection.
#define IDD_DOC_DESCRIPTION         397
#define IDC_DESCRIPTION_ICON        145
#define IDC_DESCRIPTION_PATH        1230
#define IDC_DESCRIPTION_TEXT        1333
#define IDS_DESCRIPTION_EDIT        4483
#define IDS_DESCRIPTION_FROM_SELECTION 4484


// Interface kit: menus with images. The pictures are strips of equal images,
// 0xFF00FF transparent.
#define IDB_SYSTEM_IMAGES           131 // systems by image number, 18 x 18: each kind, then selected
#define IDB_SEND_TO                 302 // desktop, documents, catalogue again, mail; 17 x 17
#define IDB_NEW_DOCUMENT            306 // document, group, mail message; 17 x 17
#define IDB_CHECK_STATES            289 // check trees: states 1 to 5, 16 x 16
#define IDS_NEW_GROUP_ENTRY         4298
#define IDS_NEW_TOP_GROUP_ENTRY     4299
#define IDS_SEND_TO_UNSORTED        4349
#define IDS_SEND_TO_OTHER           4350
#define IDS_SEND_TO                 4351
#define IDS_SEND_TO_CATALOG         4352
#define IDS_SEND_TO_MAIL            4353
#define ID_SEND_TO_UNSORTED         32837
#define ID_SEND_TO_OTHER            32838
#define ID_SEND_TO_DRIVE_FIRST      50401   // the removable drives, upwards
#define ID_SEND_TO_DRIVE_LAST       50500
#define ID_LINKED_SYSTEM_FIRST      50601   // the systems a document is linked to
#define ID_LINKED_SYSTEM_LAST       50700

// Interface kit: the context menus of a document (first submenu; its second
// submenu lists the open actions) and their places for other menus.
#define IDR_DOC_MAIL_MENU           333
#define IDR_DOC_FILE_MENU           334
#define ID_DOC_OPEN_CHOOSER         32810   // the open actions of a file
#define ID_DOC_OPEN_ASSOCIATED      32811
#define ID_DOC_OPEN_CHOSEN          32816
#define ID_DOC_SHOW_FOLDER          32817
#define ID_DOC_PROTECT_AGAIN        32819   // documents unprotected for opening
#define ID_DOC_IMAGE_PREVIEW        32820
#define ID_DOC_SEND_TO_MENU         32842
#define ID_DOC_MAIL_FORWARD         32852   // the open actions of a mail message
#define ID_DOC_MAIL_REPLY           32853
#define ID_DOC_MAIL_SEND_AS_NEW     32854
#define ID_DOC_MAIL_REPLY_ALL       32855
#define ID_DOC_MAIL_OPEN_ACTION     32857
#define ID_DOC_FILE_COMMANDS        32869   // the shell's commands for the file
#define ID_DOC_LINKED_SYSTEMS       32883
#define ID_DOC_MAIL_COMPOSE         1497
#define IDS_PROTECT_AGAIN           4284
#define IDS_IMAGE_PREVIEW           4285
#define IDS_FILE_COMMANDS           4491

// Interface kit: the open bar (template IDD_OPEN_BAR): its buttons carry the
// commands they send, besides the toggle, etched lines, labels and the two
// texts that follow the protection and numbering of the selected document.
#define IDB_OPEN_BAR                265 // the buttons' pictures, 20 x 20
#define IDC_OPEN_BAR_PROTECTION     156
#define IDC_OPEN_BAR_LINE1          1395
#define IDC_OPEN_BAR_TOGGLE         1396
#define IDC_OPEN_BAR_LINE2          1397
#define IDC_OPEN_BAR_LINE3          1404
#define IDC_OPEN_BAR_VERSION        1410
#define IDC_OPEN_BAR_LINE4          1413
#define IDC_OPEN_BAR_PROTECTION_LABEL 1414
#define IDC_OPEN_BAR_VERSION_LABEL  1415
#define IDS_OPEN_BAR_PROTECTED      4308
#define IDS_OPEN_BAR_UNPROTECTED    4309
#define IDS_OPEN_BAR_VERSIONED      4310
#define IDS_OPEN_BAR_UNVERSIONED    4311

// The new-document monitor: its tray icon (its id names the tray menu), the
// two animation steps, and the tips by the count of new documents.
#define IDR_DOC_MONITOR             325
#define IDI_DOC_MONITOR             330
#define IDI_DOC_MONITOR_NEW         331
#define IDI_DOC_MONITOR_NEW_LIT     332
#define IDS_MONITOR_TIP_NONE        4365
#define IDS_MONITOR_TIP_ONE         4366
#define IDS_MONITOR_TIP_MANY        4367    // %d: the count
#define IDS_MONITOR_NO_TRAY         4368    // the desktop has no tray to show the icon in

// The systems tree: its pictures (0xFF00FF transparent; the large images 32
// pixels wide, the small ones IDB_SYSTEM_IMAGES; state images 16 and 20), the
// context menus of a system, of the two fixed top nodes and of empty space,
// and its texts.
#define IDB_TREE_LARGE_STATE        132
#define IDB_TREE_LARGE              134
#define IDB_TREE_SMALL_STATE        135
#define IDR_TREE_NODE_MENU          170
#define IDR_TOP_NODE3_MENU          256
#define IDR_TOP_NODE4_MENU          257
#define IDR_TREE_EMPTY_MENU         328
#define IDS_TOP_NODE3_NAME          4013    // the names the fixed top nodes show
#define IDS_TOP_NODE4_NAME          4292
#define IDS_EDIT_CELL_UNAVAILABLE   4229    // the cell-edit command where no cell can be edited
#define ID_CATALOG_PASTE_AT_TOP     32867

// Popups of the interface kit: their pictures, row menus and texts.
#define IDB_POPUP_ARROWS            206     // the popups' arrows (image 0: a row's child), 16 wide
#define IDB_FOLDER_ITEMS            355     // mailbox, mail user, My Computer; 16 wide
#define IDM_FAVORITE_ROW            246
#define IDM_UNPROTECTED_ROW         254
#define IDM_SHELL_FOLDER_ROW        462
#define IDM_RECENT_ROW              467
#define ID_DOC_REMOVE_FAVORITE      32807
#define ID_FOLDER_NEW               32880
#define IDS_FOLDER_NOT_WRITABLE     4055    // %s: the folder
#define IDS_MAIL_STORES             4240
#define IDS_NO_FAVORITES            4252
#define IDS_ASK_REMOVE_FAVORITE     4253    // %s: the document's path
#define IDS_OPEN_EDIT               4275
#define IDS_OPEN_VIEW               4276
#define IDS_OPEN_WITH_SUBMENU       4279
#define IDS_NO_FOLDERS              4293
#define IDS_OPEN_MAIL_FORWARD          4409
#define IDS_OPEN_MAIL_REPLY          4410
#define IDS_OPEN_MAIL_AS_NEW         4411
#define IDS_OPEN_MAIL_CLIENT       4412
#define IDS_OPEN_MAIL_REPLY_ALL          4447
#define IDS_MY_COMPUTER             4449
#define IDS_NO_RECENT               4543

// The drag bar's places: their pictures (32 x 32: expired documents, none,
// the bin holding something, empty, search results, none, the network), the
// entries' texts and what a place that cannot be used says.
#define IDB_DRAG_BAR                129
#define IDS_DRAG_FOLDER_UNUSABLE    4054    // %s: the folder
#define IDS_DRAG_RECYCLE_BIN        4397
#define IDS_DRAG_EXPIRED            4398
#define IDS_DRAG_DRIVE_UNAVAILABLE  4452    // %s, %s: the drive and its share
#define IDS_DRAG_SEARCH_RESULTS     4464
#define IDS_DRAG_NETWORK            4466

// Preference sheets and the document-type and new-folder dialogs.
#define IDS_OTHER_DOCUMENT_TYPE     4032    // the type of extensions no listed type claims
#define IDS_DEFAULT_FOLDER_READ_ONLY 4090
#define IDS_DEFAULT_FOLDER_MISSING  4091
#define IDS_DEFAULT_FOLDER_REMOVABLE 4099
#define IDS_WEB_PREFERENCES         4119
#define IDS_DOCUMENTS_SHEET         4296
#define IDS_MONITOR_PREFERENCES     4304
#define IDS_PREFERENCES             4305
#define IDS_BACKUPS_KEPT            4341    // %d: the backups on disk
#define IDS_EXTENSION_TAKEN         4345    // %s: the extension, %s: its type
#define IDS_VERSION_TEXT_INVALID    4377
#define IDS_NO_FOLDER_TO_CATALOGUE  4378
#define IDS_FOLDER_NOT_CREATED      4467    // %s: the folder
#define IDS_FOLDER_NAME_INVALID     4468    // %s: the folder
#define IDS_FOLDER_MISSING          4469    // %s: the folder
#define IDS_NEW_FOLDER_NO_NAME      4473
#define IDS_WEB_NO_USER_ID          4530
#define IDS_RECENT_NEW_CATALOGUED   4538
#define IDS_WEB_FOLDER_MISSING      5044    // %s: the folder
#define IDS_WEB_FOLDER_READ_ONLY    5045    // %s: the folder
#define IDS_WEB_PASSWORD_SENT       5059
#define IDD_PREF_WA_ACCOUNT         441     // the account page; its edits and box share the account dialog's IDs
#define IDC_WA_ACCOUNT_CATALOG_CODE 1246
#define IDC_WA_SEND_PASSWORD        1467
#define IDD_PREF_WA_CONNECTION      406
#define IDC_WA_CONN_MODEM           1550    // the connection kinds, in the page's order
#define IDC_WA_CONN_CABLE           1552
#define IDC_WA_CONN_LAN             1551
#define IDC_WA_FOLDER_CAPTION       1325
#define IDC_WA_FOLDER               1532
#define IDC_WA_FOLDER_PICK          1535
#define IDD_DOCUMENT_TYPES          177
#define IDD_CATALOG_DOC_TYPES       261
#define IDC_DOC_TYPES               1213
#define IDC_DOC_EXTENSIONS          1214
#define IDC_DOC_ADD_EXTENSION       1421
#define IDD_NEW_FOLDER              390
#define IDC_NEW_FOLDER_NAME         1521
#define IDC_NEW_FOLDER_PARENT       1522
#define IDD_PREF_VERSIONS           364
#define IDC_VERSION_TEXT            1382
#define IDC_VERSION_BEFORE          1384
#define IDC_VERSION_AFTER           1385
#define IDC_VERSION_PREVIEW         1386
#define IDD_PREF_NOTIFICATION       326
#define IDC_NOTIFY_NEVER            1463    // the cataloguing choices, in stored order
#define IDC_NOTIFY_BY_RULES         1462
#define IDC_NOTIFY_ALWAYS           1545
#define IDC_NOTIFY_OPEN_WINDOW      1465    // the telling choices, in stored order
#define IDC_NOTIFY_TRAY_ONLY        1464
#define IDC_NOTIFY_SOUND            1482
#define IDD_PREF_RECENT             469
#define IDC_RECENT_COUNT            1573
#define IDC_RECENT_OPTIONS          1574
#define IDC_RECENT_COUNT_SPIN       1575
#define IDD_PREF_BACKUP             375
#define IDC_BACKUP_COUNT            1514
#define IDC_BACKUP_COUNT_SPIN       1513
#define IDC_BACKUP_NEVER            1381    // the schedule choices, in the page's order
#define IDC_BACKUP_EVERY_N_DAYS     1383
#define IDC_PREF_DAYS               1254    // a page's count of days, with its arrows
#define IDC_PREF_DAYS_SPIN          1304
#define IDD_PREF_DETAILS            232
#define IDC_DETAIL_ACCESSED         1282    // the column boxes
#define IDC_DETAIL_NAME             1260
#define IDC_DETAIL_CREATED          1280
#define IDC_DETAIL_DESCRIPTION      1275
#define IDC_DETAIL_DATE             1279
#define IDC_DETAIL_FOLDER           1277
#define IDC_DETAIL_ALT_NAME         1495
#define IDC_DETAIL_MODIFIED         1281
#define IDC_DETAIL_SIZE             1276
#define IDC_DETAIL_TYPE             1278
#define IDC_DETAIL_EXTENSION        1274    // names with their extension in the details style
#define IDC_DETAIL_LIST_EXTENSION   1284    // ... in the list style
#define IDC_DETAIL_KBYTES           1303    // the size units, in the page's order
#define IDC_DETAIL_BYTES            1302
#define IDC_DETAIL_DESCRIPTION_TIP  1336
#define IDC_DETAIL_CHECK_ALL        1268
#define IDC_DETAIL_CLEAR_ALL        1267
#define IDD_PREF_GENERAL            233
#define IDC_GENERAL_SINCE_UPDATE    1498    // the recently-catalogued choices
#define IDC_GENERAL_WITHIN_DAYS     1499
#define IDC_GENERAL_RECENT_DAYS     1256
#define IDC_GENERAL_RECENT_DAYS_SPIN 1306
#define IDC_GENERAL_RECENT_COLOR    1500
#define IDC_GENERAL_COPY_FOLDER     1340
#define IDC_GENERAL_MINIMIZE        1511
#define IDC_GENERAL_ORPHAN_WARNING  1519
#define IDD_PREF_UPDATE             215
#define IDC_UPDATE_IN_PLACES        1393
#define IDC_UPDATE_IN_FAST_FOLDERS  1394
#define IDC_FOLDER_ADD              1339    // a folder list's picker and remove buttons
#define IDC_FOLDER_REMOVE           1226
#define IDD_PREF_CLEANUP            262
#define IDC_LIBRARY_ADD             1296
#define IDC_LIBRARY_REMOVE          1295
#define IDC_CLEANUP_ADD             1294
#define IDC_CLEANUP_REMOVE          1297
#define IDD_PREF_DEFAULT_SYSTEM     213
#define IDC_DEFAULT_SYSTEM_PATH     1253
#define IDC_DEFAULT_SYSTEM_CHOOSE   1305
#define IDC_MONITOR_AUTOSTART       1470
#define IDD_PREF_FOLDERS            237
#define IDC_FOLDERS_LOCAL_DISKS     1355
#define IDC_FOLDERS_CHOSEN          1357
#define IDC_FOLDERS_EXCLUDED        1341
#define IDC_FOLDERS_EXCLUDED_ADD    1343
#define IDC_FOLDERS_EXCLUDED_REMOVE 1228
#define IDD_PREF_MAILS              470
#define IDC_MAIL_STORES             1483

// The next system whose documents pass the list filter: the status while it
// is looked for, and the answers when there is none.
#define IDS_NEXT_SYSTEM_NONE        4300
#define IDS_NEXT_SYSTEM_EMPTY       4301
#define IDS_NEXT_SYSTEM_SEARCHING   4423
#define IDS_FIND_ONLY_FOCUSED       4066
#define IDS_FIND_NONE               4067
#define IDS_FIND_WHOLE_CATALOG      4068
#define IDS_FIND_NOT_IN_EXPIRED     4313
#define IDS_FIND_SEARCHING          4424

// Wizard pages: the picture down the left edge and the title beside it.
#define IDC_WIZARD_PAGE_PICTURE     1204
#define IDC_WIZARD_PAGE_TITLE       1434

// The set-up wizard: its pages, in the order the user meets them, and their pictures.
#define IDD_SETUP_WELCOME           280
#define IDD_SETUP_DOCUMENTS         124
#define IDD_SETUP_LOCATIONS         125
#define IDD_SETUP_MAIL              353
#define IDD_SETUP_MODE              283
#define IDD_SETUP_USAGE             121
#define IDD_SETUP_ORGANISATION      122
#define IDD_SETUP_KEYWORDS          123
#define IDD_SETUP_FOLDERS           285
#define IDD_SETUP_FINAL             120
#define IDB_SETUP_WELCOME           208     // page pictures, 135 x 276
#define IDB_SETUP_DOCUMENTS         217
#define IDB_SETUP_LOCATIONS         218
#define IDB_SETUP_MAIL              361
#define IDB_SETUP_MODE              296
#define IDB_SETUP_USAGE             295
#define IDB_SETUP_ORGANISATION      214
#define IDB_SETUP_KEYWORDS          293
#define IDB_SETUP_FOLDERS           297
#define IDB_SETUP_FINAL             294
#define IDB_SETUP_ORGANISE          286     // 16 x 16 choice pictures, 0xFF00FF transparent
#define IDB_SETUP_USAGE_LIST        282
#define IDB_SETUP_OWN_NAMES         276
#define IDC_SETUP_PICTURE1          1476    // small pictures beside a page's text
#define IDC_SETUP_PICTURE2          1401
#define IDC_SETUP_PICTURE3          1406
#define IDC_SETUP_PICTURE4          1409
#define IDC_SETUP_FOLDER_MODE       1435    // the mode page's radios
#define IDC_SETUP_ORGANISATION_MODE 1438
#define IDC_SETUP_USE_USAGE         1207    // the usage page: a usage profile ...
#define IDC_SETUP_USAGES            1210
#define IDC_SETUP_USAGES_LABEL      1429
#define IDC_SETUP_USE_OWN_NAMES     1206    // ... and the user's own names
#define IDC_SETUP_OWN_NAMES         1208
#define IDC_SETUP_OWN_NAMES_LABEL   1427
#define IDC_SETUP_REMOVE            1226    // removes the selected names, items or locations
#define IDC_SETUP_TREE              1211    // the organisation tree and its mirror
#define IDC_SETUP_ADD               1339    // adds an item or a location
#define IDC_SETUP_RENAME            1431
#define IDC_SETUP_NODE_NAME         1459    // the keywords page: the selected item's name
#define IDC_SETUP_LOCAL_DRIVES      1355    // the locations page
#define IDC_SETUP_NETWORK           1357
#define IDC_SETUP_LOCATION_LIST     1338
#define IDC_SETUP_LOCATION_LABEL    1449
#define IDC_SETUP_MAIL_USERS        1483    // the mail page
#define IDC_SETUP_MAIL_FOLDERS      1443
#define IDC_SETUP_FOLDER_TREE       1441    // the folders page: the tree, ...
#define IDC_SETUP_FOLDERS_EMPTY     1448    // ... what shows while it is empty, ...
#define IDC_SETUP_FOLDERS_LABEL     152     // ... and what shows with it
#define IDC_SETUP_LEGEND1           162
#define IDC_SETUP_LEGEND2           163
#define IDC_SETUP_LEGEND3           164
#define IDC_SETUP_FOLDERS_TEXT1     1447
#define IDC_SETUP_FOLDERS_TEXT2     1364
#define IDS_NEW_ITEM_NAME           4006    // a new item's name until the user names it
#define IDS_OWN_NAMES_BRANCH        4237
#define IDS_USAGE_BRANCH            4238
#define IDS_NEW_OWN_NAME            4241    // the own names' new-entry row
#define IDS_CHOOSE_USAGE_KIND       4322
#define IDS_NO_NETWORK_LOCATION     4323
#define IDS_NO_LOCATION_KIND        4324
#define IDS_NO_USAGE                4325
#define IDS_GENERAL_USAGE           4326    // the last line of the usages
#define IDS_OWN_NAME_SUFFIX         4327
#define IDS_SIBLING_NAME_TAKEN      4328    // %s: the current name, %s: the proposed one
#define IDS_BRANCH_NAME_TAKEN       4329    // the same two
#define IDS_NEW_NAME_TAKEN          4330    // %s: the proposed name
#define IDS_NO_EXTENSION_CHOSEN     4335
#define IDS_NO_FOLDER_CHECKED       4340
#define IDS_NO_CRITERIA             4344
#define IDS_LANGUAGE_NAME           4348    // "Ingles": own names read "<name> <suffix>"
#define IDS_NO_USAGE_FILE           4379
// The find options and the search criteria (list filter) dialogs.
#define IDD_SEARCH_CRITERIA         223
#define IDD_FIND_OPTIONS            392
#define IDC_CRITERIA_ACTIVE         1900
#define IDC_CRITERIA_ALL            1901
#define IDC_CRITERIA_ANY            1902
#define IDC_CRITERIA_COLUMN_1       1903
#define IDC_CRITERIA_COLUMN_2       1904
#define IDC_CRITERIA_COLUMN_3       1905
#define IDC_CRITERIA_COLUMN_4       1906
#define IDC_CRITERIA_OPERATOR_1     1907
#define IDC_CRITERIA_OPERATOR_2     1908
#define IDC_CRITERIA_OPERATOR_3     1909
#define IDC_CRITERIA_OPERATOR_4     1910
#define IDC_CRITERIA_VALUE_1        1911
#define IDC_CRITERIA_VALUE_2        1912
#define IDC_CRITERIA_VALUE_3        1913
#define IDC_CRITERIA_VALUE_4        1914
#define IDC_CRITERIA_END_1          1915
#define IDC_CRITERIA_END_2          1916
#define IDC_CRITERIA_END_3          1917
#define IDC_CRITERIA_END_4          1918
#define IDC_FIND_ALL_WORDS          1920
#define IDC_FIND_ANY_WORD           1921
#define IDC_FIND_PHRASE             1922
#define IDC_FIND_FIELD              1923
#define IDC_FIND_SCOPE_CATALOG      1924
#define IDC_FIND_SCOPE_SYSTEM       1925
#define IDC_FIND_SCOPE_LIST         1926
#define IDC_FIND_MATCH_CASE         1927
#define IDC_FIND_WHOLE_WORD         1928
#define IDC_FIND_RECYCLE            1929
#define IDC_FIND_RESULT_LIST        1930
#define IDC_FIND_OPEN_FIND_BAR      1931
#define IDS_CRITERIA_OP_EQUAL       4610
#define IDS_CRITERIA_OP_NOT_EQUAL   4611
#define IDS_CRITERIA_OP_LESS        4612
#define IDS_CRITERIA_OP_GREATER     4613
#define IDS_CRITERIA_OP_CONTAINS    4614
#define IDS_CRITERIA_OP_NOT_CONTAINS 4615
#define IDS_CRITERIA_OP_BETWEEN     4616
#define IDS_CRITERIA_BAD_OPERATOR   4617
#define IDS_CRITERIA_BAD_NUMBER     4618
#define IDS_CRITERIA_BAD_DATE       4619
#define IDS_CRITERIA_CLOSE          4620
#define IDS_CRITERIA_NO_COLUMN      4621
#define IDS_FIND_FIELD_CONTENT      4622
#define IDS_FIND_FIELD_ALL_TEXTS    4623
// The Find Files window and the find dialog of the catalog views.
#define IDD_FIND_FILES              192
#define IDD_FIND_FILES_HOST         386
#define IDC_FIND_FILES_WORDS        1740
#define IDC_FIND_FILES_FOLDER       1741
#define IDC_FIND_FILES_CONTENTS     1742
#define IDC_FIND_FILES_FIND         1743
#define IDC_FIND_FILES_NEW_FOLDER   1744
#define IDC_FIND_FILES_LIST         1745
#define IDC_FIND_FILES_COUNT        1746
#define IDC_FIND_HOST_TEXT          1750
#define IDC_FIND_HOST_FIELD0        1751    // ... to 1756: the fields of CTextSearch in order
#define IDC_FIND_HOST_FIELD1        1752
#define IDC_FIND_HOST_FIELD2        1753
#define IDC_FIND_HOST_FIELD3        1754
#define IDC_FIND_HOST_FIELD4        1755
#define IDC_FIND_HOST_FIELD5        1756
#define IDC_FIND_HOST_TYPE0         1757    // ... to 1759: all words, any word, the phrase
#define IDC_FIND_HOST_TYPE1         1758
#define IDC_FIND_HOST_TYPE2         1759
#define IDC_FIND_HOST_CASE          1760
#define IDC_FIND_HOST_WHOLE_WORD    1761
#define IDC_FIND_HOST_RESULT_LIST   1762
#define IDC_FIND_HOST_RECYCLE       1763
#define IDC_FIND_HOST_FIND_BAR      1764
#define IDS_FIND_FILES_COUNT        4625    // %d: the count
#define IDS_FIND_NO_TEXT            4628
// clang-format on
