#include "platform/window/WindowClass.h"

#include "platform/base/ResourceModule.h"
#include "platform/base/TextFunctions.h"
#include "platform/base/WinError.h"
#include "platform/window/Messages.h"
#include "platform/window/WindowInternal.h"

#include <algorithm>
#include <cstring>
#include <unordered_map>

namespace {

struct AtomTable {
    std::vector<std::string> names; // atom WM_REGISTERED_FIRST + i is names[i]
    std::unordered_map<std::string, ATOM> byFoldedName;
};

AtomTable& Atoms()
{
    static auto* pTable = new AtomTable; // never destroyed: windows may be used during exit
    return *pTable;
}

std::vector<std::shared_ptr<CWindowClass>>& Classes()
{
    static auto* pClasses = new std::vector<std::shared_ptr<CWindowClass>>;
    return *pClasses;
}

// The name in lower case, so that names differing only in case meet.
std::string FoldCase(std::string_view name)
{
    std::string strFolded(name);
    CharLowerA(strFolded.data());
    strFolded.resize(std::strlen(strFolded.c_str()));
    return strFolded;
}

bool NameIs(const CWindowClass& windowClass, ATOM nAtom)
{
    return windowClass.nAtom == nAtom;
}

// The registered class of that atom and instance (any instance for global classes). Lock held.
std::shared_ptr<CWindowClass> FindRegisteredLocked(ATOM nAtom, HINSTANCE hInstance, bool bGlobalToo)
{
    for (const auto& pClass : Classes()) {
        if (NameIs(*pClass, nAtom) && pClass->hInstance == hInstance)
            return pClass;
    }
    if (bGlobalToo) {
        for (const auto& pClass : Classes()) {
            if (NameIs(*pClass, nAtom) && (pClass->style & CS_GLOBALCLASS))
                return pClass;
        }
    }
    return nullptr;
}

ATOM Register(const WNDCLASSEX& wc)
{
    if (!wc.lpfnWndProc || !wc.lpszClassName || wc.cbClsExtra < 0 || wc.cbWndExtra < 0) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return 0;
    }
    auto lock = LockWindows();
    ATOM nAtom = AtomFromNameLocked(wc.lpszClassName, true);
    if (nAtom == 0) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return 0;
    }
    bool bGlobal = (wc.style & CS_GLOBALCLASS) != 0;
    bool bTaken = std::any_of(Classes().begin(), Classes().end(), [&](const auto& pClass) {
        return NameIs(*pClass, nAtom)
            && (pClass->hInstance == wc.hInstance || (bGlobal && (pClass->style & CS_GLOBALCLASS)));
    });
    if (bTaken) {
        SetLastError(ERROR_CLASS_ALREADY_EXISTS);
        return 0;
    }
    auto pClass = std::make_shared<CWindowClass>();
    pClass->strName = *AtomNameLocked(nAtom);
    pClass->nAtom = nAtom;
    pClass->style = wc.style;
    pClass->pfnWndProc = wc.lpfnWndProc;
    pClass->cbClsExtra = wc.cbClsExtra;
    pClass->cbWndExtra = wc.cbWndExtra;
    pClass->hInstance = wc.hInstance;
    pClass->hIcon = wc.hIcon;
    pClass->hIconSm = wc.hIconSm;
    pClass->hCursor = wc.hCursor;
    pClass->hbrBackground = wc.hbrBackground;
    pClass->lpszMenuName = wc.lpszMenuName;
    Classes().push_back(std::move(pClass));
    return nAtom;
}

}

/***** Atoms *****/

ATOM AddAtomLocked(std::string_view name)
{
    if (name.empty())
        return 0;
    AtomTable& table = Atoms();
    std::string strFolded = FoldCase(name);
    if (auto it = table.byFoldedName.find(strFolded); it != table.byFoldedName.end())
        return it->second;
    if (table.names.size() > WM_REGISTERED_LAST - WM_REGISTERED_FIRST)
        return 0;
    auto nAtom = static_cast<ATOM>(WM_REGISTERED_FIRST + table.names.size());
    table.names.emplace_back(name);
    table.byFoldedName.emplace(std::move(strFolded), nAtom);
    return nAtom;
}

ATOM FindAtomLocked(std::string_view name)
{
    AtomTable& table = Atoms();
    auto it = table.byFoldedName.find(FoldCase(name));
    return it == table.byFoldedName.end() ? 0 : it->second;
}

const std::string* AtomNameLocked(ATOM nAtom)
{
    AtomTable& table = Atoms();
    if (nAtom < WM_REGISTERED_FIRST || nAtom - WM_REGISTERED_FIRST >= table.names.size())
        return nullptr;
    return &table.names[nAtom - WM_REGISTERED_FIRST];
}

ATOM AtomFromNameLocked(LPCSTR lpszName, bool bAdd)
{
    if (!lpszName)
        return 0;
    if (IS_INTRESOURCE(lpszName)) {
        auto nAtom = static_cast<ATOM>(reinterpret_cast<ULONG_PTR>(lpszName));
        return AtomNameLocked(nAtom) ? nAtom : 0;
    }
    return bAdd ? AddAtomLocked(lpszName) : FindAtomLocked(lpszName);
}

std::shared_ptr<CWindowClass> FindClassLocked(LPCSTR lpszClass, HINSTANCE hInstance)
{
    ATOM nAtom = AtomFromNameLocked(lpszClass, false);
    return nAtom ? FindRegisteredLocked(nAtom, hInstance, true) : nullptr;
}

/***** Registering classes *****/

ATOM RegisterClass(const WNDCLASS* lpWndClass)
{
    if (!lpWndClass) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return 0;
    }
    const WNDCLASS& wc = *lpWndClass;
    WNDCLASSEX wcx { sizeof(WNDCLASSEX), wc.style, wc.lpfnWndProc, wc.cbClsExtra, wc.cbWndExtra, wc.hInstance, wc.hIcon,
        wc.hCursor, wc.hbrBackground, wc.lpszMenuName, wc.lpszClassName, nullptr };
    return Register(wcx);
}

ATOM RegisterClassEx(const WNDCLASSEX* lpWndClassEx)
{
    if (!lpWndClassEx || lpWndClassEx->cbSize != sizeof(WNDCLASSEX)) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return 0;
    }
    return Register(*lpWndClassEx);
}

BOOL UnregisterClass(LPCSTR lpClassName, HINSTANCE hInstance)
{
    auto lock = LockWindows();
    ATOM nAtom = AtomFromNameLocked(lpClassName, false);
    auto pClass = nAtom ? FindRegisteredLocked(nAtom, hInstance, true) : nullptr;
    if (!pClass) {
        SetLastError(ERROR_CLASS_DOES_NOT_EXIST);
        return FALSE;
    }
    if (pClass->nWindows > 0) {
        SetLastError(ERROR_CLASS_HAS_WINDOWS);
        return FALSE;
    }
    std::erase(Classes(), pClass);
    return TRUE;
}

/***** Reading classes *****/

BOOL GetClassInfoEx(HINSTANCE hInstance, LPCSTR lpClassName, LPWNDCLASSEX lpWndClassEx)
{
    if (!lpWndClassEx) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    auto lock = LockWindows();
    auto pClass = FindClassLocked(lpClassName, hInstance);
    if (!pClass) {
        SetLastError(ERROR_CLASS_DOES_NOT_EXIST);
        return FALSE;
    }
    const CWindowClass& c = *pClass;
    *lpWndClassEx = WNDCLASSEX { sizeof(WNDCLASSEX), c.style, c.pfnWndProc, c.cbClsExtra, c.cbWndExtra, c.hInstance,
        c.hIcon, c.hCursor, c.hbrBackground, c.lpszMenuName, AtomNameLocked(c.nAtom)->c_str(), c.hIconSm };
    return c.nAtom;
}

BOOL GetClassInfo(HINSTANCE hInstance, LPCSTR lpClassName, LPWNDCLASS lpWndClass)
{
    WNDCLASSEX wcx {};
    if (!lpWndClass || !GetClassInfoEx(hInstance, lpClassName, &wcx)) {
        if (!lpWndClass)
            SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    *lpWndClass = WNDCLASS { wcx.style, wcx.lpfnWndProc, wcx.cbClsExtra, wcx.cbWndExtra, wcx.hInstance, wcx.hIcon,
        wcx.hCursor, wcx.hbrBackground, wcx.lpszMenuName, wcx.lpszClassName };
    return TRUE;
}

int GetClassName(HWND hWnd, LPSTR lpClassName, int nMaxCount)
{
    auto lock = LockWindows();
    CWindow* pWindow = FindWindowOrFailLocked(hWnd);
    if (!pWindow)
        return 0;
    if (!lpClassName || nMaxCount <= 0) {
        SetLastError(ERROR_INSUFFICIENT_BUFFER);
        return 0;
    }
    lstrcpynA(lpClassName, pWindow->pClass->strName.c_str(), nMaxCount);
    return lstrlenA(lpClassName);
}

/***** Registered messages *****/

UINT RegisterWindowMessage(LPCSTR lpString)
{
    if (!lpString || IS_INTRESOURCE(lpString) || !*lpString) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return 0;
    }
    auto lock = LockWindows();
    ATOM nAtom = AddAtomLocked(lpString);
    if (nAtom == 0)
        SetLastError(ERROR_NOT_ENOUGH_MEMORY);
    return nAtom;
}
