#pragma once

// A base for objects that implement one interface (and IUnknown): reference
// counting that any thread may use, and QueryInterface. An object starts with
// one reference, its creator's; the last Release deletes it. Derived classes
// are made with new and answer further interfaces through QueryOther.

#include "platform/base/Com.h"

#include <atomic>

template<typename Interface> class CComObject : public Interface {
public:
    HRESULT QueryInterface(REFIID riid, void** ppvObject) override
    {
        if (!ppvObject)
            return E_POINTER;
        *ppvObject = riid == IID_IUnknown || riid == m_iid ? static_cast<Interface*>(this) : QueryOther(riid);
        if (!*ppvObject)
            return E_NOINTERFACE;
        this->AddRef();
        return S_OK;
    }
    ULONG AddRef() override { return ++m_nRefs; }
    ULONG Release() override
    {
        ULONG nRefs = --m_nRefs;
        if (nRefs == 0)
            delete this;
        return nRefs;
    }

protected:
    explicit CComObject(REFIID iid)
        : m_iid(iid)
    {
    }
    virtual ~CComObject() = default;
    CComObject(const CComObject&) = delete;
    CComObject& operator=(const CComObject&) = delete;

    // The object as another interface it implements, without a reference; nullptr for none.
    virtual void* QueryOther(REFIID) { return nullptr; }

private:
    std::atomic<ULONG> m_nRefs { 1 };
    IID m_iid;
};

// Hands out one interface of a new object made with one reference: the
// object's QueryInterface result, the creator's reference given back.
template<typename Object> HRESULT HandOutComObject(Object* pObject, REFIID riid, void** ppv)
{
    if (!ppv) {
        pObject->Release();
        return E_POINTER;
    }
    HRESULT hr = pObject->QueryInterface(riid, ppv);
    pObject->Release();
    return hr;
}
