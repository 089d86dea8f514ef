#include "dialogs/CDialogPrompts.h"

#include "dialogs/documents/CDlgCatalogNewDocument.h"
#include "frame/WebAccessServices.h"
#include "monitor/CCatalogDialog.h"

CDialogPrompts::CDialogPrompts()
{
    m_pPreviousFramePrompts = InstallFramePrompts(&m_framePrompts);
    SetCatalogPrompts(&m_catalogPrompts);
    SetCatalogDialogFactory(&MakeCatalogNewDocumentDialog);
    m_pPreviousWebPrompts = InstallWebAccessPrompts(&m_webPrompts);
    g_netDriveMap.SetLogonPrompt(&m_logonPrompt);
}

CDialogPrompts::~CDialogPrompts()
{
    g_netDriveMap.SetLogonPrompt(nullptr);
    InstallWebAccessPrompts(m_pPreviousWebPrompts);
    SetCatalogDialogFactory(nullptr);
    SetCatalogPrompts(nullptr);
    InstallFramePrompts(m_pPreviousFramePrompts);
}
