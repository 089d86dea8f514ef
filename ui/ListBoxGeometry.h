#pragma once

// Which items of a list box with items of their own heights are in view,
// and which item lies under a point. All walk from the top index with the
// client height.

class CListBox;

// Both subtract item heights from the client height, from the top index on,
// and return the item at which the budget ran out, or the item count when
// the items ran out first. The first stops when less than one pixel is left
// (the item that exactly fills the client area, or the first one cut off);
// the second when the budget went negative (the first item cut off, or the
// one below an exact fit).
int GetListBoxLastFullItem(CListBox* pListBox);
int GetListBoxLastPartialItem(CListBox* pListBox);
// The item under (x, y), client coordinates; -1 outside the client area or
// below the last item.
int GetListBoxItemFromPoint(CListBox* pListBox, int x, int y);
