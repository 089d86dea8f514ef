#include "platform/shell/FileTypePresentation.h"

#include "platform/base/Clock.h"
#include "platform/base/PathMap.h"
#include "platform/base/PathNames.h"
#include "platform/base/ProgramFolder.h"
#include "platform/base/RegistryTree.h"
#include "platform/base/TextFunctions.h"
#include "platform/base/XdgFolders.h"
#include "platform/shell/DesktopApps.h"

#include <algorithm>
#include <chrono>
#include <fstream>
#include <mutex>
#include <set>
#include <tuple>

#include <sys/stat.h>

namespace {

constexpr LPCTSTR PRESENTED_VALUE = "Presented";

bool IsFolder(const std::string& strPath)
{
    struct stat info { };
    return stat(strPath.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}

// The "*.ext" globs of every MIME type in the shared MIME database, by type;
// the user's own database first, as the data folders rank.
std::map<std::string, std::set<std::string>> ExtensionsByType()
{
    std::map<std::string, std::set<std::string>> extensions;
    std::vector<std::string> folders = { XdgDataHome() };
    for (const std::string& strFolder : XdgDataDirs())
        folders.push_back(strFolder);
    for (const std::string& strFolder : folders) {
        std::ifstream file(JoinHostPath(strFolder, "mime/globs2"));
        std::string strLine;
        while (std::getline(file, strLine)) {
            // weight:type:glob[:flags]
            size_t nFirst = strLine.find(':');
            size_t nSecond = nFirst == std::string::npos ? nFirst : strLine.find(':', nFirst + 1);
            if (strLine.starts_with('#') || nSecond == std::string::npos)
                continue;
            std::string strType = strLine.substr(nFirst + 1, nSecond - nFirst - 1);
            std::string strGlob = strLine.substr(nSecond + 1, strLine.find(':', nSecond + 1) - nSecond - 1);
            if (strGlob.size() > 2 && strGlob.starts_with("*.")
                && strGlob.find_first_of("*?[]", 2) == std::string::npos)
                extensions[strType].insert(Utf8ToLower(strGlob.substr(1)));
        }
    }
    return extensions;
}

// The templates of the templates folder by their extension, lower-cased.
std::map<std::string, std::string> TemplatesByExtension()
{
    std::map<std::string, std::string> templates;
    std::string strFolder = XdgUserDir("TEMPLATES");
    if (strFolder.empty())
        return templates;
    for (const std::string& strName : ListHostFolder(strFolder)) {
        size_t nDot = strName.rfind('.');
        std::string strPath = JoinHostPath(strFolder, strName);
        if (nDot == std::string::npos || nDot == 0 || IsFolder(strPath))
            continue;
        std::string strProgramPath = ProgramPathFromHostPath(strPath);
        if (!strProgramPath.empty())
            templates.try_emplace(Utf8ToLower(strName.substr(nDot)), strProgramPath);
    }
    return templates;
}

CPresentedKey ReadPresentedKey(const CRegistryNode& node)
{
    CPresentedKey key;
    for (const CRegistryValue& value : node.GetValues()) {
        std::string strText(value.data.begin(), value.data.end());
        if (!strText.empty() && strText.back() == '\0')
            strText.pop_back();
        // A value of another type never equals one presented here.
        key.values[value.strName] = value.dwType == REG_SZ ? strText : "\x01not a string";
    }
    for (const auto& [strFolded, pSubkey] : node.GetSubkeys())
        key.subkeys[pSubkey->GetName()] = ReadPresentedKey(*pSubkey);
    return key;
}

void WritePresentedKey(CRegistryNode& node, const CPresentedKey& key, ULONGLONG nNow)
{
    for (const auto& [strName, strValue] : key.values) {
        std::vector<BYTE> data(strValue.begin(), strValue.end());
        data.push_back(0);
        node.SetValue(strName, REG_SZ, std::move(data));
    }
    for (const auto& [strName, subkey] : key.subkeys) {
        bool bCreated = false;
        WritePresentedKey(*node.AddSubkey(strName, bCreated), subkey, nNow);
    }
    node.SetLastWriteTime(nNow);
}

bool IsPresented(const CRegistryNode& node)
{
    const CRegistryValue* pValue = node.FindValue(PRESENTED_VALUE);
    return pValue && pValue->dwType == REG_SZ
        && std::string(pValue->data.begin(), pValue->data.end()).starts_with(FILE_TYPES_PRESENTED);
}

// What the sources of the file types look like now: the program folder, and
// paths with their sizes and times.
std::string SourcesSignature()
{
    // Another program folder has a registry of its own to present into.
    std::string strSignature = GetProgramFolderHostPath() + "\n";
    auto add = [&](const std::string& strPath) {
        struct stat info { };
        if (stat(strPath.c_str(), &info) == 0)
            strSignature += strPath + ":" + std::to_string(info.st_size) + ":" + std::to_string(info.st_mtim.tv_sec)
                + "." + std::to_string(info.st_mtim.tv_nsec) + "\n";
    };
    std::vector<std::string> configFolders = { XdgConfigHome() };
    for (const std::string& strFolder : XdgConfigDirs())
        configFolders.push_back(strFolder);
    for (const std::string& strFolder : configFolders)
        add(JoinHostPath(strFolder, "mimeapps.list"));
    std::vector<std::string> dataFolders = { XdgDataHome() };
    for (const std::string& strFolder : XdgDataDirs())
        dataFolders.push_back(strFolder);
    for (const std::string& strFolder : dataFolders) {
        std::string strApplications = JoinHostPath(strFolder, "applications");
        add(strApplications);
        for (const std::string& strName : ListHostFolder(strApplications))
            add(JoinHostPath(strApplications, strName));
        add(JoinHostPath(strFolder, "mime/globs2"));
        add(JoinHostPath(strFolder, "mime/mime.cache"));
    }
    std::string strTemplates = XdgUserDir("TEMPLATES");
    if (!strTemplates.empty()) {
        add(strTemplates);
        strSignature += strTemplates + "\n";
    }
    return strSignature;
}

class CFileTypesHook : public CRegistryKeyHook {
public:
    void OnKeyUse() override
    {
        std::lock_guard lock(m_mutex);
        auto now = std::chrono::steady_clock::now();
        std::string strFolder = GetProgramFolderHostPath();
        if (m_bPresented && strFolder == m_strFolder
            && now - m_lastCheck < std::chrono::milliseconds(FILE_TYPES_CHECK_MS))
            return;
        m_strFolder = std::move(strFolder);
        m_lastCheck = now;
        std::string strSignature = SourcesSignature();
        if (m_bPresented && strSignature == m_strSignature)
            return;
        // A failure is tried again at the next check: the signature is kept only once presented.
        if (PresentFileTypes() == ERROR_SUCCESS) {
            m_strSignature = std::move(strSignature);
            m_bPresented = true;
        }
    }

private:
    std::mutex m_mutex;
    bool m_bPresented { false };
    std::chrono::steady_clock::time_point m_lastCheck;
    std::string m_strSignature;
    std::string m_strFolder; // the program folder presented into
};

} // namespace

std::map<std::string, CPresentedKey> WantedFileTypeKeys()
{
    std::map<std::string, CPresentedKey> wanted;
    std::map<std::string, std::set<std::string>> extensionsByType = ExtensionsByType();
    std::map<std::string, std::string> templates = TemplatesByExtension();

    // The types some launcher opens, and those a launcher makes new documents of.
    std::set<std::string> typesWithApps;
    std::map<std::string, std::string> creators; // type -> the Exec line that makes one
    for (const CDesktopApp& app : AllDesktopApps()) {
        typesWithApps.insert(app.types.begin(), app.types.end());
        if (!app.strNewDocumentExec.empty())
            creators.try_emplace(app.types.front(), app.strNewDocumentExec);
    }
    // Which type owns each extension: the one the name "x.ext" gives when types
    // share it, else (the database cannot tell) the first of them by name.
    std::map<std::string, std::vector<std::string>> claims;
    for (const auto& [strType, extensions] : extensionsByType) {
        for (const std::string& strExtension : extensions)
            claims[strExtension].push_back(strType);
    }
    std::map<std::string, std::string> owners;
    for (const auto& [strExtension, claimants] : claims) {
        std::string strOwner = claimants.size() == 1 ? claimants.front() : ContentTypeOfName("x" + strExtension);
        if (std::find(claimants.begin(), claimants.end(), strOwner) == claimants.end())
            strOwner = claimants.front();
        owners[strExtension] = strOwner;
    }

    for (const auto& [strType, extensions] : extensionsByType) {
        std::vector<std::string> owned;
        for (const std::string& strExtension : extensions) {
            if (owners[strExtension] == strType)
                owned.push_back(strExtension);
        }
        if (owned.empty())
            continue;
        std::optional<CDesktopApp> app
            = typesWithApps.count(strType) ? DefaultAppForType(strType) : std::optional<CDesktopApp>();
        std::string strLauncher = app ? ProgramPathFromHostPath(app->strFile) : std::string();
        CPresentedKey& typeKey = wanted[strType];
        typeKey.values[""] = ContentTypeDescription(strType);
        typeKey.values[PRESENTED_VALUE] = FILE_TYPES_PRESENTED;
        if (std::string strIcon = ContentTypeIconName(strType); !strIcon.empty())
            typeKey.subkeys["DefaultIcon"].values[""] = strIcon;
        if (!strLauncher.empty())
            typeKey.subkeys["shell"].subkeys["open"].subkeys["command"].values[""] = "\"" + strLauncher + "\" \"%1\"";
        auto itCreator = creators.find(strType);
        for (const std::string& strExtension : owned) {
            CPresentedKey& extensionKey = wanted[strExtension];
            extensionKey.values[""] = strType;
            extensionKey.values[PRESENTED_VALUE] = FILE_TYPES_PRESENTED;
            auto itTemplate = templates.find(strExtension);
            if (itTemplate != templates.end())
                extensionKey.subkeys["ShellNew"].values["FileName"] = itTemplate->second;
            if (strExtension == ".txt")
                extensionKey.subkeys["ShellNew"].values["NullFile"] = "";
            if (itCreator != creators.end())
                extensionKey.subkeys["ShellNew"].values["Command"] = itCreator->second;
        }
    }
    return wanted;
}

LSTATUS PresentFileTypes()
{
    std::map<std::string, CPresentedKey> wanted = WantedFileTypeKeys();
    ULONGLONG nNow = ClockUtcNow();
    return RegEditKeyTree(HKEY_CLASSES_ROOT, "", [&](CRegistryNode& root, bool& bChanged) {
        // Presented keys that went or changed are removed; the changed ones are made again below.
        std::vector<std::string> names;
        for (const auto& [strFolded, pSubkey] : root.GetSubkeys())
            names.push_back(pSubkey->GetName());
        for (const std::string& strName : names) {
            std::shared_ptr<CRegistryNode> pKey = root.FindSubkey(strName);
            if (!IsPresented(*pKey))
                continue;
            auto it = wanted.find(strName);
            if (it != wanted.end() && ReadPresentedKey(*pKey) == it->second) {
                wanted.erase(it);
                continue;
            }
            root.RemoveSubkey(strName)->MarkDeleted();
            bChanged = true;
        }
        for (const auto& [strName, key] : wanted) {
            if (std::shared_ptr<CRegistryNode> pExisting = root.FindSubkey(strName);
                pExisting && !IsPresented(*pExisting))
                continue; // someone else's key of that name wins
            bool bCreated = false;
            WritePresentedKey(*root.AddSubkey(strName, bCreated), key, nNow);
            bChanged = true;
        }
        if (bChanged)
            root.SetLastWriteTime(nNow);
        return ERROR_SUCCESS;
    });
}

CRegistryKeyHook& FileTypesHook()
{
    static auto* pHook = new CFileTypesHook;
    return *pHook;
}
