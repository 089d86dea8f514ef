#include "platform/base/ResourceModule.h"

#include "platform/base/PathMap.h"
#include "platform/base/TextFunctions.h"
#include "platform/base/WinError.h"

#include <atomic>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <map>
#include <memory>
#include <mutex>
#include <optional>

namespace {

namespace fs = std::filesystem;

/******************************************************************************
** Module table
******************************************************************************/

// A loaded module: its bytes and its checked directory. Neither changes while
// the module is loaded, so HRSRC values point at directory entries and HGLOBAL
// values at payload bytes.
struct LoadedModule {
    fs::path hostPath;
    std::vector<BYTE> bytes;
    std::vector<ResourceEntry> entries;
    int nRefs { 1 };
};

// The program's own instance handle: a module with no resources.
HINSTANCE__* const PROGRAM_INSTANCE = reinterpret_cast<HINSTANCE>(static_cast<ULONG_PTR>(0x400000));

// Handles of loaded modules step through a range of their own and are never
// reused, so a handle kept past its FreeLibrary is refused, not misread.
constexpr ULONG_PTR FIRST_MODULE_HANDLE = 0x10000000;
constexpr ULONG_PTR MODULE_HANDLE_STEP = 0x10000;

struct ModuleTable {
    std::mutex mutex;
    std::map<ULONG_PTR, std::unique_ptr<LoadedModule>> modules;
    ULONG_PTR nNext { FIRST_MODULE_HANDLE };
};

ModuleTable& Modules()
{
    static ModuleTable* pTable = new ModuleTable; // never destroyed: resources may be read during exit
    return *pTable;
}

std::atomic<HINSTANCE> g_hResourceInstance { PROGRAM_INSTANCE };

// The loaded module behind `hModule` (NULL is the program), with the table
// locked by the caller. nullptr for the program itself with
// ERROR_RESOURCE_DATA_NOT_FOUND, or for an unknown handle with ERROR_INVALID_HANDLE.
LoadedModule* LookupModule(ModuleTable& table, HMODULE hModule)
{
    if (!hModule || hModule == PROGRAM_INSTANCE) {
        SetLastError(ERROR_RESOURCE_DATA_NOT_FOUND);
        return nullptr;
    }
    auto it = table.modules.find(reinterpret_cast<ULONG_PTR>(hModule));
    if (it == table.modules.end()) {
        SetLastError(ERROR_INVALID_HANDLE);
        return nullptr;
    }
    return it->second.get();
}

// The module already loaded from `hostPath`, with one more reference; NULL when
// there is none. The caller holds the table's lock.
HMODULE AddReference(ModuleTable& table, const fs::path& hostPath)
{
    for (auto& [nHandle, pModule] : table.modules) {
        if (pModule->hostPath == hostPath) {
            ++pModule->nRefs;
            return reinterpret_cast<HMODULE>(nHandle);
        }
    }
    return nullptr;
}

// The entry behind an HRSRC, when it is one of `module`'s.
const ResourceEntry* EntryOf(const LoadedModule& module, HRSRC hResInfo)
{
    const auto* pEntry = reinterpret_cast<const ResourceEntry*>(hResInfo);
    for (const ResourceEntry& entry : module.entries) {
        if (&entry == pEntry)
            return pEntry;
    }
    return nullptr;
}

const ResourceEntry* FindEntry(const LoadedModule& module, const ResourceKey& type, const ResourceKey& name)
{
    bool bTypeSeen = false;
    for (const ResourceEntry& entry : module.entries) {
        if (entry.type != type)
            continue;
        bTypeSeen = true;
        if (entry.name == name)
            return &entry;
    }
    SetLastError(bTypeSeen ? ERROR_RESOURCE_NAME_NOT_FOUND : ERROR_RESOURCE_TYPE_NOT_FOUND);
    return nullptr;
}

std::span<const BYTE> PayloadOf(const LoadedModule& module, const ResourceEntry& entry)
{
    return std::span(module.bytes).subspan(entry.nOffset, entry.nSize);
}

/******************************************************************************
** Names and files
******************************************************************************/

// The key for a name or type argument; nullopt for a value no resource can have.
std::optional<ResourceKey> KeyFromArgument(LPCTSTR psz)
{
    if (IS_INTRESOURCE(psz)) {
        auto nId = static_cast<WORD>(reinterpret_cast<ULONG_PTR>(psz));
        return nId ? std::optional(ResourceKey::FromId(nId)) : std::nullopt;
    }
    std::string_view text(psz);
    if (text.empty())
        return std::nullopt;
    if (text[0] == '#') {
        ULONG nId = 0;
        for (char c : text.substr(1)) {
            if (c < '0' || c > '9' || nId > 0xFFFF)
                return std::nullopt;
            nId = nId * 10 + static_cast<ULONG>(c - '0');
        }
        if (text.size() == 1 || nId == 0 || nId > 0xFFFF)
            return std::nullopt;
        return ResourceKey::FromId(static_cast<WORD>(nId));
    }
    return ResourceKey::FromName(Utf8ToUpper(text));
}

bool HasFolder(std::string_view name)
{
    return name.find_first_of("\\/:") != std::string_view::npos;
}

fs::path ExecutableFolder()
{
    std::error_code ec;
    fs::path exe = fs::read_symlink("/proc/self/exe", ec);
    return ec ? fs::path() : exe.parent_path();
}

// The folders a bare module name is looked for in, in order.
std::vector<fs::path> ModuleSearchFolders()
{
    std::vector<fs::path> folders;
    fs::path exeFolder = ExecutableFolder();
    if (!exeFolder.empty())
        folders.push_back(exeFolder);
    if (const char* pszPath = std::getenv("ARCHIVORA_MODULE_PATH")) {
        std::string_view list(pszPath);
        while (!list.empty()) {
            size_t nColon = list.find(':');
            std::string_view folder = list.substr(0, nColon);
            if (!folder.empty())
                folders.emplace_back(folder);
            list = nColon == std::string_view::npos ? std::string_view() : list.substr(nColon + 1);
        }
    }
    if (!exeFolder.empty())
        folders.push_back(exeFolder.parent_path() / "share" / "archivora");
    return folders;
}

// The file (or with bFolders, the file or folder) `name` in `folder`, matched
// exactly or else without regard to case.
std::optional<fs::path> FindInFolder(const fs::path& folder, const std::string& name, bool bFolders = false)
{
    std::error_code ec;
    auto isWanted = [&](const fs::path& path) {
        return fs::is_regular_file(path, ec) || (bFolders && fs::is_directory(path, ec));
    };
    if (isWanted(folder / name))
        return folder / name;
    for (fs::directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec)) {
        if (Utf8CompareNoCase(it->path().filename().string(), name) == 0 && isWanted(it->path()))
            return it->path();
    }
    return std::nullopt;
}

std::optional<fs::path> LocateModule(LPCTSTR lpLibFileName)
{
    if (HasFolder(lpLibFileName)) {
        std::string strHostPath;
        std::error_code ec;
        if (!HostPathFromProgramPath(lpLibFileName, strHostPath) || !fs::is_regular_file(strHostPath, ec))
            return std::nullopt;
        return fs::path(strHostPath);
    }
    for (const fs::path& folder : ModuleSearchFolders()) {
        if (auto path = FindInFolder(folder, lpLibFileName))
            return path;
    }
    return std::nullopt;
}

// Reads and checks the module file at `path`, a canonical host path. Besides the directory, every string block,
// dialog, menu and accelerator table is checked now, so a damaged module is
// refused at load time rather than failing later, one resource at a time.
std::unique_ptr<LoadedModule> ReadModuleFile(const fs::path& path)
{
    std::error_code ec;
    auto nSize = fs::file_size(path, ec);
    if (ec || nSize > 0xFFFFFFFFu) {
        SetLastError(ec ? ERROR_MOD_NOT_FOUND : ERROR_BAD_FORMAT);
        return nullptr;
    }
    auto pModule = std::make_unique<LoadedModule>();
    pModule->hostPath = path;
    pModule->bytes.resize(nSize);
    std::ifstream in(path, std::ios::binary);
    if (!in.read(reinterpret_cast<char*>(pModule->bytes.data()), static_cast<std::streamsize>(nSize))) {
        SetLastError(ERROR_MOD_NOT_FOUND);
        return nullptr;
    }

    std::string strError;
    bool bValid = ReadResourceModule(pModule->bytes, pModule->entries, strError);
    for (size_t i = 0; bValid && i < pModule->entries.size(); ++i) {
        const ResourceEntry& entry = pModule->entries[i];
        std::span<const BYTE> data = PayloadOf(*pModule, entry);
        if (entry.type == ResourceKey::FromId(RESOURCE_TYPE_STRING)) {
            std::vector<std::string_view> strings;
            bValid = ReadStringBlock(data, strings, strError);
        } else if (entry.type == ResourceKey::FromId(RESOURCE_TYPE_DIALOG)) {
            DialogTemplate dialog;
            bValid = ReadDialogTemplate(data, dialog, strError);
        } else if (entry.type == ResourceKey::FromId(RESOURCE_TYPE_MENU)) {
            std::vector<MenuItemTemplate> items;
            bValid = ReadMenuTemplate(data, items, strError);
        } else if (entry.type == ResourceKey::FromId(RESOURCE_TYPE_ACCELERATOR)) {
            std::vector<ACCEL> accels;
            bValid = ReadAcceleratorTable(data, accels, strError);
        } else if (entry.type == ResourceKey::FromId(RESOURCE_TYPE_DLGINIT)) {
            std::vector<DialogInitEntry> initData;
            bValid = ReadDialogInit(data, initData, strError);
        }
    }
    if (!bValid) {
        SetLastError(ERROR_BAD_FORMAT);
        return nullptr;
    }
    return pModule;
}

}

/******************************************************************************
** Loading modules
******************************************************************************/

HMODULE LoadLibrary(LPCTSTR lpLibFileName)
{
    if (!lpLibFileName || !*lpLibFileName) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return nullptr;
    }
    std::optional<fs::path> path = LocateModule(lpLibFileName);
    if (!path) {
        SetLastError(ERROR_MOD_NOT_FOUND);
        return nullptr;
    }

    ModuleTable& table = Modules();
    std::error_code ec;
    fs::path canonical = fs::weakly_canonical(*path, ec);
    if (ec)
        canonical = *path;
    {
        std::lock_guard lock(table.mutex);
        if (HMODULE hLoaded = AddReference(table, canonical))
            return hLoaded;
    }

    // The file is read outside the lock; if another thread loaded it meanwhile,
    // its copy wins and this one is dropped.
    std::unique_ptr<LoadedModule> pNew = ReadModuleFile(canonical);
    if (!pNew)
        return nullptr;
    std::lock_guard lock(table.mutex);
    if (HMODULE hLoaded = AddReference(table, canonical))
        return hLoaded;
    ULONG_PTR nHandle = table.nNext;
    table.nNext += MODULE_HANDLE_STEP;
    table.modules.emplace(nHandle, std::move(pNew));
    return reinterpret_cast<HMODULE>(nHandle);
}

BOOL FreeLibrary(HMODULE hLibModule)
{
    if (hLibModule == PROGRAM_INSTANCE)
        return TRUE;
    std::unique_ptr<LoadedModule> pGone; // freed outside the lock
    ModuleTable& table = Modules();
    std::lock_guard lock(table.mutex);
    auto it = table.modules.find(reinterpret_cast<ULONG_PTR>(hLibModule));
    if (it == table.modules.end()) {
        SetLastError(ERROR_INVALID_HANDLE);
        return FALSE;
    }
    if (--it->second->nRefs == 0) {
        pGone = std::move(it->second);
        table.modules.erase(it);
    }
    return TRUE;
}

HMODULE GetModuleHandle(LPCTSTR lpModuleName)
{
    if (!lpModuleName)
        return PROGRAM_INSTANCE;
    std::error_code ec;
    fs::path wanted;
    if (HasFolder(lpModuleName)) {
        std::string strHostPath;
        if (HostPathFromProgramPath(lpModuleName, strHostPath))
            wanted = fs::weakly_canonical(strHostPath, ec);
    }
    ModuleTable& table = Modules();
    std::lock_guard lock(table.mutex);
    for (auto& [nHandle, pModule] : table.modules) {
        bool bMatch = wanted.empty() ? Utf8CompareNoCase(pModule->hostPath.filename().string(), lpModuleName) == 0
                                     : pModule->hostPath == wanted;
        if (bMatch)
            return reinterpret_cast<HMODULE>(nHandle);
    }
    SetLastError(ERROR_MOD_NOT_FOUND);
    return nullptr;
}

/******************************************************************************
** Finding and reading resources
******************************************************************************/

HRSRC FindResource(HMODULE hModule, LPCTSTR lpName, LPCTSTR lpType)
{
    if (!lpName || !lpType) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return nullptr;
    }
    std::optional<ResourceKey> type = KeyFromArgument(lpType);
    std::optional<ResourceKey> name = KeyFromArgument(lpName);
    if (type && type->nId == RESOURCE_TYPE_GROUP_ICON)
        type = ResourceKey::FromId(RESOURCE_TYPE_ICON);
    ModuleTable& table = Modules();
    std::lock_guard lock(table.mutex);
    LoadedModule* pModule = LookupModule(table, hModule);
    if (!pModule)
        return nullptr;
    if (!type || !name) {
        SetLastError(type ? ERROR_RESOURCE_NAME_NOT_FOUND : ERROR_RESOURCE_TYPE_NOT_FOUND);
        return nullptr;
    }
    return reinterpret_cast<HRSRC>(const_cast<ResourceEntry*>(FindEntry(*pModule, *type, *name)));
}

HGLOBAL LoadResource(HMODULE hModule, HRSRC hResInfo)
{
    ModuleTable& table = Modules();
    std::lock_guard lock(table.mutex);
    LoadedModule* pModule = LookupModule(table, hModule);
    if (!pModule)
        return nullptr;
    const ResourceEntry* pEntry = EntryOf(*pModule, hResInfo);
    if (!pEntry) {
        SetLastError(ERROR_INVALID_HANDLE);
        return nullptr;
    }
    return const_cast<BYTE*>(pModule->bytes.data() + pEntry->nOffset);
}

LPVOID LockResource(HGLOBAL hResData)
{
    return hResData;
}

DWORD SizeofResource(HMODULE hModule, HRSRC hResInfo)
{
    ModuleTable& table = Modules();
    std::lock_guard lock(table.mutex);
    LoadedModule* pModule = LookupModule(table, hModule);
    if (!pModule)
        return 0;
    const ResourceEntry* pEntry = EntryOf(*pModule, hResInfo);
    if (!pEntry) {
        SetLastError(ERROR_INVALID_HANDLE);
        return 0;
    }
    return pEntry->nSize;
}

BOOL FreeResource(HGLOBAL)
{
    return FALSE;
}

int LoadString(HINSTANCE hInstance, UINT uID, LPTSTR lpBuffer, int cchBufferMax)
{
    if (!lpBuffer || cchBufferMax < 0) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return 0;
    }
    if (cchBufferMax > 0)
        lpBuffer[0] = '\0';

    ModuleTable& table = Modules();
    std::lock_guard lock(table.mutex);
    LoadedModule* pModule = LookupModule(table, hInstance);
    if (!pModule)
        return 0;
    const UINT nBlock = uID / STRINGS_PER_BLOCK + 1;
    if (nBlock > 0xFFFF) {
        SetLastError(ERROR_RESOURCE_NAME_NOT_FOUND);
        return 0;
    }
    const ResourceEntry* pEntry = FindEntry(
        *pModule, ResourceKey::FromId(RESOURCE_TYPE_STRING), ResourceKey::FromId(static_cast<WORD>(nBlock)));
    std::vector<std::string_view> strings;
    std::string strError;
    if (!pEntry || !ReadStringBlock(PayloadOf(*pModule, *pEntry), strings, strError)) {
        if (pEntry)
            SetLastError(ERROR_RESOURCE_DATA_NOT_FOUND);
        return 0;
    }
    std::string_view text = strings[uID % STRINGS_PER_BLOCK];
    if (text.empty()) {
        SetLastError(ERROR_RESOURCE_NAME_NOT_FOUND);
        return 0;
    }
    if (cchBufferMax == 0) {
        *reinterpret_cast<LPCTSTR*>(lpBuffer) = text.data();
        return static_cast<int>(text.size());
    }

    // Whole characters only, leaving room for the NUL.
    const size_t nRoom = static_cast<size_t>(cchBufferMax) - 1;
    size_t nCopy = 0;
    while (nCopy < text.size() && nCopy + Utf8CharLength(text, nCopy) <= nRoom)
        nCopy += Utf8CharLength(text, nCopy);
    std::memcpy(lpBuffer, text.data(), nCopy);
    lpBuffer[nCopy] = '\0';
    return static_cast<int>(nCopy);
}

/******************************************************************************
** Current resource module
******************************************************************************/

HINSTANCE AfxGetResourceHandle()
{
    return g_hResourceInstance.load();
}

void AfxSetResourceHandle(HINSTANCE hInstResource)
{
    g_hResourceInstance.store(hInstResource);
}

std::string FindProgramDataFile(const std::string& strName)
{
    if (strName.empty() || strName.find('/') != std::string::npos)
        return {};
    for (const fs::path& folder : ModuleSearchFolders()) {
        if (auto path = FindInFolder(folder, strName, true))
            return path->string();
    }
    return {};
}
