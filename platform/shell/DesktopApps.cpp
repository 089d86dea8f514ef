#include "platform/shell/DesktopApps.h"

#include "platform/base/PathNames.h"
#include "platform/base/XdgFolders.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <map>
#include <set>
#include <string_view>

#include <gio/gdesktopappinfo.h>
#include <gio/gio.h>
#include <sys/stat.h>

namespace {

std::string TakeString(gchar* psz)
{
    std::string str = psz ? psz : "";
    g_free(psz);
    return str;
}

bool IsFolder(const std::string& strPath)
{
    struct stat info { };
    return stat(strPath.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}

// The applications folders, the most important first.
std::vector<std::string> ApplicationFolders()
{
    std::vector<std::string> folders;
    if (std::string strHome = XdgDataHome(); !strHome.empty())
        folders.push_back(JoinHostPath(strHome, "applications"));
    for (const std::string& strFolder : XdgDataDirs())
        folders.push_back(JoinHostPath(strFolder, "applications"));
    return folders;
}

// An action id that means "make a new document": "new-document", "NewDocument", ...
bool IsNewDocumentAction(std::string_view strAction)
{
    std::string strFolded;
    for (char ch : strAction) {
        if (ch != '-' && ch != '_')
            strFolded += static_cast<char>(std::tolower(static_cast<unsigned char>(ch)));
    }
    return strFolded == "newdocument";
}

// The Exec line of the launcher's "new document" action; empty when it has none.
std::string NewDocumentExec(GDesktopAppInfo* pDesktop, const char* pszFile)
{
    const gchar* const* ppszActions = g_desktop_app_info_list_actions(pDesktop);
    for (; ppszActions && *ppszActions; ++ppszActions) {
        if (!IsNewDocumentAction(*ppszActions))
            continue;
        GKeyFile* pFile = g_key_file_new();
        std::string strExec;
        if (g_key_file_load_from_file(pFile, pszFile, G_KEY_FILE_NONE, nullptr))
            strExec = TakeString(
                g_key_file_get_string(pFile, (std::string("Desktop Action ") + *ppszActions).c_str(), "Exec", nullptr));
        g_key_file_free(pFile);
        return strExec;
    }
    return {};
}

std::optional<CDesktopApp> AppOfInfo(GDesktopAppInfo* pDesktop, const std::string& strId)
{
    auto* pInfo = G_APP_INFO(pDesktop);
    const char* pszFile = g_desktop_app_info_get_filename(pDesktop);
    std::string strExec = TakeString(g_desktop_app_info_get_string(pDesktop, "Exec"));
    if (!pszFile || strExec.empty())
        return std::nullopt;
    CDesktopApp app;
    app.strId = strId;
    app.strName = g_app_info_get_name(pInfo) ? g_app_info_get_name(pInfo) : "";
    app.strFile = pszFile;
    app.strExec = std::move(strExec);
    app.strIcon = TakeString(g_desktop_app_info_get_string(pDesktop, "Icon"));
    app.bShown = g_app_info_should_show(pInfo);
    for (const char** ppszTypes = g_app_info_get_supported_types(pInfo); ppszTypes && *ppszTypes; ++ppszTypes)
        app.types.emplace_back(*ppszTypes);
    if (!app.types.empty())
        app.strNewDocumentExec = NewDocumentExec(pDesktop, pszFile);
    return app;
}

// Reads one launcher file as its own, without any cache.
std::optional<CDesktopApp> LoadApp(const std::string& strPath, const std::string& strId)
{
    GDesktopAppInfo* pInfo = g_desktop_app_info_new_from_filename(strPath.c_str());
    if (!pInfo)
        return std::nullopt;
    std::optional<CDesktopApp> app = AppOfInfo(pInfo, strId);
    g_object_unref(pInfo);
    return app;
}

// Launchers below a folder by their ids ("sub/x.desktop" is "sub-x.desktop").
void CollectLaunchers(
    const std::string& strFolder, const std::string& strPrefix, int nDepth, std::map<std::string, std::string>& found)
{
    for (const std::string& strName : ListHostFolder(strFolder)) {
        std::string strPath = JoinHostPath(strFolder, strName);
        if (strName.ends_with(".desktop"))
            found.try_emplace(strPrefix + strName, strPath);
        else if (nDepth < 8 && IsFolder(strPath))
            CollectLaunchers(strPath, strPrefix + strName + "-", nDepth + 1, found);
    }
}

// Every launcher file by id; an id in a more important folder hides the others.
std::map<std::string, std::string> LauncherFiles()
{
    std::map<std::string, std::string> files;
    for (const std::string& strFolder : ApplicationFolders())
        CollectLaunchers(strFolder, "", 0, files);
    return files;
}

// The mimeapps.list files, the most important first.
std::vector<std::string> MimeAppsLists()
{
    std::vector<std::string> desktops;
    if (const char* pszDesktops = std::getenv("XDG_CURRENT_DESKTOP")) {
        std::string_view list = pszDesktops;
        while (!list.empty()) {
            size_t nEnd = list.find(':');
            std::string strDesktop(list.substr(0, nEnd));
            std::transform(strDesktop.begin(), strDesktop.end(), strDesktop.begin(),
                [](unsigned char ch) { return static_cast<char>(std::tolower(ch)); });
            if (!strDesktop.empty())
                desktops.push_back(strDesktop);
            list = nEnd == std::string_view::npos ? std::string_view() : list.substr(nEnd + 1);
        }
    }
    std::vector<std::string> folders = { XdgConfigHome() };
    for (const std::string& strFolder : XdgConfigDirs())
        folders.push_back(strFolder);
    for (const std::string& strFolder : ApplicationFolders())
        folders.push_back(strFolder);
    std::vector<std::string> lists;
    for (const std::string& strFolder : folders) {
        if (strFolder.empty())
            continue;
        for (const std::string& strDesktop : desktops)
            lists.push_back(JoinHostPath(strFolder, strDesktop + "-mimeapps.list"));
        lists.push_back(JoinHostPath(strFolder, "mimeapps.list"));
    }
    return lists;
}

// The launcher ids a mimeapps.list names as the defaults of a type.
std::vector<std::string> DefaultsIn(const std::string& strList, const std::string& strType)
{
    std::vector<std::string> ids;
    GKeyFile* pFile = g_key_file_new();
    if (g_key_file_load_from_file(pFile, strList.c_str(), G_KEY_FILE_NONE, nullptr)) {
        gsize nCount = 0;
        gchar** ppszIds = g_key_file_get_string_list(pFile, "Default Applications", strType.c_str(), &nCount, nullptr);
        for (gsize i = 0; ppszIds && i < nCount; ++i)
            ids.emplace_back(ppszIds[i]);
        g_strfreev(ppszIds);
    }
    g_key_file_free(pFile);
    return ids;
}

bool Supports(const CDesktopApp& app, const std::string& strType)
{
    return std::find(app.types.begin(), app.types.end(), strType) != app.types.end();
}

} // namespace

std::vector<CDesktopApp> AllDesktopApps()
{
    std::vector<CDesktopApp> apps;
    for (const auto& [strId, strPath] : LauncherFiles()) {
        if (std::optional<CDesktopApp> app = LoadApp(strPath, strId))
            apps.push_back(std::move(*app));
    }
    return apps;
}

std::optional<CDesktopApp> DesktopAppOfFile(const std::string& strHostPath)
{
    return LoadApp(strHostPath, strHostPath.substr(strHostPath.rfind('/') + 1));
}

std::optional<CDesktopApp> DefaultAppForType(const std::string& strType)
{
    std::map<std::string, std::string> files = LauncherFiles();
    for (const std::string& strList : MimeAppsLists()) {
        for (const std::string& strId : DefaultsIn(strList, strType)) {
            auto it = files.find(strId);
            if (it == files.end())
                continue;
            if (std::optional<CDesktopApp> app = LoadApp(it->second, strId))
                return app;
        }
    }
    // No default named: the first launcher for the type, as the desktop falls back.
    for (const auto& [strId, strPath] : files) {
        std::optional<CDesktopApp> app = LoadApp(strPath, strId);
        if (app && Supports(*app, strType))
            return app;
    }
    return std::nullopt;
}

std::vector<CDesktopApp> OtherAppsForType(const std::string& strType)
{
    std::optional<CDesktopApp> defaultApp = DefaultAppForType(strType);
    std::vector<CDesktopApp> apps;
    for (CDesktopApp& app : AllDesktopApps()) {
        if (Supports(app, strType) && (!defaultApp || app.strId != defaultApp->strId))
            apps.push_back(std::move(app));
    }
    return apps;
}

std::vector<std::string> TypesWithApps()
{
    std::set<std::string> types;
    for (const CDesktopApp& app : AllDesktopApps())
        types.insert(app.types.begin(), app.types.end());
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

std::string ContentTypeIconName(const std::string& strType)
{
    GIcon* pIcon = g_content_type_get_icon(strType.c_str());
    std::string strName;
    if (pIcon && G_IS_THEMED_ICON(pIcon)) {
        const gchar* const* ppszNames = g_themed_icon_get_names(G_THEMED_ICON(pIcon));
        if (ppszNames && *ppszNames)
            strName = *ppszNames;
    }
    if (pIcon)
        g_object_unref(pIcon);
    return strName;
}
