#include "frame/ProgramHooks.h"

#include "mail/MailDocumentHooks.h"

void InstallProgramHooks()
{
    InstallMailDocumentHooks();
    // FIXME: the shell's registry hooks (the presented file types, the
    // autostart launchers), the application's host services for the interface
    // kit and its progress-dialog factory are installed here once those layers
    // offer them.
}
