#pragma once

// CDragBar: the main frame's narrow bar of places (CCoolMenu) between an up
// and a down arrow that scroll it. The arrows are enabled while there is
// more to see that way (a partly shown entry counts as shown); a drag held
// over an arrow scrolls too. At each update the first entries' pictures
// follow what the bin, the expired documents and the search results hold.

#include "frame/CCoolMenu.h"
#include "ui/CBtnSeta.h"

#include "platform/framework/CDialogBar.h"
#include "platform/framework/CGdiObject.h"

class CDragBar : public CDialogBar {
    DECLARE_DYNCREATE(CDragBar)
    DECLARE_MESSAGE_MAP()

public:
    // The list's font: a scalable face at 8 points, the smallest size that reads.
    static constexpr int FONT_TENTHS = 80;

    CDragBar();
    ~CDragBar() override;

    // Create the bar, then its arrows, list and entries; FALSE when the bar is
    // not made. The form by template ID comes here too.
    using CDialogBar::Create;
    BOOL Create(CWnd* pParentWnd, LPCTSTR lpszTemplateName, UINT nStyle, UINT nID) override;

    // Rebuilds the entries.
    void FillList() { m_list.FillList(); }
    CCoolMenu& GetList() { return m_list; }

    // The arrows' states and the entries' pictures, while the main window is not minimised.
    void OnUpdateCmdUI(CFrameWnd* pTarget, BOOL bDisableIfNoHndler) override;

protected:
    void OnSize(UINT nType, int cx, int cy);
    void OnScrollUp();
    void OnScrollDown();
    void OnDrawItem(int nIDCtl, LPDRAWITEMSTRUCT lpDrawItemStruct);

private:
    BOOL Initialise();
    void LayoutControls();
    // The last entry shown, a partly shown one included; -1 for an empty list.
    int LastVisibleItem() const;
    void UpdateArrows();

    CBtnSeta m_btnUp;
    CBtnSeta m_btnDown;
    CCoolMenu m_list;
    CFont m_font;
};
