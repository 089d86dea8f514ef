#include "frame/FramePrompts.h"

#include "frame/SetupResults.h"
#include "resources/ResourceIds.h"
#include "store/CCatalog.h"
#include "store/CDocumentRec.h"
#include "store/ResString.h"

#include "platform/framework/AfxMessageBox.h"
#include "platform/framework/CDialog.h"

namespace {

CFramePrompts* g_pInstalled = nullptr;

// The document types a new catalog takes when the user was not asked.
constexpr const char* DEFAULT_EXTENSIONS[] = { ".txt", ".text", ".md", ".pdf", ".odt", ".ods", ".odp", ".doc", ".docx",
    ".xls", ".xlsx", ".ppt", ".pptx", ".rtf", ".htm", ".html", ".csv", ".jpg", ".jpeg", ".png", ".gif" };

} // namespace

BOOL CDefaultFramePrompts::HasWindow(EWindow eWindow) const
{
    // The wizard's stand-in sets up a catalog; every other window is missing.
    return eWindow == EWindow::SetupWizard || eWindow == EWindow::About ? TRUE : FALSE;
}

int CDefaultFramePrompts::RunSetupWizard(CSetupResults& results)
{
    // An empty catalog: no systems and no place, so nothing is scanned; the
    // user chooses places and an organisation with Set Up Again.
    results.bFolderMode = FALSE;
    results.nPlaceChoice = CCatalog::PLACE_NONE;
    for (const char* pszExtension : DEFAULT_EXTENSIONS)
        results.extensions.Add(pszExtension);
    return WIZARD_FINISHED;
}

int CDefaultFramePrompts::OrphanWarning(BOOL* pbDontWarn)
{
    if (pbDontWarn)
        *pbDontWarn = FALSE;
    return IDNO;
}

int CDefaultFramePrompts::OperationInProgress(CWnd* pParent)
{
    CDialog question(IDD_STOP_REORGANIZE, pParent);
    return static_cast<int>(question.DoModal());
}

int CDefaultFramePrompts::DescribeFromContent(CDocumentRec&)
{
    return CDocumentRec::DESCRIPTION_UNCHANGED;
}

void CDefaultFramePrompts::ShowMessage(UINT nStringID, UINT nStyle)
{
    AfxMessageBox(GetResString(nStringID), nStyle);
}

CFramePrompts& GetFramePrompts()
{
    static CDefaultFramePrompts defaults;
    return g_pInstalled ? *g_pInstalled : defaults;
}

CFramePrompts* InstallFramePrompts(CFramePrompts* pPrompts)
{
    CFramePrompts* pPrevious = g_pInstalled;
    g_pInstalled = pPrompts;
    return pPrevious;
}
