#include "platform/base/Com.h"

#include "platform/base/ComObject.h"
#include "platform/base/WinError.h"

#include <gtest/gtest.h>

#include <cstring>

namespace {

const CLSID CLSID_TEST_COUNTER = { 0x12345678, 0x1, 0x2, { 1, 2, 3, 4, 5, 6, 7, 8 } };
const IID IID_TEST_COUNTER = { 0x12345679, 0x1, 0x2, { 1, 2, 3, 4, 5, 6, 7, 8 } };

int g_nLiveObjects = 0;

struct ITestCounter : IUnknown {
protected:
    ~ITestCounter() = default;
};

class CCounter final : public CComObject<ITestCounter> {
public:
    CCounter()
        : CComObject(IID_TEST_COUNTER)
    {
        ++g_nLiveObjects;
    }

private:
    ~CCounter() override { --g_nLiveObjects; }
};

HRESULT CreateCounter(REFIID riid, void** ppv)
{
    return HandOutComObject(new CCounter, riid, ppv);
}

} // namespace

TEST(ComTest, ResultCodesHaveTheirDocumentedValues)
{
    EXPECT_EQ(HRESULT_FROM_WIN32(ERROR_SUCCESS), S_OK);
    EXPECT_EQ(static_cast<DWORD>(HRESULT_FROM_WIN32(ERROR_FILE_NOT_FOUND)), 0x80070002u);
    EXPECT_EQ(HRESULT_FROM_WIN32(87), E_INVALIDARG);
    EXPECT_EQ(HRESULT_CODE(HRESULT_FROM_WIN32(ERROR_BAD_FORMAT)), ERROR_BAD_FORMAT);
    EXPECT_TRUE(SUCCEEDED(S_FALSE));
    EXPECT_TRUE(FAILED(E_FAIL));
    EXPECT_EQ(MAKE_HRESULT(SEVERITY_SUCCESS, 0, 5), 5);
    // The system's identifiers share one family.
    GUID malloc = IID_IMalloc;
    EXPECT_EQ(malloc.Data1, 2u);
    EXPECT_EQ(malloc.Data4[0], 0xC0);
    EXPECT_EQ(malloc.Data4[7], 0x46);
}

TEST(ComTest, TaskAllocatorKnowsItsBlocksAndMixesWithTheFunctions)
{
    LPMALLOC pMalloc = nullptr;
    ASSERT_EQ(SHGetMalloc(&pMalloc), S_OK);
    auto* p = static_cast<char*>(pMalloc->Alloc(11));
    ASSERT_NE(p, nullptr);
    std::strcpy(p, "0123456789");
    EXPECT_EQ(pMalloc->GetSize(p), 11u);
    p = static_cast<char*>(CoTaskMemRealloc(p, 100000));
    ASSERT_NE(p, nullptr);
    EXPECT_STREQ(p, "0123456789") << "realloc keeps the contents";
    EXPECT_EQ(pMalloc->GetSize(p), 100000u);
    pMalloc->Free(p);
    pMalloc->Free(nullptr);
    CoTaskMemFree(nullptr);
    EXPECT_EQ(CoTaskMemAlloc(static_cast<SIZE_T>(-1)), nullptr);
    pMalloc->Release();
}

TEST(ComTest, InitialisationIsCountedPerThread)
{
    EXPECT_EQ(CoInitialize(nullptr), S_OK);
    EXPECT_EQ(OleInitialize(nullptr), S_FALSE);
    OleUninitialize();
    CoUninitialize();
    EXPECT_EQ(CoInitialize(nullptr), S_OK) << "balanced calls start afresh";
    CoUninitialize();
    CoUninitialize(); // one too many does no harm
    EXPECT_EQ(CoInitialize(nullptr), S_OK);
    CoUninitialize();
}

TEST(ComTest, CreatesRegisteredClassesOnly)
{
    IUnknown* pUnknown = nullptr;
    EXPECT_EQ(CoCreateInstance(
                  CLSID_TEST_COUNTER, nullptr, CLSCTX_INPROC_SERVER, IID_IUnknown, reinterpret_cast<void**>(&pUnknown)),
        REGDB_E_CLASSNOTREG);
    EXPECT_EQ(pUnknown, nullptr);

    RegisterComClass(CLSID_TEST_COUNTER, CreateCounter);
    ASSERT_EQ(CoCreateInstance(CLSID_TEST_COUNTER, nullptr, CLSCTX_INPROC_SERVER, IID_TEST_COUNTER,
                  reinterpret_cast<void**>(&pUnknown)),
        S_OK);
    EXPECT_EQ(g_nLiveObjects, 1);
    EXPECT_EQ(pUnknown->Release(), 0u);
    EXPECT_EQ(g_nLiveObjects, 0) << "the last release deletes the object";

    EXPECT_EQ(CoCreateInstance(
                  CLSID_TEST_COUNTER, nullptr, CLSCTX_INPROC_SERVER, IID_IMalloc, reinterpret_cast<void**>(&pUnknown)),
        E_NOINTERFACE);
    EXPECT_EQ(g_nLiveObjects, 0) << "an object that lacks the interface is not leaked";
    EXPECT_EQ(CoCreateInstance(CLSID_TEST_COUNTER, reinterpret_cast<IUnknown*>(&g_nLiveObjects), CLSCTX_INPROC_SERVER,
                  IID_IUnknown, reinterpret_cast<void**>(&pUnknown)),
        CLASS_E_NOAGGREGATION);
}
