#pragma once

// Component object basics: result codes, interface and class identifiers,
// IUnknown, the task allocator, initialisation, and the creation of the
// classes this platform offers (CoCreateInstance). Objects live in this
// process only; there are no apartments, proxies or registered servers.
//
// Reference counting follows the usual rules: an interface pointer handed out
// (QueryInterface, CoCreateInstance, a method's out-parameter) carries one
// reference, which the receiver gives back with Release.

#include "platform/base/WinTypes.h"

/* Result codes. Bit 31 set means failure. */

// clang-format off
constexpr HRESULT S_OK                   = 0;
constexpr HRESULT S_FALSE                = 1;
constexpr HRESULT E_NOTIMPL              = static_cast<HRESULT>(0x80004001);
constexpr HRESULT E_NOINTERFACE          = static_cast<HRESULT>(0x80004002);
constexpr HRESULT E_POINTER              = static_cast<HRESULT>(0x80004003);
constexpr HRESULT E_FAIL                 = static_cast<HRESULT>(0x80004005);
constexpr HRESULT E_OUTOFMEMORY          = static_cast<HRESULT>(0x8007000E);
constexpr HRESULT E_INVALIDARG           = static_cast<HRESULT>(0x80070057);
constexpr HRESULT CLASS_E_NOAGGREGATION  = static_cast<HRESULT>(0x80040110);
constexpr HRESULT REGDB_E_CLASSNOTREG    = static_cast<HRESULT>(0x80040154);

constexpr UINT SEVERITY_SUCCESS = 0;
constexpr UINT SEVERITY_ERROR   = 1;
constexpr UINT FACILITY_WIN32   = 7;
// clang-format on

constexpr bool SUCCEEDED(HRESULT hr)
{
    return hr >= 0;
}
constexpr bool FAILED(HRESULT hr)
{
    return hr < 0;
}
constexpr HRESULT MAKE_HRESULT(UINT uSeverity, UINT uFacility, UINT uCode)
{
    return static_cast<HRESULT>((uSeverity << 31) | (uFacility << 16) | (uCode & 0xFFFF));
}
// A Win32 error as a result code; ERROR_SUCCESS stays S_OK.
constexpr HRESULT HRESULT_FROM_WIN32(DWORD dwError)
{
    return dwError == 0 ? S_OK : MAKE_HRESULT(SEVERITY_ERROR, FACILITY_WIN32, dwError);
}
constexpr UINT HRESULT_CODE(HRESULT hr)
{
    return static_cast<UINT>(hr) & 0xFFFF;
}

/* Identifiers. */

struct GUID {
    DWORD Data1;
    WORD Data2;
    WORD Data3;
    BYTE Data4[8];

    bool operator==(const GUID&) const = default;
};
using IID = GUID;
using CLSID = GUID;
using REFIID = const IID&;
using REFCLSID = const CLSID&;
using REFGUID = const GUID&;

inline BOOL IsEqualGUID(REFGUID guid1, REFGUID guid2)
{
    return guid1 == guid2;
}
inline BOOL IsEqualIID(REFIID iid1, REFIID iid2)
{
    return iid1 == iid2;
}

// An identifier of the family {xxxxxxxx-0000-0000-C000-000000000046} that the
// system's own interfaces and classes share.
constexpr GUID SystemGuid(DWORD dwData1)
{
    return GUID { dwData1, 0, 0, { 0xC0, 0, 0, 0, 0, 0, 0, 0x46 } };
}

constexpr IID IID_IUnknown = SystemGuid(0x00000000);
constexpr IID IID_IMalloc = SystemGuid(0x00000002);

/* Interfaces. Objects are deleted by their last Release, never through these. */

struct IUnknown {
    virtual HRESULT QueryInterface(REFIID riid, void** ppvObject) = 0;
    virtual ULONG AddRef() = 0;
    virtual ULONG Release() = 0;

protected:
    ~IUnknown() = default;
};
using LPUNKNOWN = IUnknown*;

// The task allocator. Memory from it may be freed by CoTaskMemFree and the
// other way round.
struct IMalloc : IUnknown {
    virtual void* Alloc(SIZE_T cb) = 0;
    virtual void* Realloc(void* pv, SIZE_T cb) = 0;
    virtual void Free(void* pv) = 0;
    // The size asked for a block; (SIZE_T)-1 for nullptr.
    virtual SIZE_T GetSize(void* pv) = 0;
    // 1: allocated here, 0: not, -1: cannot tell (every non-null block answers -1).
    virtual int DidAlloc(void* pv) = 0;
    virtual void HeapMinimize() = 0;

protected:
    ~IMalloc() = default;
};
using LPMALLOC = IMalloc*;

/* The task allocator as functions. nullptr is accepted where a block is. */

void* CoTaskMemAlloc(SIZE_T cb);
void* CoTaskMemRealloc(void* pv, SIZE_T cb);
void CoTaskMemFree(void* pv);
// The process's task allocator (one reference; its Release does nothing).
HRESULT CoGetMalloc(DWORD dwMemContext, LPMALLOC* ppMalloc);
HRESULT SHGetMalloc(LPMALLOC* ppMalloc);

/* Initialisation. Counted per thread and always successful: S_OK for the
   first call on a thread, S_FALSE for a nested one. Nothing needs it. */

HRESULT CoInitialize(LPVOID pvReserved);
void CoUninitialize();
HRESULT OleInitialize(LPVOID pvReserved);
void OleUninitialize();

/* Creating objects. */

// clang-format off
constexpr DWORD CLSCTX_INPROC_SERVER = 0x1;
constexpr DWORD CLSCTX_INPROC_HANDLER = 0x2;
constexpr DWORD CLSCTX_LOCAL_SERVER  = 0x4;
constexpr DWORD CLSCTX_ALL           = CLSCTX_INPROC_SERVER | CLSCTX_INPROC_HANDLER | CLSCTX_LOCAL_SERVER;
// clang-format on

// Makes a new object of a class and asks it for riid. CLASS_E_NOAGGREGATION
// for an outer object, REGDB_E_CLASSNOTREG for a class nobody registered,
// E_POINTER for a null ppv, else the object's QueryInterface result.
HRESULT CoCreateInstance(REFCLSID rclsid, LPUNKNOWN pUnkOuter, DWORD dwClsContext, REFIID riid, LPVOID* ppv);

// Makes a new object and hands out its interface riid, as CoCreateInstance does.
using ComClassCreator = HRESULT (*)(REFIID riid, void** ppv);
// Registers the creator of a class for CoCreateInstance (the layer that
// implements the class calls it at start-up); a second call replaces the first.
void RegisterComClass(REFCLSID rclsid, ComClassCreator pfnCreate);
