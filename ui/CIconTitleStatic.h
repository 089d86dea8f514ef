#pragma once

// A sunken title strip: a small system icon and one line of text in a framed
// white box at the control's top-left corner, on the button face. The box is
// as large as its content (SetText measures it), cut to the control.
//
//   ┌────────────────────┐  frame: shadow/highlight, then dark shadow/light
//   │ [icon]     text    │  icon 5 pixels in, text icon width + 10 in
//   └────────────────────┘

#include "platform/framework/CGdiObject.h"
#include "platform/framework/CStatic.h"
#include "ui/CSysImageList.h"

class CIconTitleStatic : public CStatic {
    DECLARE_MESSAGE_MAP()

public:
    CIconTitleStatic();

    // Shows nIcon (an index of the small system image list, -1 none) and the
    // text; an empty text shows the empty frame of a short text and no icon.
    void SetText(int nIcon, LPCTSTR pszText);

protected:
    void OnPaint();

private:
    CString m_strText;
    int m_nIcon { -1 };    // in the small system image list; -1: none
    CFont m_font;          // DEFAULT_GUI_FONT's
    CSysImageList m_icons; // keeps the system lists attached
    int m_cxText { 0 };    // measured text width + 14
    int m_cyText { 0 };    // the box's height: the taller of text + 4 and icon + 2, + 4
    int m_cxIcon { 0 };    // the small system icons' size
    int m_cyIcon { 0 };
};
