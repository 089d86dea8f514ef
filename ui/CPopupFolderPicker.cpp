#include "ui/CPopupFolderPicker.h"

#include "catalog/CInfoPIDL.h"
#include "catalog/ShellItemIds.h"
#include "platform/base/Com.h"
#include "platform/framework/CRect.h"
#include "platform/shell/ShellFolder.h"
#include "ui/CPIDLPopupCtrl.h"

#include <memory>

void GetPopupPlaceUnderButton(CButton& button, POINT* pPos, RECT* pButton)
{
    button.GetWindowRect(pButton);
    pButton->bottom -= 1;
    *pPos = POINT { pButton->left + CPopupFolderPicker::POPUP_INDENT, pButton->bottom };
}

void* TrackPopupUnderButton(CPopupWnd& popup, CButton& button)
{
    const HWND hButton = button.GetSafeHwnd();
    button.SetState(TRUE);
    POINT pos {};
    RECT rcButton {};
    GetPopupPlaceUnderButton(button, &pos, &rcButton);
    void* pResult = popup.TrackPopup(&pos, &rcButton, &rcButton);
    // The popup's loop may have seen the page go.
    if (::IsWindow(hButton))
        button.SetState(FALSE);
    return pResult;
}

namespace {

// The parsing name of the folder chosen in a popup opened under the button; empty when none.
CString RunPopup(CButton& button, DWORD dwDriveTypeMask)
{
    LPITEMIDLIST pidlDrives = nullptr;
    if (FAILED(SHGetSpecialFolderLocation(nullptr, CSIDL_DRIVES, &pidlDrives)) || !pidlDrives)
        return {};
    CString strFolder;
    CPIDLPopupWnd popup;
    if (popup.Create(button.GetParent()) == 1) {
        popup.GetPIDLList().FillFromPIDL(pidlDrives, dwDriveTypeMask);
        std::unique_ptr<CInfoPIDL> pChosen(static_cast<CInfoPIDL*>(TrackPopupUnderButton(popup, button)));
        if (pChosen) {
            if (pChosen->m_pFolder && pChosen->m_pidlRelative)
                (void)GetDisplayNameOfPIDL(pChosen->m_pFolder, pChosen->m_pidlRelative, SHGDN_FORPARSING, strFolder);
            FreeInfoPIDL(nullptr, pChosen.get());
        }
    }
    CoTaskMemFree(pidlDrives);
    return strFolder;
}

} // namespace

BOOL CPopupFolderPicker::Pick(CButton& button, CString& strFolder)
{
    if (m_bBusy)
        return FALSE;
    m_bBusy = true;
    const CString strChosen = RunPopup(button, m_dwDriveTypeMask);
    m_bBusy = false;
    if (strChosen.IsEmpty())
        return FALSE;
    strFolder = strChosen;
    return TRUE;
}
