#pragma once

// Drag images: one image of an image list that follows the mouse during a
// drag, drawn over a window (the lock window) and taken away again without
// the window's help: the pixels under the image are kept while it shows and
// put back when it moves or hides. One drag runs at a time.
//
// Positions are relative to the lock window's top-left corner, frame
// included; the image's hot spot is placed there. A NULL lock window means
// the desktop, which shows nowhere.

#include "platform/gdi/ImageLists.h"
#include "platform/window/WindowTypes.h"

// Starts a drag with a copy of image `iTrack`, its hot spot at (dxHotspot,
// dyHotspot) in the image. FALSE while another drag runs or for a bad image.
BOOL ImageList_BeginDrag(HIMAGELIST himlTrack, int iTrack, int dxHotspot, int dyHotspot);
// Makes the drag image the dragged image with image `iDrag` of `himlDrag`
// (typically a cursor) over it, the new image's hot spot (dxHotspot,
// dyHotspot) on the drag image's hot spot. Each call starts again from the
// image given to ImageList_BeginDrag. FALSE without a drag or for a bad image.
BOOL ImageList_SetDragCursorImage(HIMAGELIST himlDrag, int iDrag, int dxHotspot, int dyHotspot);
// Ends the drag, hiding the image first.
void ImageList_EndDrag();
// Shows the image over `hwndLock` at (x, y).
BOOL ImageList_DragEnter(HWND hwndLock, int x, int y);
// Hides the image and ends the lock.
BOOL ImageList_DragLeave(HWND hwndLock);
// Moves the image; it is drawn only while shown.
BOOL ImageList_DragMove(int x, int y);
// Shows or hides the image where it is.
BOOL ImageList_DragShowNolock(BOOL fShow);
