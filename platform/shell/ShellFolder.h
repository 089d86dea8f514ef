#pragma once

// The shell namespace: the desktop at the top, under it My Computer (the
// drive letters), Network (the mounted shares), the Recycle Bin (the items
// of the freedesktop Trash) and the items of the user's desktop folder; under
// drives, shares and folders their folders and files. Items are named by item
// identifier lists (ItemIdList.h); a folder is an IShellFolder, which
// enumerates its items (IEnumIDList), parses names into lists, and tells
// their attributes and display names.
//
// Every list handed out is allocated with the task allocator and freed by the
// receiver (CoTaskMemFree or IMalloc::Free); every interface handed out
// carries one reference. Lists given to a folder are checked as ItemIdList.h
// says and refused with E_INVALIDARG when they are not ours or not in place.
// Nothing here shows a window or takes the capture.
//
// Items are named as the drive table maps host folders: enumeration lists a
// folder in the host's directory order, dot-names only with
// SHCONTF_INCLUDEHIDDEN and pseudo mount points never. The same item reached
// by enumeration or by parsing its parsing name has the same bytes, except
// that a path inside the desktop folder parses to the desktop's own item.

#include "platform/base/Com.h"
#include "platform/base/FileFind.h"
#include "platform/shell/ItemIdList.h"

/* Flags. */

using SFGAOF = ULONG;
using SHCONTF = DWORD;
using SHGDNF = DWORD;

// clang-format off
constexpr SFGAOF SFGAO_LINK         = 0x00010000; // a ".lnk" or ".desktop" file
constexpr SFGAOF SFGAO_REMOVABLE    = 0x02000000; // on a removable or CD drive
constexpr SFGAOF SFGAO_FOLDER       = 0x20000000;
constexpr SFGAOF SFGAO_FILESYSTEM   = 0x40000000; // has a path
constexpr SFGAOF SFGAO_HASSUBFOLDER = 0x80000000;

constexpr SHCONTF SHCONTF_FOLDERS       = 0x0020;
constexpr SHCONTF SHCONTF_NONFOLDERS    = 0x0040;
constexpr SHCONTF SHCONTF_INCLUDEHIDDEN = 0x0080;

constexpr SHGDNF SHGDN_NORMAL     = 0x0000; // the name to show, relative to the desktop
constexpr SHGDNF SHGDN_INFOLDER   = 0x0001; // the name within its folder
constexpr SHGDNF SHGDN_FORPARSING = 0x8000; // the name that parses back to the item

constexpr UINT STRRET_WSTR   = 0; // pOleStr: a wide text from the task allocator, the caller frees it
constexpr UINT STRRET_OFFSET = 1; // uOffset: a text inside the item
constexpr UINT STRRET_CSTR   = 2; // cStr: the text in place
// clang-format on

// A name from GetDisplayNameOf. Names that fit come back as STRRET_CSTR
// (UTF-8), so callers that never free a wide text leak nothing; longer ones as
// STRRET_WSTR.
struct STRRET {
    UINT uType;
    union {
        LPWSTR pOleStr;
        UINT uOffset;
        char cStr[MAX_PATH];
    };
};

/* Interfaces. */

struct IBindCtx;
using LPBC = IBindCtx*;
using LPOLESTR = WCHAR*;
using LPCOLESTR = const WCHAR*;

constexpr IID IID_IShellFolder = SystemGuid(0x000214E6);
constexpr IID IID_IEnumIDList = SystemGuid(0x000214F2);

struct IEnumIDList : IUnknown {
    // Up to celt new lists (single items, relative to the folder); S_FALSE
    // when fewer were left. *pceltFetched may be null when celt is 1.
    virtual HRESULT Next(ULONG celt, LPITEMIDLIST* rgelt, ULONG* pceltFetched) = 0;
    virtual HRESULT Skip(ULONG celt) = 0;
    virtual HRESULT Reset() = 0;
    virtual HRESULT Clone(IEnumIDList** ppenum) = 0;

protected:
    ~IEnumIDList() = default;
};
using LPENUMIDLIST = IEnumIDList*;

struct IShellFolder : IUnknown {
    // A name (a path, "::{GUID}", or a name relative to this folder) as a new
    // list relative to this folder. HRESULT_FROM_WIN32(ERROR_FILE_NOT_FOUND)
    // for an item that does not exist.
    virtual HRESULT ParseDisplayName(
        HWND hwnd, LPBC pbc, LPOLESTR pszDisplayName, ULONG* pchEaten, LPITEMIDLIST* ppidl, ULONG* pdwAttributes)
        = 0;
    // The items of this folder, SHCONTF_* choosing which. The list is taken
    // when the call is made.
    virtual HRESULT EnumObjects(HWND hwnd, SHCONTF grfFlags, IEnumIDList** ppenumIDList) = 0;
    // The folder a relative list names (riid IID_IShellFolder).
    virtual HRESULT BindToObject(LPCITEMIDLIST pidl, LPBC pbc, REFIID riid, void** ppv) = 0;
    virtual HRESULT BindToStorage(LPCITEMIDLIST pidl, LPBC pbc, REFIID riid, void** ppv) = 0; // E_NOTIMPL
    virtual HRESULT CompareIDs(LPARAM lParam, LPCITEMIDLIST pidl1, LPCITEMIDLIST pidl2) = 0;  // E_NOTIMPL
    virtual HRESULT CreateViewObject(HWND hwndOwner, REFIID riid, void** ppv) = 0;            // E_NOTIMPL
    // The SFGAO_* attributes the items have in common, of those asked for in *rgfInOut.
    virtual HRESULT GetAttributesOf(UINT cidl, LPCITEMIDLIST* apidl, SFGAOF* rgfInOut) = 0;
    // An object for one item: IID_IContextMenu (ShellContextMenu.h).
    virtual HRESULT GetUIObjectOf(
        HWND hwndOwner, UINT cidl, LPCITEMIDLIST* apidl, REFIID riid, UINT* rgfReserved, void** ppv)
        = 0;
    virtual HRESULT GetDisplayNameOf(LPCITEMIDLIST pidl, SHGDNF uFlags, STRRET* pName) = 0;
    virtual HRESULT SetNameOf(HWND hwnd, LPCITEMIDLIST pidl, LPCOLESTR pszName, SHGDNF uFlags, LPITEMIDLIST* ppidlOut)
        = 0; // E_NOTIMPL

protected:
    ~IShellFolder() = default;
};
using LPSHELLFOLDER = IShellFolder*;

/* Entry points. */

// The desktop folder (one reference).
HRESULT SHGetDesktopFolder(IShellFolder** ppshf);

// clang-format off
constexpr int CSIDL_BITBUCKET        = 10; // the Recycle Bin
constexpr int CSIDL_STARTMENU        = 11; // the Start menu presented from the desktop's launchers
constexpr int CSIDL_DRIVES           = 17; // My Computer
constexpr int CSIDL_NETWORK          = 18; // Network
constexpr int CSIDL_COMMON_STARTMENU = 22; // E_FAIL: the Start menu holds every launcher already
// clang-format on

// A new absolute list for a special folder; E_INVALIDARG for others.
HRESULT SHGetSpecialFolderLocation(HWND hwndOwner, int nFolder, LPITEMIDLIST* ppidl);

// The parsing name of a file-system or recycled item into pszPath (MAX_PATH
// bytes); FALSE for virtual folders, damaged lists and names too long.
BOOL SHGetPathFromIDList(LPCITEMIDLIST pidl, LPTSTR pszPath);

constexpr int SHGDFIL_FINDDATA = 1;
// Fills a WIN32_FIND_DATA (cb at least its size) of an item of a folder from
// the file; E_INVALIDARG for other formats or items without a path.
HRESULT SHGetDataFromIDList(IShellFolder* psf, LPCITEMIDLIST pidl, int nFormat, void* pv, int cb);
