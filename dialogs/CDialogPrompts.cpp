#include "dialogs/CDialogPrompts.h"

CDialogPrompts::CDialogPrompts()
{
    m_pPreviousFramePrompts = InstallFramePrompts(&m_framePrompts);
    SetCatalogPrompts(&m_catalogPrompts);
    g_netDriveMap.SetLogonPrompt(&m_logonPrompt);
}

CDialogPrompts::~CDialogPrompts()
{
    g_netDriveMap.SetLogonPrompt(nullptr);
    SetCatalogPrompts(nullptr);
    InstallFramePrompts(m_pPreviousFramePrompts);
}
