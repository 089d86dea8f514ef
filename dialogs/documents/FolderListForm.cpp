#include "dialogs/documents/FolderListForm.h"

#include "store/PathHelpers.h"

CString ListFolderForm(const CString& strFolder)
{
    CString strForm = strFolder;
    strForm.MakeLower();
    return AddBackslash(strForm);
}
