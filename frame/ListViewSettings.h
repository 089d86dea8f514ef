#pragma once

// What the document list keeps in the registry, read and written without a
// window: the column layout (the value "Columns", program-wide under
// "Preferences" and per catalog view under its "ListView" key) and a catalog
// view's style and sort. Values of the wrong type or size, and layouts whose
// display positions are not each column's once, are ignored.

#include "platform/base/Registry.h"

#include <vector>

// One column's layout; also the element of the registry value "Columns".
struct CColumnLayout {
    LONG nListWidth;   // pixels in the list style; 0 hidden; < 0 fills what the name and state columns leave
    LONG nDetailWidth; // pixels in the details style; 0 or less hidden (< 0: the width it comes back with)
    LONG nOrder;       // display position
};
static_assert(sizeof(CColumnLayout) == 12);

constexpr int LIST_COLUMN_COUNT = 11;

/* View styles. */
constexpr int LIST_STYLE_ICONS = 0;
constexpr int LIST_STYLE_DETAILS = 1;
constexpr int LIST_STYLE_LIST = 3; // the report view with the list widths

// Reads hKey's "Columns": TRUE, with *pLayout replaced, when it is a binary
// value of exactly LIST_COLUMN_COUNT records whose positions are each one's once.
BOOL ReadColumnLayout(HKEY hKey, std::vector<CColumnLayout>* pLayout);
BOOL WriteColumnLayout(HKEY hKey, const std::vector<CColumnLayout>& layout);

// A catalog view's list settings besides the layout and the list filter.
struct CListViewKept {
    int nViewStyle { LIST_STYLE_DETAILS };
    int nSortColumn { 0 }; // a column index, within the columns
    BOOL bAscending { TRUE };
};

// Reads "ViewStyle" (4 bytes), "SortColumn" and "SortOrder" of a "ListView"
// key; what is missing or out of range keeps its default.
CListViewKept ReadListViewKept(HKEY hKey);
