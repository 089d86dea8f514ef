#include "ui/ConfirmDelete.h"

#include "store/ResString.h"

#include "platform/framework/AfxMessageBox.h"

int AskConfirmDelete(const CDeleteQuestion& question)
{
    CString strText;
    for (UINT nID : question.textIds) {
        if (!strText.IsEmpty())
            strText += "\n";
        strText += GetResString(nID);
    }
    for (const CString& strPath : question.paths)
        strText += "\n" + strPath;
    return AfxMessageBox(strText, question.nStyle);
}
