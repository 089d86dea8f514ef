#include "dialogs/documents/DocumentRow.h"

#include "resources/ResourceIds.h"

#include "platform/controls/StaticControl.h"

void ShowDocumentRow(CWnd& dialog, HICON hIcon, LPCTSTR pszPath)
{
    if (hIcon != nullptr)
        dialog.SendDlgItemMessage(IDC_DOCUMENT_ICON, STM_SETICON, reinterpret_cast<WPARAM>(hIcon), 0);
    dialog.SetDlgItemText(IDC_DOCUMENT_PATH, pszPath);
}
