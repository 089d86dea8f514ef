#pragma once

// CToolTipCtrl: the class library's object around a "tooltips_class32" control.
//
// A tool added without a rectangle and without an ID is the window itself
// (TTF_IDISHWND; its parent answers TTN_NEEDTEXT); otherwise it is the
// rectangle (the whole client area when none is given) of the window, named
// by nIDTool. Every tool is watched by subclassing its window (TTF_SUBCLASS);
// RelayEvent passes on what the owner sees besides. Texts given as IDs are
// string resources of the resource module.

#include "platform/controls/ToolTipControl.h"
#include "platform/framework/CWnd.h"

// A TOOLINFO with room for its text.
struct CToolInfo : TOOLINFO {
    char szText[256];
};

class CToolTipCtrl : public CWnd {
    DECLARE_DYNAMIC(CToolTipCtrl)

public:
    CToolTipCtrl() = default;

    // Creates the tip as a popup owned by pParentWnd; dwStyle: TTS_*.
    BOOL Create(CWnd* pParentWnd, DWORD dwStyle = 0);

    void Activate(BOOL bActivate);
    BOOL AddTool(CWnd* pWnd, UINT nIDText, LPCRECT lpRectTool = nullptr, UINT_PTR nIDTool = 0);
    BOOL AddTool(CWnd* pWnd, LPCTSTR lpszText = LPSTR_TEXTCALLBACK, LPCRECT lpRectTool = nullptr, UINT_PTR nIDTool = 0);
    void DelTool(CWnd* pWnd, UINT_PTR nIDTool = 0);
    void UpdateTipText(LPCTSTR lpszText, CWnd* pWnd, UINT_PTR nIDTool = 0);
    void UpdateTipText(UINT nIDText, CWnd* pWnd, UINT_PTR nIDTool = 0);
    void RelayEvent(LPMSG lpMsg);
    int GetToolCount() const;
    // The tool of pWnd and nIDTool, named as AddTool names it, with its text in szText.
    BOOL GetToolInfo(CToolInfo& ToolInfo, CWnd* pWnd, UINT_PTR nIDTool = 0) const;
    void SetToolInfo(LPTOOLINFO lpToolInfo);
    // The tool of pWnd at pt (pWnd's client coordinates); lpToolInfo receives it.
    BOOL HitTest(CWnd* pWnd, POINT pt, LPTOOLINFO lpToolInfo) const;
    // The initial delay in milliseconds; the others follow from it.
    void SetDelayTime(UINT nDelay);

private:
    // Names the tool of pWnd and nIDTool in `info`, as AddTool describes.
    static void FillToolInfo(TOOLINFO* pInfo, CWnd* pWnd, UINT_PTR nIDTool);
};
