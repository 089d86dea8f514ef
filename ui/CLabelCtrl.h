#pragma once

// The static text of the dialogs: coloured, bold, underlined or sized text on
// a background of its own, optionally a link that opens its target when
// clicked. Setters return the control, so that calls chain:
//   m_title.SetFontBold(TRUE).SetTextColor(RGB(0, 0, 128));
//
// A flash (text blinking, or the background changing) runs on WM_TIMER once
// a timer is started on the control with the flash kind set; the control
// starts none itself.

#include "platform/framework/CGdiObject.h"
#include "platform/framework/CStatic.h"
#include "platform/gdi/GdiTypes.h"

class CLabelCtrl : public CStatic {
    DECLARE_DYNAMIC(CLabelCtrl)
    DECLARE_MESSAGE_MAP()

public:
    /* Flash kinds. */
    static constexpr int FLASH_NONE = 0;
    static constexpr int FLASH_TEXT = 1;       // the text shows and hides
    static constexpr int FLASH_BACKGROUND = 2; // the background alternates with the flash brush

    CLabelCtrl();
    ~CLabelCtrl() override;

    CLabelCtrl& SetText(LPCTSTR pszText);
    // Each of these redraws at once.
    CLabelCtrl& SetTextColor(COLORREF crText);
    CLabelCtrl& SetFontBold(BOOL bBold);
    CLabelCtrl& SetFontUnderline(BOOL bUnderline);
    CLabelCtrl& SetFontSize(int nSize);
    // Takes effect at the next paint.
    CLabelCtrl& SetBkColor(COLORREF crBack);
    // A link label takes clicks (SS_NOTIFY).
    CLabelCtrl& SetLink(BOOL bLink);
    CLabelCtrl& SetLinkCursor(HCURSOR hCursor);
    // Opened with the "open" verb when the label is clicked; empty: clicks do nothing.
    CLabelCtrl& SetLinkUrl(LPCTSTR pszUrl);

    // The reflected WM_CTLCOLOR of a static: font, colour and background brush.
    HBRUSH CtlColor(CDC* pDC, UINT nCtlColor);

protected:
    void OnLButtonDown(UINT nFlags, CPoint point);
    BOOL OnSetCursor(CWnd* pWnd, UINT nHitTest, UINT message);
    // One flash step: the phase turns over.
    void OnTimer(UINT_PTR nIDEvent);

    // Rebuilds the font from m_logFont and redraws.
    void ReconstructFont();
    void RedrawNow();

    CString m_strLink;
    COLORREF m_crText;
    HBRUSH m_hBackBrush;
    HBRUSH m_hFlashBrush; // the background's other phase
    LOGFONT m_logFont {};
    CFont m_font;
    CString m_strSavedText; // the text while it flashes
    BOOL m_bFlashPhase { FALSE };
    BOOL m_bLink { TRUE };
    int m_nFlashKind { FLASH_NONE };
    HCURSOR m_hLinkCursor { nullptr };
};
