#include "platform/shell/ShellLink.h"

#include "platform/base/ComObject.h"
#include "platform/base/FileFunctions.h"
#include "platform/base/PathMap.h"
#include "platform/base/TextFunctions.h"
#include "platform/base/WinError.h"
#include "platform/shell/LnkFile.h"
#include "platform/shell/ShellFolder.h"

#include <cstring>
#include <fstream>
#include <optional>
#include <vector>

#include <glib.h>

namespace {

bool EndsWithNoCase(const std::string& strText, std::string_view suffix)
{
    return strText.size() >= suffix.size()
        && Utf8CompareNoCase(std::string_view(strText).substr(strText.size() - suffix.size()), suffix) == 0;
}

std::string JoinProgramPath(const std::string& strFolder, const std::string& strName)
{
    if (strFolder.empty() || strName.empty())
        return strFolder + strName;
    return strFolder.back() == '\\' ? strFolder + strName : strFolder + "\\" + strName;
}

// Copies a text into a caller's buffer of cch bytes, cut whole at a character boundary.
void CopyOut(const std::string& strText, LPSTR pszOut, int cch)
{
    if (pszOut && cch > 0)
        Utf8CopyToField(pszOut, static_cast<size_t>(cch), strText.c_str(), FieldEnd::NulTerminated);
}

// What a loaded shortcut gives.
struct CLoadedLink {
    bool bLnk { false };
    CLnkFile lnk;                 // a ".lnk"
    std::string strLinkFolder;    // its folder, a program path
    std::string strDesktopTarget; // a ".desktop": its target, a program path or a URL
};

class CShellLink final
    : public CComObject<IShellLinkA>
    , public IPersistFile {
public:
    CShellLink()
        : CComObject(IID_IShellLinkA)
    {
    }

    HRESULT QueryInterface(REFIID riid, void** ppv) override { return CComObject::QueryInterface(riid, ppv); }
    ULONG AddRef() override { return CComObject::AddRef(); }
    ULONG Release() override { return CComObject::Release(); }

    /* IShellLinkA */
    HRESULT GetPath(LPSTR pszFile, int cch, WIN32_FIND_DATA* pfd, DWORD fFlags) override;
    HRESULT GetIDList(LPITEMIDLIST* ppidl) override;
    HRESULT SetIDList(LPCITEMIDLIST) override { return E_NOTIMPL; }
    HRESULT GetDescription(LPSTR, int) override { return E_NOTIMPL; }
    HRESULT SetDescription(LPCSTR) override { return E_NOTIMPL; }
    HRESULT GetWorkingDirectory(LPSTR, int) override { return E_NOTIMPL; }
    HRESULT SetWorkingDirectory(LPCSTR) override { return E_NOTIMPL; }
    HRESULT GetArguments(LPSTR pszArgs, int cch) override;
    HRESULT SetArguments(LPCSTR) override { return E_NOTIMPL; }
    HRESULT GetHotkey(WORD*) override { return E_NOTIMPL; }
    HRESULT SetHotkey(WORD) override { return E_NOTIMPL; }
    HRESULT GetShowCmd(int*) override { return E_NOTIMPL; }
    HRESULT SetShowCmd(int) override { return E_NOTIMPL; }
    HRESULT GetIconLocation(LPSTR, int, int*) override { return E_NOTIMPL; }
    HRESULT SetIconLocation(LPCSTR, int) override { return E_NOTIMPL; }
    HRESULT SetRelativePath(LPCSTR, DWORD) override { return E_NOTIMPL; }
    HRESULT Resolve(HWND, DWORD) override;
    HRESULT SetPath(LPCSTR) override { return E_NOTIMPL; }

    /* IPersistFile */
    HRESULT GetClassID(CLSID* pClassID) override
    {
        if (!pClassID)
            return E_POINTER;
        *pClassID = CLSID_ShellLink;
        return S_OK;
    }
    HRESULT IsDirty() override { return S_FALSE; }
    HRESULT Load(const WCHAR* pszFileName, DWORD dwMode) override;
    HRESULT Save(const WCHAR*, BOOL) override { return E_NOTIMPL; }
    HRESULT SaveCompleted(const WCHAR*) override { return E_NOTIMPL; }
    HRESULT GetCurFile(WCHAR** ppszFileName) override
    {
        if (ppszFileName)
            *ppszFileName = nullptr;
        return E_NOTIMPL;
    }

protected:
    void* QueryOther(REFIID riid) override
    {
        return riid == IID_IPersistFile || riid == IID_IPersist ? static_cast<IPersistFile*>(this) : nullptr;
    }

private:
    // The target by the rules in the header; empty when there is none.
    std::string Target(DWORD fFlags) const;
    HRESULT LoadLnk(const std::string& strHostPath, const std::string& strProgramPath);
    HRESULT LoadDesktop(const std::string& strHostPath);

    std::optional<CLoadedLink> m_loaded;
};

std::string CShellLink::Target(DWORD fFlags) const
{
    if (!m_loaded)
        return {};
    if (!m_loaded->bLnk)
        return m_loaded->strDesktopTarget;
    const CLnkFile& lnk = m_loaded->lnk;
    if (!(lnk.dwFlags & LNK_FORCE_NO_LINK_INFO)) {
        if (lnk.bHasLocalBasePath)
            return JoinProgramPath(lnk.strLocalBasePath, lnk.strCommonPathSuffix);
        if (lnk.bHasNetworkLink)
            return JoinProgramPath(lnk.strNetName, lnk.strCommonPathSuffix);
    }
    if ((fFlags & SLGP_RAWPATH) && !lnk.strEnvironmentTarget.empty())
        return lnk.strEnvironmentTarget;
    if (!lnk.strRelativePath.empty()) {
        CProgramPath path;
        std::string strJoined = JoinProgramPath(m_loaded->strLinkFolder, lnk.strRelativePath);
        return ParseProgramPath(strJoined.c_str(), path) ? path.ToString() : strJoined;
    }
    return {};
}

HRESULT CShellLink::GetPath(LPSTR pszFile, int cch, WIN32_FIND_DATA* pfd, DWORD fFlags)
{
    if (!pszFile || cch <= 0)
        return E_INVALIDARG;
    *pszFile = '\0';
    std::string strTarget = Target(fFlags);
    if (strTarget.empty())
        return E_FAIL;
    CopyOut(strTarget, pszFile, cch);
    if (pfd) {
        *pfd = WIN32_FIND_DATA {};
        if (m_loaded->bLnk) {
            const CLnkFile& lnk = m_loaded->lnk;
            pfd->dwFileAttributes = lnk.dwFileAttributes;
            pfd->ftCreationTime = lnk.ftCreationTime;
            pfd->ftLastAccessTime = lnk.ftAccessTime;
            pfd->ftLastWriteTime = lnk.ftWriteTime;
            pfd->nFileSizeLow = lnk.nFileSize;
        }
        std::string strName = strTarget.substr(strTarget.find_last_of("\\/") + 1);
        Utf8CopyToField(pfd->cFileName, sizeof pfd->cFileName, strName.c_str(), FieldEnd::NulTerminated);
    }
    return S_OK;
}

HRESULT CShellLink::GetIDList(LPITEMIDLIST* ppidl)
{
    if (!ppidl)
        return E_POINTER;
    *ppidl = nullptr;
    std::string strTarget = Target(0);
    if (strTarget.empty())
        return E_FAIL;
    IShellFolder* pDesktop = nullptr;
    HRESULT hr = SHGetDesktopFolder(&pDesktop);
    if (FAILED(hr))
        return hr;
    std::u16string wide = Utf16FromUtf8(strTarget);
    hr = pDesktop->ParseDisplayName(nullptr, nullptr, wide.data(), nullptr, ppidl, nullptr);
    pDesktop->Release();
    return hr;
}

HRESULT CShellLink::GetArguments(LPSTR pszArgs, int cch)
{
    if (!pszArgs || cch <= 0)
        return E_INVALIDARG;
    CopyOut(m_loaded && m_loaded->bLnk ? m_loaded->lnk.strArguments : std::string(), pszArgs, cch);
    return S_OK;
}

HRESULT CShellLink::Resolve(HWND, DWORD)
{
    std::string strTarget = Target(0);
    if (strTarget.empty() || GetFileAttributes(strTarget.c_str()) == INVALID_FILE_ATTRIBUTES)
        return HRESULT_FROM_WIN32(ERROR_FILE_NOT_FOUND);
    return S_OK;
}

HRESULT CShellLink::Load(const WCHAR* pszFileName, DWORD)
{
    if (!pszFileName)
        return E_POINTER;
    std::string strProgramPath = Utf8FromUtf16(pszFileName);
    bool bLnk = EndsWithNoCase(strProgramPath, ".lnk");
    if (!bLnk && !EndsWithNoCase(strProgramPath, ".desktop"))
        return E_FAIL;
    std::string strHostPath;
    if (!HostPathFromProgramPath(strProgramPath.c_str(), strHostPath)
        || GetFileAttributes(strProgramPath.c_str()) == INVALID_FILE_ATTRIBUTES)
        return HRESULT_FROM_WIN32(ERROR_FILE_NOT_FOUND);
    return bLnk ? LoadLnk(strHostPath, strProgramPath) : LoadDesktop(strHostPath);
}

HRESULT CShellLink::LoadLnk(const std::string& strHostPath, const std::string& strProgramPath)
{
    std::ifstream file(strHostPath, std::ios::binary);
    std::vector<BYTE> data(LNK_MAX_SIZE + 1);
    file.read(reinterpret_cast<char*>(data.data()), static_cast<std::streamsize>(data.size()));
    if (file.bad())
        return HRESULT_FROM_WIN32(ERROR_READ_FAULT);
    data.resize(static_cast<size_t>(file.gcount()));
    CLoadedLink loaded;
    std::string strError;
    if (!ReadLnkFile(data, loaded.lnk, strError))
        return HRESULT_FROM_WIN32(ERROR_BAD_FORMAT);
    loaded.bLnk = true;
    loaded.strLinkFolder = strProgramPath.substr(0, strProgramPath.find_last_of("\\/") + 1);
    m_loaded = std::move(loaded);
    return S_OK;
}

HRESULT CShellLink::LoadDesktop(const std::string& strHostPath)
{
    GKeyFile* pFile = g_key_file_new();
    HRESULT hr = HRESULT_FROM_WIN32(ERROR_BAD_FORMAT);
    if (g_key_file_load_from_file(pFile, strHostPath.c_str(), G_KEY_FILE_NONE, nullptr)) {
        gchar* pszType = g_key_file_get_string(pFile, G_KEY_FILE_DESKTOP_GROUP, G_KEY_FILE_DESKTOP_KEY_TYPE, nullptr);
        gchar* pszUrl = g_key_file_get_string(pFile, G_KEY_FILE_DESKTOP_GROUP, G_KEY_FILE_DESKTOP_KEY_URL, nullptr);
        CLoadedLink loaded;
        if (pszType && std::strcmp(pszType, G_KEY_FILE_DESKTOP_TYPE_LINK) == 0 && pszUrl && *pszUrl) {
            // A file URL names a file, which the program knows by its path; other URLs stay as they are.
            gchar* pszFile = g_filename_from_uri(pszUrl, nullptr, nullptr);
            std::string strProgram = pszFile ? ProgramPathFromHostPath(pszFile) : std::string();
            loaded.strDesktopTarget = strProgram.empty() ? std::string(pszUrl) : strProgram;
            g_free(pszFile);
            hr = S_OK;
        } else if (pszType && std::strcmp(pszType, G_KEY_FILE_DESKTOP_TYPE_APPLICATION) == 0) {
            loaded.strDesktopTarget = ProgramPathFromHostPath(strHostPath);
            hr = loaded.strDesktopTarget.empty() ? HRESULT_FROM_WIN32(ERROR_BAD_FORMAT) : S_OK;
        }
        if (SUCCEEDED(hr))
            m_loaded = std::move(loaded);
        g_free(pszType);
        g_free(pszUrl);
    }
    g_key_file_free(pFile);
    return hr;
}

} // namespace

HRESULT CreateShellLink(REFIID riid, void** ppv)
{
    return HandOutComObject(new CShellLink, riid, ppv);
}
