#pragma once

// The program's answers to the prompt seams of the layers below, made of its
// dialogs. While a CDialogPrompts lives its prompts are installed: the
// frame's (which the backup monitor and the interface kit's host reach), the
// cataloguing engine's with the new-document monitor's cataloguing dialog,
// the web access service's, and the network drive
// map's logon on the creating thread; its destructor puts the defaults back.
// The program makes one at start-up, before the application object; tests
// make their own.

#include "dialogs/CDialogCatalogPrompts.h"
#include "dialogs/CDialogFramePrompts.h"
#include "dialogs/CDialogWAServicePrompts.h"
#include "dialogs/StorePrompts.h"

class CDialogPrompts {
public:
    CDialogPrompts();
    ~CDialogPrompts();
    CDialogPrompts(const CDialogPrompts&) = delete;
    CDialogPrompts& operator=(const CDialogPrompts&) = delete;

private:
    CDialogFramePrompts m_framePrompts;
    CDialogCatalogPrompts m_catalogPrompts;
    CDialogWAServicePrompts m_webPrompts;
    CDialogNetworkLogonPrompt m_logonPrompt;
    CFramePrompts* m_pPreviousFramePrompts { nullptr };
    CWAServicePrompts* m_pPreviousWebPrompts { nullptr };
};
