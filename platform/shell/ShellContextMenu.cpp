#include "platform/shell/ShellContextMenu.h"

#include "platform/base/ComObject.h"
#include "platform/base/WinError.h"
#include "platform/shell/DesktopApps.h"
#include "platform/shell/DesktopExec.h"
#include "platform/shell/ProgramLaunch.h"
#include "platform/window/Menu.h"

#include <cstring>

namespace {

class CItemContextMenu final : public CComObject<IContextMenu> {
public:
    explicit CItemContextMenu(const CItemPath& item)
        : CComObject(IID_IContextMenu)
    {
        std::string strHost;
        if (!HostPathOfItems(item, strHost))
            return;
        m_strHostPath = strHost;
        m_bFolder = item.back().eKind != EItemKind::File
            && (item.back().eKind != EItemKind::Recycled || (item.back().dwAttributes & FILE_ATTRIBUTE_DIRECTORY));
        if (m_bFolder)
            return;
        std::string strType = ContentTypeOfName(strHost.substr(strHost.rfind('/') + 1));
        if (strType.empty())
            return;
        std::optional<CDesktopApp> defaultApp = DefaultAppForType(strType);
        if (!defaultApp)
            return;
        m_apps.push_back(std::move(*defaultApp));
        for (CDesktopApp& app : OtherAppsForType(strType))
            m_apps.push_back(std::move(app));
    }

    HRESULT QueryContextMenu(HMENU hmenu, UINT indexMenu, UINT idCmdFirst, UINT idCmdLast, UINT uFlags) override
    {
        std::vector<std::string> texts;
        if (m_bFolder && !m_strHostPath.empty())
            texts.emplace_back("&Open");
        for (size_t i = 0; i < m_apps.size(); ++i)
            texts.push_back(i == 0 ? std::string("&Open") : "Open with " + m_apps[i].strName);
        UINT nCount = 0;
        for (const std::string& strText : texts) {
            if (idCmdFirst + nCount > idCmdLast)
                break;
            if (!InsertMenu(hmenu, indexMenu + nCount, MF_BYPOSITION | MF_STRING, idCmdFirst + nCount, strText.c_str()))
                return HRESULT_FROM_WIN32(GetLastError());
            ++nCount;
        }
        if (nCount > 0 && !(uFlags & CMF_NODEFAULT))
            SetMenuDefaultItem(hmenu, idCmdFirst, FALSE);
        return MAKE_HRESULT(SEVERITY_SUCCESS, 0, nCount);
    }

    HRESULT InvokeCommand(LPCMINVOKECOMMANDINFO pici) override
    {
        if (!pici || pici->cbSize == 0)
            return E_INVALIDARG;
        size_t nCommand = 0;
        auto nVerb = reinterpret_cast<ULONG_PTR>(pici->lpVerb);
        if (nVerb >> 16 == 0)
            nCommand = nVerb;
        else if (std::strcmp(pici->lpVerb, "open") != 0)
            return E_INVALIDARG;
        std::vector<std::string> args;
        if (m_bFolder && !m_strHostPath.empty() && nCommand == 0) {
            args = { "xdg-open", m_strHostPath };
        } else if (nCommand < m_apps.size()) {
            const CDesktopApp& app = m_apps[nCommand];
            CExecTargets targets { { m_strHostPath }, {}, app.strIcon, app.strName, app.strFile };
            if (!ExpandDesktopExec(app.strExec, targets, args))
                return HRESULT_FROM_WIN32(ERROR_BAD_FORMAT);
        } else {
            return E_INVALIDARG;
        }
        return LaunchProgram(args) ? S_OK : HRESULT_FROM_WIN32(GetLastError());
    }

    HRESULT GetCommandString(UINT_PTR idCmd, UINT uType, UINT*, LPSTR pszName, UINT cchMax) override
    {
        if (uType != GCS_VERBA || idCmd != 0 || !pszName || cchMax < 5)
            return E_NOTIMPL;
        std::memcpy(pszName, "open", 5);
        return S_OK;
    }

private:
    std::string m_strHostPath;
    bool m_bFolder { false };
    std::vector<CDesktopApp> m_apps; // the default first
};

} // namespace

HRESULT CreateItemContextMenu(HWND, const CItemPath& item, REFIID riid, void** ppv)
{
    return HandOutComObject(new CItemContextMenu(item), riid, ppv);
}
