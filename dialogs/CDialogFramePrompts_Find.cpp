#include "dialogs/CDialogFramePrompts.h"

#include "dialogs/documents/CDlgFindFiles.h"
#include "dialogs/documents/CDlgFindFilesHost.h"
#include "frame/CArchivoraApp.h"

CDialogFramePrompts::CDialogFramePrompts() = default;
CDialogFramePrompts::~CDialogFramePrompts()
{
    CloseFindFiles();
}

int CDialogFramePrompts::FindFilesHost()
{
    CArchivoraApp* pApp = GetArchivoraApp();
    if (!pApp)
        return IDCANCEL;
    CDlgFindFilesHost dlg(pApp->GetFindSettings(), pApp->GetMainCatalog(), AfxGetMainWnd());
    return static_cast<int>(dlg.DoModal());
}

void CDialogFramePrompts::OpenFindFiles(LPCTSTR pszFolder, CWnd* pParent)
{
    CArchivoraApp* pApp = GetArchivoraApp();
    if (!pApp)
        return;
    // A window its owner took down with it is made again.
    if (m_pFindFiles && ::IsWindow(m_pFindFiles->GetSafeHwnd())) {
        m_pFindFiles->SetStartFolder(pszFolder);
    } else {
        m_pFindFiles = std::make_unique<CDlgFindFiles>(pszFolder, pApp->GetMainCatalog(), pParent);
        if (!m_pFindFiles->CreateHidden()) {
            m_pFindFiles.reset();
            return;
        }
    }
    m_pFindFiles->ShowFinder();
}

void CDialogFramePrompts::CloseFindFiles()
{
    if (m_pFindFiles && ::IsWindow(m_pFindFiles->GetSafeHwnd()))
        m_pFindFiles->DestroyWindow();
    m_pFindFiles.reset();
}

void CDialogFramePrompts::FindFilesCatalogChanged()
{
    CArchivoraApp* pApp = GetArchivoraApp();
    if (m_pFindFiles && pApp)
        m_pFindFiles->OnCatalogChanged(pApp->GetMainCatalog());
}
