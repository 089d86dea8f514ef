#pragma once

// CPreviewFindBar: the strip above the preview's text: the combo box of words
// to find (ID_PREVIEW_FIND) and five picture buttons: larger, smaller, edit
// the description, take the selection as the description, protect. Each has a
// tooltip. The bar passes every command of its controls, and Enter in the
// combo as ID_PREVIEW_FIND, on to its parent.

#include "frame/CFindCombo.h"
#include "ui/CHotTrackButton.h"

#include "platform/framework/CGdiObject.h"
#include "platform/framework/CImageList.h"
#include "platform/framework/CSize.h"
#include "platform/framework/CStatic.h"
#include "platform/framework/CToolTipCtrl.h"

class CPreviewFindBar : public CStatic {
    DECLARE_MESSAGE_MAP()

public:
    static constexpr int BUTTON_COUNT = 5; // ID_PREVIEW_LARGER to ID_PREVIEW_PROTECT
    static constexpr int COMBO_WIDTH = 150;
    static constexpr int COMBO_LIST_HEIGHT = 90;

    CPreviewFindBar();
    ~CPreviewFindBar() override;

    // The font, the tooltips and the buttons' colours; once the bar exists.
    void Setup();
    // The protect button's picture: pressed while the shown document is protected.
    void SetButtonState(UINT nID, BOOL bPressed);
    // Enables or disables the controls from nFirst to nLast (ID_PREVIEW_*).
    void EnableControls(UINT nFirst, UINT nLast, BOOL bEnable);
    BOOL IsControlEnabled(UINT nID);
    // Six times an image and its margins wide, an image and 4 pixels high.
    CSize GetPreferredSize() const;
    // The words to find.
    CString GetSearchText() const { return m_combo.GetWords(); }
    CFindCombo& GetCombo() { return m_combo; }

    BOOL PreTranslateMessage(MSG* pMsg) override;

protected:
    int OnCreate(LPCREATESTRUCT lpCreateStruct);
    void OnSize(UINT nType, int cx, int cy);
    void OnForwardCommand(UINT nID);
    void OnComboKillFocus();
    void OnComboReturn(NMHDR* pNotify, LRESULT* pResult);

private:
    CSize ImageSize() const;

    CImageList m_images;
    CToolTipCtrl m_tips;
    CHotTrackButton m_buttons[BUTTON_COUNT];
    CFindCombo m_combo;
    CFont m_font;
};
