#pragma once

// The look the main frame's small dialogs share: a small picture beside a
// title, the title bold, 14 high and dark blue.

#include "platform/base/WinTypes.h"

class CImageButton;
class CLabelCtrl;

// Shows the first picture of the shared 16-pixel strip on the button face.
void SetNoticeIcon(CImageButton& icon);
// Shows the first picture of the 16-pixel strip nIDBitmap (0xFF00FF transparent) on the button face.
void SetSmallPicture(CImageButton& icon, UINT nIDBitmap);
void StyleNoticeTitle(CLabelCtrl& title);
