#include "tests/ui/RecordingUiHost.h"

#include "store/CDocumentRec.h"
#include "store/CNodeRec.h"

BOOL CRecordingUiHost::OpenItem(CDocumentRec& document, LPCTSTR pszProgram)
{
    Record("OpenItem", document);
    if (pszProgram && *pszProgram)
        m_calls.back() += std::string(" with ") + pszProgram;
    return TRUE;
}

int CRecordingUiHost::RunNewFolder(LPCTSTR pszParentPath)
{
    m_calls.emplace_back(std::string("RunNewFolder ") + pszParentPath);
    return m_nAnswer;
}

int CRecordingUiHost::Record(const char* pszCall, CDocumentRec& document)
{
    CString strName;
    document.GetFullPath(strName);
    m_calls.emplace_back(
        std::string(pszCall) + " " + std::string(document.GetDirectoryPath(FALSE)) + std::string(strName));
    return m_nAnswer;
}

int CRecordingUiHost::Record(const char* pszCall, CNodeRec& node)
{
    m_calls.emplace_back(std::string(pszCall) + " " + std::string(node.GetName()));
    return m_nAnswer;
}
