// CWinApp's command line and document templates.

#include "platform/framework/AfxFrameIds.h"
#include "platform/framework/AfxWinMain.h"
#include "platform/framework/CCommandLineInfo.h"
#include "platform/framework/CDocTemplate.h"
#include "platform/framework/CWinApp.h"
#include "platform/framework/CWnd.h"
#include "platform/framework/IndexPosition.h"

/***** The command line *****/

void CWinApp::ParseCommandLine(CCommandLineInfo& rCmdInfo)
{
    const std::vector<CString>& arguments = AfxGetArguments();
    for (size_t i = 1; i < arguments.size(); ++i) {
        LPCTSTR pszParam = arguments[i];
        BOOL bFlag = pszParam[0] == '-' || pszParam[0] == '/';
        if (bFlag)
            ++pszParam;
        rCmdInfo.ParseParam(pszParam, bFlag, i + 1 == arguments.size());
    }
}

BOOL CWinApp::ProcessShellCommand(CCommandLineInfo& rCmdInfo)
{
    switch (rCmdInfo.m_nShellCommand) {
    case CCommandLineInfo::FileNew:
        if (!OnCmdMsg(ID_FILE_NEW, CN_COMMAND, nullptr, nullptr))
            OnFileNew();
        return m_pMainWnd != nullptr;
    case CCommandLineInfo::FileOpen:
        for (const auto& pTemplate : m_templateList) {
            if (pTemplate->OpenDocumentFile(rCmdInfo.m_strFileName))
                return TRUE;
        }
        return FALSE;
    case CCommandLineInfo::FileNothing:
        return TRUE;
    default:
        return FALSE; // printing, DDE and registration are not offered
    }
}

/***** Document templates *****/

void CWinApp::AddDocTemplate(CDocTemplate* pTemplate)
{
    pTemplate->LoadTemplate();
    m_templateList.push_back(pTemplate);
}

POSITION CWinApp::GetFirstDocTemplatePosition() const
{
    return FirstIndexPosition(m_templateList);
}

CDocTemplate* CWinApp::GetNextDocTemplate(POSITION& rPosition) const
{
    return NextAtIndexPosition(m_templateList, rPosition);
}

void CWinApp::OnFileNew()
{
    // With several templates the first one is taken: no Part offers a choice.
    if (!m_templateList.empty())
        m_templateList.front()->OpenDocumentFile(nullptr);
}

void CWinApp::CloseAllDocuments(BOOL bEndSession)
{
    for (const auto& pTemplate : m_templateList)
        pTemplate->CloseAllDocuments(bEndSession);
}

BOOL CWinApp::SaveAllModified()
{
    return TRUE;
}
