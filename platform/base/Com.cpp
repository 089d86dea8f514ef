#include "platform/base/Com.h"

#include <cstdlib>
#include <cstring>
#include <map>
#include <mutex>

namespace {

// Blocks carry their size in front, so GetSize can answer; the header keeps
// the block aligned as malloc aligns.
struct alignas(std::max_align_t) CBlockHeader {
    SIZE_T cb;
};

CBlockHeader* HeaderOf(void* pv)
{
    return static_cast<CBlockHeader*>(pv) - 1;
}

class CTaskAllocator final : public IMalloc {
public:
    HRESULT QueryInterface(REFIID riid, void** ppvObject) override
    {
        if (!ppvObject)
            return E_POINTER;
        if (riid == IID_IUnknown || riid == IID_IMalloc) {
            *ppvObject = static_cast<IMalloc*>(this);
            return S_OK;
        }
        *ppvObject = nullptr;
        return E_NOINTERFACE;
    }
    // The allocator lives as long as the process: references are not counted.
    ULONG AddRef() override { return 1; }
    ULONG Release() override { return 1; }
    void* Alloc(SIZE_T cb) override { return CoTaskMemAlloc(cb); }
    void* Realloc(void* pv, SIZE_T cb) override { return CoTaskMemRealloc(pv, cb); }
    void Free(void* pv) override { CoTaskMemFree(pv); }
    SIZE_T GetSize(void* pv) override { return pv ? HeaderOf(pv)->cb : static_cast<SIZE_T>(-1); }
    int DidAlloc(void* pv) override { return pv ? -1 : 0; }
    void HeapMinimize() override { }
};

CTaskAllocator g_allocator;

thread_local int t_nInitCount = 0;

struct GuidLess {
    bool operator()(const GUID& a, const GUID& b) const { return std::memcmp(&a, &b, sizeof(GUID)) < 0; }
};

struct CClassTable {
    std::mutex mutex;
    std::map<CLSID, ComClassCreator, GuidLess> creators;
};

CClassTable& Classes()
{
    static auto* pTable = new CClassTable;
    return *pTable;
}

HRESULT Initialize()
{
    return t_nInitCount++ == 0 ? S_OK : S_FALSE;
}

void Uninitialize()
{
    if (t_nInitCount > 0)
        --t_nInitCount;
}

} // namespace

void* CoTaskMemAlloc(SIZE_T cb)
{
    if (cb > static_cast<SIZE_T>(-1) - sizeof(CBlockHeader))
        return nullptr;
    auto* pHeader = static_cast<CBlockHeader*>(std::malloc(sizeof(CBlockHeader) + cb));
    if (!pHeader)
        return nullptr;
    pHeader->cb = cb;
    return pHeader + 1;
}

void* CoTaskMemRealloc(void* pv, SIZE_T cb)
{
    if (!pv)
        return CoTaskMemAlloc(cb);
    if (cb > static_cast<SIZE_T>(-1) - sizeof(CBlockHeader))
        return nullptr;
    auto* pHeader = static_cast<CBlockHeader*>(std::realloc(HeaderOf(pv), sizeof(CBlockHeader) + cb));
    if (!pHeader)
        return nullptr;
    pHeader->cb = cb;
    return pHeader + 1;
}

void CoTaskMemFree(void* pv)
{
    if (pv)
        std::free(HeaderOf(pv));
}

HRESULT CoGetMalloc(DWORD, LPMALLOC* ppMalloc)
{
    if (!ppMalloc)
        return E_INVALIDARG;
    *ppMalloc = &g_allocator;
    return S_OK;
}

HRESULT SHGetMalloc(LPMALLOC* ppMalloc)
{
    return CoGetMalloc(1, ppMalloc);
}

HRESULT CoInitialize(LPVOID)
{
    return Initialize();
}

void CoUninitialize()
{
    Uninitialize();
}

HRESULT OleInitialize(LPVOID)
{
    return Initialize();
}

void OleUninitialize()
{
    Uninitialize();
}

HRESULT CoCreateInstance(REFCLSID rclsid, LPUNKNOWN pUnkOuter, DWORD, REFIID riid, LPVOID* ppv)
{
    if (!ppv)
        return E_POINTER;
    *ppv = nullptr;
    if (pUnkOuter)
        return CLASS_E_NOAGGREGATION;
    ComClassCreator pfnCreate = nullptr;
    {
        CClassTable& table = Classes();
        std::lock_guard lock(table.mutex);
        auto it = table.creators.find(rclsid);
        if (it == table.creators.end())
            return REGDB_E_CLASSNOTREG;
        pfnCreate = it->second;
    }
    return pfnCreate(riid, ppv);
}

void RegisterComClass(REFCLSID rclsid, ComClassCreator pfnCreate)
{
    CClassTable& table = Classes();
    std::lock_guard lock(table.mutex);
    table.creators[rclsid] = pfnCreate;
}
