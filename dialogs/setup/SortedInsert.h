#pragma once

// Inserting into a check list kept in ascending order without regard to case,
// where a binary search over the lines already there puts each new one (an
// equal line goes before the first it meets).

#include "platform/base/WinTypes.h"

class CCheckListBox;

// The index the new line took, or a negative LB_ERR/LB_ERRSPACE.
int InsertSortedNoCase(CCheckListBox& list, LPCTSTR pszText);
