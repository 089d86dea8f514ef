#include "dialogs/setup/HtmlMessagePage.h"

#include "frame/CArchivoraApp.h"
#include "frame/CMainFrame.h"
#include "monitor/MonitorPause.h"
#include "resources/ResourceIds.h"
#include "store/FileHelpers.h"
#include "webaccess/pages/WebText.h"

#include "platform/base/FileFunctions.h"
#include "platform/base/FileHandle.h"
#include "platform/base/KernelObject.h"
#include "platform/base/ProgramFolder.h"

namespace {

CString LoadedText(UINT nId)
{
    CString strText;
    strText.LoadString(nId);
    return strText;
}

CString PageText(LPCTSTR pszSite)
{
    char szModule[MAX_PATH] {};
    GetModuleFileName(nullptr, szModule, MAX_PATH);
    const CString strSite = HtmlEscape(pszSite, TRUE);
    CString strPage;
    CString strPiece;
    strPiece.Format("<html><head><BASE href='res://%s'><style>.titulo  { font-family: Verdana; font-weight: bold; "
                    "font-style: normal; font-size: 13px; color: #008000; text-decoration: none; }.mensagem { "
                    "font-family: Verdana; font-weight: normal; font-style: normal; font-size: 11px; color: "
                    "#000000;text-decoration: none; }.link  {font-family: Verdana; font-weight: normal; font-style: "
                    "normal; font-size: 11px; color: #0000FF; text-decoration: underline; }</style></head><body "
                    "scroll='no'>",
        szModule);
    strPage += strPiece;
    strPage += "<table width='100%' cellSpacing='1' cellPadding='3'>";
    strPiece.Format("<tr><td>&nbsp;</td><td align='center'><a class='titulo'>%s</a></td></tr>",
        static_cast<LPCTSTR>(LoadedText(IDS_WA_NOTICE_TITLE)));
    strPage += strPiece;
    strPiece.Format("<tr><td><img height='32' width='32' src='WA_LOGO.GIF' border='0'></td><td><a "
                    "class='mensagem'>%s</a><br><a class='mensagem'>%s</a><a class='link' href='%s' "
                    "target='_blank'>%s</a><a class='mensagem'>%s</a></td></tr>",
        static_cast<LPCTSTR>(LoadedText(IDS_WA_NOTICE_TEXT)),
        static_cast<LPCTSTR>(LoadedText(IDS_WA_NOTICE_SITE_BEFORE)), static_cast<LPCTSTR>(strSite),
        static_cast<LPCTSTR>(strSite), static_cast<LPCTSTR>(LoadedText(IDS_WA_NOTICE_SITE_AFTER)));
    strPage += strPiece;
    strPage += "</table>";
    strPage += "</body></html>";
    return strPage;
}

CNewDocMonitor* MainWindowMonitor()
{
    CArchivoraApp* pApp = GetArchivoraApp();
    CMainFrame* pFrame = pApp ? pApp->GetMainFrame() : nullptr;
    return pFrame ? &pFrame->GetMonitor() : nullptr;
}

} // namespace

CString HtmlMessagePagePath()
{
    return GetProgramFolder() + "~arch.html";
}

int BuildHtmlMessagePage(LPCTSTR pszPath, LPCTSTR pszSite)
{
    const CString strPage = PageText(pszSite);
    CMonitorPause pause(MainWindowMonitor());
    DeleteFile(pszPath);
    HANDLE hFile = CreateFile(pszPath, GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (hFile == INVALID_HANDLE_VALUE)
        return 0;
    DWORD dwWritten = 0;
    const DWORD dwLength = static_cast<DWORD>(strPage.GetLength());
    const BOOL bWritten = WriteFile(hFile, static_cast<LPCTSTR>(strPage), dwLength, &dwWritten, nullptr);
    CloseHandle(hFile);
    return bWritten && dwWritten == dwLength ? 1 : 0;
}
