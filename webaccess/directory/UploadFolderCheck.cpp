#include "webaccess/directory/UploadFolderCheck.h"

#include "resources/ResourceIds.h"
#include "store/FileHelpers.h"

#include "platform/framework/AfxMessageBox.h"
#include "platform/framework/CWnd.h"

namespace {

BOOL RefuseFolder(CWnd& page, int nIdEdit, const CString& strMessage, UINT nIcon)
{
    AfxMessageBox(strMessage, MB_OK | nIcon);
    if (CWnd* pEdit = page.GetDlgItem(nIdEdit))
        pEdit->SetFocus();
    return FALSE;
}

CString Loaded(UINT nId)
{
    CString strText;
    strText.LoadString(nId);
    return strText;
}

} // namespace

BOOL CheckUploadFolder(CWnd& page, int nIdEdit, const CString& strFolder, UINT nIcon)
{
    const DWORD dwCheck = CheckFolder(strFolder, FOLDER_WRITABLE);
    if (dwCheck & FOLDER_UNUSABLE)
        return RefuseFolder(page, nIdEdit, Loaded(IDS_WA_FOLDER_UNUSABLE), nIcon);
    if (!(dwCheck & FOLDER_WRITABLE))
        return RefuseFolder(page, nIdEdit, Loaded(IDS_WA_FOLDER_NOT_WRITABLE), nIcon);
    if (!(dwCheck & FOLDER_MISSING))
        return TRUE;
    CString strQuestion;
    strQuestion.Format(IDS_WA_FOLDER_CREATE, static_cast<LPCTSTR>(strFolder));
    if (AfxMessageBox(strQuestion, MB_YESNO | MB_ICONQUESTION) != IDYES) {
        if (CWnd* pEdit = page.GetDlgItem(nIdEdit))
            pEdit->SetFocus();
        return FALSE;
    }
    if (CreateFolderPath(strFolder))
        return TRUE;
    CString strFailed;
    strFailed.Format(IDS_WA_COMM_FOLDER_FAILED, static_cast<LPCTSTR>(strFolder));
    return RefuseFolder(page, nIdEdit, strFailed, MB_ICONSTOP);
}
