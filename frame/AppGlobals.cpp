#include "frame/AppGlobals.h"

#include <clocale>

CRegistryKey g_regKeyDefault;
CRegistryKey g_regKeyDesktop;
CRegistryKey g_regKeyClasses;
CPalette* g_appPalette = nullptr;

void InitAppGlobals()
{
    // The user's language comes from the environment; an unknown one leaves "C".
    std::setlocale(LC_TIME, "");
    g_regKeyDefault.Create(HKEY_CURRENT_USER, "SOFTWARE\\KD\\Archivora Plus\\Default");
    g_regKeyDesktop.Create(HKEY_CURRENT_USER, "SOFTWARE\\KD\\Archivora Plus\\Desktop");
    g_regKeyClasses.Open(HKEY_LOCAL_MACHINE, "Software\\Classes");
}

void FreeAppGlobals()
{
    g_regKeyDefault.Close();
    g_regKeyDesktop.Close();
    g_regKeyClasses.Close();
}
