#include "dialogs/documents/DocumentRow.h"

#include "resources/ResourceIds.h"
#include "store/CDocumentRec.h"

#include "platform/controls/StaticControl.h"

void ShowDocumentRow(CWnd& dialog, HICON hIcon, LPCTSTR pszPath)
{
    if (hIcon != nullptr)
        dialog.SendDlgItemMessage(IDC_DOCUMENT_ICON, STM_SETICON, reinterpret_cast<WPARAM>(hIcon), 0);
    dialog.SetDlgItemText(IDC_DOCUMENT_PATH, pszPath);
}

CString DocumentDisplayPath(const CDocumentRec& document)
{
    CString strName;
    document.GetFullPath(strName);
    return document.GetDirectoryPath(TRUE) + strName;
}
