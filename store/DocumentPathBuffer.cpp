#include "store/DocumentPathBuffer.h"

#include "platform/base/TextFunctions.h"
#include "store/CDocumentRec.h"

namespace {

thread_local char t_szDocPath[DOC_PATH_BUFFER_SIZE];

}

LPTSTR GetDocPathBuffer()
{
    return t_szDocPath;
}

LPCTSTR CopyDocPath(const CDocumentRec* pDocument, BOOL bConvert, BOOL bKeepStar)
{
    CString strPath;
    if (pDocument && pDocument->IsValid()) {
        CString strName;
        pDocument->GetFullPath(strName);
        strPath = pDocument->GetDirectoryPath(bConvert, bKeepStar) + strName;
    }
    Utf8CopyToField(t_szDocPath, sizeof(t_szDocPath), strPath, FieldEnd::NulTerminated);
    return t_szDocPath;
}
