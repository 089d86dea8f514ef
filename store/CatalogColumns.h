#pragma once

// The column IDs of the document lists: what a sort (CSortSpec) or a list
// filter condition compares. The IDs are the lists' column string numbers.

#include "platform/base/WinTypes.h"

// clang-format off
constexpr LONG COLUMN_NAME          = 4101; // the full path; nodes always sort by name
constexpr LONG COLUMN_DESCRIPTION   = 4102; // the name with its location text
constexpr LONG COLUMN_SIZE          = 4103;
constexpr LONG COLUMN_CREATED       = 4105;
constexpr LONG COLUMN_MODIFIED      = 4106;
constexpr LONG COLUMN_ACCESSED      = 4107;
constexpr LONG COLUMN_DATE          = 4108; // the record's date word (the expiry date)
constexpr LONG COLUMN_TYPE          = 4111;
constexpr LONG COLUMN_LABEL         = 4113;
constexpr LONG COLUMN_EXPIRY_STATE  = 4115;
constexpr LONG COLUMN_EXPIRED_DATE  = 4118; // the date word, in the expired documents' list
constexpr LONG COLUMN_ALT_NAME      = 4417; // the secondary name with its location text
constexpr LONG COLUMN_NO_TEXT       = 4104; // a column that shows no text
constexpr LONG COLUMN_BIN_STATE     = 4116; // the recycle bin's state column
constexpr LONG COLUMN_BIN_FOLDER    = 4117; // the recycle bin's original folder
// clang-format on
