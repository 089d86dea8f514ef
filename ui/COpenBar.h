#pragma once

// The main frame's bar of document commands: flat image buttons that send
// their commands (the open actions, the open-action choice, the folder,
// protection and numbering), and texts telling whether the selected document
// is protected and numbered. The toggle button switches between the open
// look and a collapsed one that shows only the toggle and Open. The bar's
// width follows the look: it ends 6 pixels after the version text when open,
// after the Open button when collapsed; the frame floats it at that width.
//
// Template IDD_OPEN_BAR. The layout keeps the open flag and the width in the
// subkey "Openbar" of its key (LoadState, SaveState). The frame sends the
// toggle's command back to Toggle and the states of the protection and
// numbering commands to UpdateToggleText.

#include "platform/framework/CImageList.h"
#include "platform/framework/CStatic.h"
#include "ui/CBrushDialogBar.h"
#include "ui/CHotTrackButton.h"

#include <array>

class COpenBar : public CBrushDialogBar {
public:
    COpenBar() = default;

    // Switches between the open and the collapsed look.
    void Toggle();
    // Shows or hides the controls of the open look and sets the width by it,
    // then lets the frame lay the bar out again.
    void UpdateLayout();
    // For ID_DOC_PROTECT and ID_DOC_VERSION: a state that differs from the
    // one shown changes the matching text; other commands are ignored.
    void UpdateToggleText(UINT nID, BOOL bState);

    BOOL IsOpen() const { return m_bOpen; }
    int GetWidth() const { return m_nWidth; }

    // Reads the open flag and the width from the subkey "Openbar" of hParent
    // (before the bar is made); nothing without a key.
    void LoadState(HKEY hParent);
    // Writes them there, replacing what the subkey held.
    void SaveState(HKEY hParent);

    // The base size with the bar's width, once it has one.
    CSize CalcDynamicLayout(int nLength, DWORD dwMode) override;

protected:
    // Subclasses the buttons and texts and gives the buttons their pictures.
    void InitBar() override;

private:
    std::array<CHotTrackButton, 9> m_buttons;
    CStatic m_protectionText;
    CStatic m_versionText;
    BOOL m_bProtected { FALSE }; // the state the protection text shows
    BOOL m_bVersioned { FALSE }; // the state the version text shows
    BOOL m_bOpen { TRUE };
    int m_nWidth { 0 };  // in pixels; 0 until laid out or kept
    CImageList m_images; // IDB_OPEN_BAR
};
