#include "webaccess/directory/CWAFolderPicker.h"

#include "catalog/CInfoPIDL.h"
#include "catalog/ShellItemIds.h"
#include "ui/CPIDLPopupCtrl.h"

#include "platform/base/Com.h"
#include "platform/framework/CButton.h"
#include "platform/framework/CRect.h"

BOOL CWAFolderPicker::Pick(CButton& button, CString& strFolder)
{
    if (m_bBusy)
        return FALSE;
    LPITEMIDLIST pidlDrives = nullptr;
    if (FAILED(SHGetSpecialFolderLocation(nullptr, CSIDL_DRIVES, &pidlDrives)))
        return FALSE;
    m_bBusy = true;
    button.SetState(TRUE);
    CString strChosen;
    CPIDLPopupWnd popup;
    if (popup.Create(button.GetParent()) == 1) {
        popup.GetPIDLList().FillFromPIDL(pidlDrives, CPIDLPopupCtrl::MASK_FIXED_NETWORK);
        CRect rcButton;
        button.GetWindowRect(&rcButton);
        const POINT point { rcButton.left + 10, rcButton.bottom - 1 };
        if (auto* pChosen = static_cast<CInfoPIDL*>(popup.TrackPopup(&point, nullptr, &rcButton))) {
            if (pChosen->m_pFolder && pChosen->m_pidlRelative)
                (void)GetDisplayNameOfPIDL(pChosen->m_pFolder, pChosen->m_pidlRelative, SHGDN_FORPARSING, strChosen);
            FreeInfoPIDL(nullptr, pChosen);
            delete pChosen;
        }
    }
    CoTaskMemFree(pidlDrives);
    if (::IsWindow(button.GetSafeHwnd()))
        button.SetState(FALSE);
    m_bBusy = false;
    if (strChosen.IsEmpty())
        return FALSE;
    strFolder = strChosen;
    return TRUE;
}
