#pragma once

// The look the main frame's small dialogs share: a small picture beside a
// title, the title bold, 14 high and dark blue.

class CImageButton;
class CLabelCtrl;

// Shows the first picture of the shared 16-pixel strip on the button face.
void SetNoticeIcon(CImageButton& icon);
void StyleNoticeTitle(CLabelCtrl& title);
