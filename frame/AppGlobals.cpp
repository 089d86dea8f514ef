#include "frame/AppGlobals.h"

#include "platform/framework/CWinThread.h"
#include "platform/framework/CWnd.h"
#include "platform/gdi/Text.h"
#include "platform/window/Clipboard.h"
#include "platform/window/SystemMetrics.h"
#include "platform/window/WindowClass.h"
#include "store/CPreferences.h"
#include "ui/MenuFont.h"

#include <clocale>

CRegistryKey g_regKeyDefault;
CRegistryKey g_regKeyDesktop;
CRegistryKey g_regKeyClasses;
CFont g_fontMenu;
CFont g_fontMenuBold;

namespace {

constexpr char COLORS_CHANGED_MESSAGE[] = "APPM TrocarCores";

[[nodiscard]] BOOL CreateUserKeys()
{
    const BOOL bDefault = g_regKeyDefault.Create(HKEY_CURRENT_USER, DEFAULT_KEY_PATH);
    const BOOL bDesktop = g_regKeyDesktop.Create(HKEY_CURRENT_USER, DESKTOP_KEY_PATH);
    return bDefault && bDesktop ? TRUE : FALSE;
}

void CreateMenuFonts()
{
    CreateMenuFont(g_fontMenu, FW_NORMAL);
    CreateMenuFont(g_fontMenuBold, FW_BOLD);
}

void SendColorsChanged()
{
    static const UINT uColorsChanged = RegisterWindowMessage(COLORS_CHANGED_MESSAGE);
    if (CWnd* pMainWnd = AfxGetMainWnd(); pMainWnd && pMainWnd->GetSafeHwnd())
        pMainWnd->SendMessage(uColorsChanged, 0, 0);
}

} // namespace

void InitAppGlobals()
{
    // The user's language comes from the environment; an unknown one leaves "C".
    std::setlocale(LC_TIME, "");
    // A key that cannot be made stays closed; its users find it so.
    static_cast<void>(CreateUserKeys());
    g_regKeyClasses.Open(HKEY_LOCAL_MACHINE, "Software\\Classes");
    CreateMenuFonts();
    thePreferences.m_nClipboardFormat = RegisterClipboardFormat(CPreferences::CLIPBOARD_FORMAT_NAME);
    thePreferences.SetColorsChangedHandler(SendColorsChanged);
}

void FreeAppGlobals()
{
    thePreferences.SetColorsChangedHandler(nullptr);
    g_fontMenu.DeleteObject();
    g_fontMenuBold.DeleteObject();
    g_regKeyDefault.Close();
    g_regKeyDesktop.Close();
    g_regKeyClasses.Close();
}

BOOL ResetAppRegistryKeys()
{
    g_regKeyDefault.Close();
    g_regKeyDesktop.Close();
    LSTATUS nDeleted = RegDeleteTree(HKEY_CURRENT_USER, PRODUCT_KEY_PATH);
    const BOOL bDeleted = nDeleted == ERROR_SUCCESS || nDeleted == ERROR_FILE_NOT_FOUND ? TRUE : FALSE;
    const BOOL bCreated = CreateUserKeys();
    return bDeleted && bCreated ? TRUE : FALSE;
}
