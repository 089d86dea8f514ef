#include "dialogs/CDialogPrompts.h"

#include "frame/WebAccessServices.h"

CDialogPrompts::CDialogPrompts()
{
    m_pPreviousFramePrompts = InstallFramePrompts(&m_framePrompts);
    SetCatalogPrompts(&m_catalogPrompts);
    m_pPreviousWebPrompts = InstallWebAccessPrompts(&m_webPrompts);
    g_netDriveMap.SetLogonPrompt(&m_logonPrompt);
}

CDialogPrompts::~CDialogPrompts()
{
    g_netDriveMap.SetLogonPrompt(nullptr);
    InstallWebAccessPrompts(m_pPreviousWebPrompts);
    SetCatalogPrompts(nullptr);
    InstallFramePrompts(m_pPreviousFramePrompts);
}
