#pragma once

// The keyword lists of the group pages and of the keywords-of-a-system page:
// the rows below the new-entry row as the texts to store, and the edit and
// delete commands they share.

#include "platform/base/CString.h"

#include <vector>

class CKeywordListCtrl;

// Ends an open in-place edit by giving the focus to the list's parent, which
// commits the edit's text.
void EndKeywordEdit(CKeywordListCtrl& list);
// The texts of rows last to 1, trimmed, blank ones left out.
std::vector<CString> GetKeywordRows(const CKeywordListCtrl& list);
// The edit command: the first selected row, else the focused one, else row 0, in place.
void EditKeywordRow(CKeywordListCtrl& list);
// The delete command is enabled while a row is selected and the first one is not row 0.
BOOL CanDeleteKeywordRows(const CKeywordListCtrl& list);
