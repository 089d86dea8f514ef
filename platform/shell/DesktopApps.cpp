#include "platform/shell/DesktopApps.h"

#include <algorithm>
#include <set>

#include <gio/gdesktopappinfo.h>
#include <gio/gio.h>

namespace {

// GIO sees changes to the launcher folders through its main context; letting
// it run (without waiting) before each lookup makes new launchers known.
void CatchUpWithChanges()
{
    while (g_main_context_iteration(nullptr, FALSE)) { }
}

std::string TakeString(gchar* psz)
{
    std::string str = psz ? psz : "";
    g_free(psz);
    return str;
}

std::optional<CDesktopApp> AppOf(GAppInfo* pInfo)
{
    if (!pInfo || !G_IS_DESKTOP_APP_INFO(pInfo))
        return std::nullopt;
    auto* pDesktop = G_DESKTOP_APP_INFO(pInfo);
    const char* pszFile = g_desktop_app_info_get_filename(pDesktop);
    std::string strExec = TakeString(g_desktop_app_info_get_string(pDesktop, "Exec"));
    if (!pszFile || strExec.empty())
        return std::nullopt;
    CDesktopApp app;
    app.strId = g_app_info_get_id(pInfo) ? g_app_info_get_id(pInfo) : "";
    app.strName = g_app_info_get_name(pInfo) ? g_app_info_get_name(pInfo) : "";
    app.strFile = pszFile;
    app.strExec = std::move(strExec);
    app.strIcon = TakeString(g_desktop_app_info_get_string(pDesktop, "Icon"));
    app.bShown = g_app_info_should_show(pInfo);
    return app;
}

std::vector<CDesktopApp> AppsOfList(GList* pList)
{
    std::vector<CDesktopApp> apps;
    for (GList* p = pList; p; p = p->next) {
        if (std::optional<CDesktopApp> app = AppOf(G_APP_INFO(p->data)))
            apps.push_back(std::move(*app));
    }
    g_list_free_full(pList, g_object_unref);
    return apps;
}

} // namespace

std::vector<CDesktopApp> AllDesktopApps()
{
    CatchUpWithChanges();
    return AppsOfList(g_app_info_get_all());
}

std::optional<CDesktopApp> DesktopAppOfFile(const std::string& strHostPath)
{
    GDesktopAppInfo* pInfo = g_desktop_app_info_new_from_filename(strHostPath.c_str());
    if (!pInfo)
        return std::nullopt;
    std::optional<CDesktopApp> app = AppOf(G_APP_INFO(pInfo));
    g_object_unref(pInfo);
    return app;
}

std::optional<CDesktopApp> DefaultAppForType(const std::string& strType)
{
    CatchUpWithChanges();
    GAppInfo* pInfo = g_app_info_get_default_for_type(strType.c_str(), FALSE);
    std::optional<CDesktopApp> app = AppOf(pInfo);
    if (pInfo)
        g_object_unref(pInfo);
    return app;
}

std::vector<CDesktopApp> OtherAppsForType(const std::string& strType)
{
    std::optional<CDesktopApp> defaultApp = DefaultAppForType(strType);
    std::vector<CDesktopApp> apps;
    std::set<std::string> seen;
    if (defaultApp)
        seen.insert(defaultApp->strId);
    for (auto* pfnList : { &g_app_info_get_recommended_for_type, &g_app_info_get_fallback_for_type }) {
        for (CDesktopApp& app : AppsOfList(pfnList(strType.c_str()))) {
            if (seen.insert(app.strId).second)
                apps.push_back(std::move(app));
        }
    }
    return apps;
}

std::vector<std::string> TypesWithApps()
{
    CatchUpWithChanges();
    std::set<std::string> types;
    GList* pList = g_app_info_get_all();
    for (GList* p = pList; p; p = p->next) {
        const char** ppszTypes = g_app_info_get_supported_types(G_APP_INFO(p->data));
        for (; ppszTypes && *ppszTypes; ++ppszTypes)
            types.insert(*ppszTypes);
    }
    g_list_free_full(pList, g_object_unref);
    return { types.begin(), types.end() };
}

std::string ContentTypeOfName(const std::string& strName)
{
    gboolean bUncertain = FALSE;
    std::string strType = TakeString(g_content_type_guess(strName.c_str(), nullptr, 0, &bUncertain));
    if (bUncertain || strType.empty() || g_content_type_is_unknown(strType.c_str()))
        return {};
    return strType;
}

std::string ContentTypeDescription(const std::string& strType)
{
    return TakeString(g_content_type_get_description(strType.c_str()));
}
