#include "platform/shell/ShellServices.h"

#include "platform/base/Com.h"
#include "platform/shell/Autostart.h"
#include "platform/shell/FileTypePresentation.h"
#include "platform/shell/ShellLink.h"

#include <mutex>

void InstallShellServices()
{
    static std::once_flag s_installed;
    std::call_once(s_installed, [] {
        SetRegistryKeyHook(HKEY_CLASSES_ROOT, "", &FileTypesHook());
        SetRegistryKeyHook(HKEY_LOCAL_MACHINE, AUTOSTART_RUN_KEY, &AutostartHook());
        RegisterComClass(CLSID_ShellLink, CreateShellLink);
    });
}
