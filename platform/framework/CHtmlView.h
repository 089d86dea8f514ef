#pragma once

// CHtmlView: a view that shows an HTML page (HtmlBrowser.h does the layout
// and drawing).
//
// Every navigation, the first included, first asks OnBeforeNavigate2, whose
// cancel stops it. A file or res:// address then loads in the view (a missing
// one, or a page over a megabyte, shows an empty page); any other scheme, and
// a link with target "_blank", go to the desktop through
// LaunchProgram({"xdg-open", url}), a file as its host path. A click on a
// link navigates to it. The page is laid out at the client width, with a
// vertical scroll bar when it is taller than the view, unless its body says
// scroll="no". The hand cursor shows over links.
//
// m_pBrowserApp is the engine: the view holds one reference. A subclass that
// releases it and clears the pointer (as in its WM_DESTROY) leaves a view that
// draws and navigates nothing.

#include "platform/base/CString.h"
#include "platform/base/CollectionArrays.h"
#include "platform/controls/HtmlBrowser.h"
#include "platform/framework/CView.h"

class CHtmlView : public CView {
    DECLARE_DYNAMIC(CHtmlView)
    DECLARE_MESSAGE_MAP()

public:
    CHtmlView() = default;
    ~CHtmlView() override;

    // Makes the view's window and its engine. lpszClassName NULL takes the views' own class.
    BOOL Create(LPCTSTR lpszClassName, LPCTSTR lpszWindowName, DWORD dwStyle, const RECT& rect, CWnd* pParentWnd,
        UINT nID, CCreateContext* pContext = nullptr) override;

    /* Navigation. Flags, headers and posted data are accepted and ignored. */

    void Navigate(LPCTSTR lpszURL, DWORD dwFlags = 0, LPCTSTR lpszTargetFrameName = nullptr,
        LPCTSTR lpszHeaders = nullptr, LPVOID lpvPostData = nullptr, DWORD dwPostDataLen = 0);
    void Navigate2(LPCTSTR lpszURL, DWORD dwFlags = 0, LPCTSTR lpszTargetFrameName = nullptr,
        LPCTSTR lpszHeaders = nullptr, LPVOID lpvPostData = nullptr, DWORD dwPostDataLen = 0);
    // Shows the HTML resource of that name (or number) of the resource module.
    BOOL LoadFromResource(LPCTSTR lpszResource);
    BOOL LoadFromResource(UINT nRes);
    // The address of the page shown; empty before the first navigation.
    CString GetLocationURL() const;

    // The client rectangle of the first link whose text is lpszText, as it
    // shows now; FALSE when there is none (for tools that follow links).
    BOOL GetLinkRect(LPCTSTR lpszText, RECT* pRect) const;

    /* What subclasses override. */

    // Asked before each navigation; *pbCancel TRUE stops it. nFlags is 0,
    // lpszTargetFrameName "" without a target, the posted data empty and the headers NULL.
    virtual void OnBeforeNavigate2(LPCTSTR lpszURL, DWORD nFlags, LPCTSTR lpszTargetFrameName, CByteArray& baPostedData,
        LPCTSTR lpszHeaders, BOOL* pbCancel);

    void OnDraw(CDC* pDC) override;

    CHtmlBrowser* m_pBrowserApp { nullptr };

protected:
    int OnCreate(LPCREATESTRUCT lpCreateStruct);
    void OnDestroy();
    BOOL OnEraseBkgnd(CDC* pDC);
    void OnSize(UINT nType, int cx, int cy);
    void OnVScroll(UINT nSBCode, UINT nPos, CScrollBar* pScrollBar);
    BOOL OnMouseWheel(UINT nFlags, short zDelta, CPoint pt);
    void OnMouseMove(UINT nFlags, CPoint point);
    LRESULT OnMouseLeave(WPARAM wParam, LPARAM lParam);
    void OnLButtonDown(UINT nFlags, CPoint point);
    void OnLButtonUp(UINT nFlags, CPoint point);
    BOOL OnSetCursor(CWnd* pWnd, UINT nHitTest, UINT message);

private:
    // Asks, then loads the page or hands the address to the desktop.
    void NavigateTo(const CString& strUrl, const CString& strTarget);
    // Lays the page out at the client size and matches the scroll bar to it.
    void LayOutPage();
    void ScrollTo(int nScrollY);

    int m_nScrollY { 0 };
    bool m_bTrackingLeave { false };
};
