#pragma once

// Drawing where a catalog node stands: its ancestors below the root and the
// node itself, left to right, each as a 16 x 16 picture followed by its name.
// The node button, the node path control, the record list box and the frame's
// status pane draw nodes this way.

#include "platform/base/WinTypes.h"
#include "platform/gdi/GdiTypes.h"

class CNodeRec;

/* Layout, in pixels. */
constexpr int NODE_PATH_ICON_SIZE = 16; // the cell each picture is centred in
constexpr int NODE_PATH_ICON_GAP = 2;   // between a picture and its name
constexpr int NODE_PATH_NODE_GAP = 6;   // between a name and the next picture

// Draws the path of pNode into *pRect of hdc: each picture vertically centred
// in the rectangle, each name in the DC's font and text colour over what is
// there already. Drawing stays inside the rectangle; the rectangle's right edge
// is then set to where the path ends, whether or not all of it fitted (so a
// caller may pass an empty rectangle to measure). The root itself is not
// drawn: its path is empty, and so is that of a node that cannot be read.
void DrawNodePath(const CNodeRec* pNode, HDC hdc, RECT* pRect);
