#pragma once

// The map from system handles to the class library's objects that wrap them,
// one per thread, as the class library keeps them.
//
// A permanent object is one the program made and attached (Attach,
// SubclassWindow, Create); it stays in the map until it is detached. For a
// handle without one, FromHandle makes a temporary object that lives until
// the thread's idle time (DeleteTemporaries) or the thread's end, so callers
// must not keep pointers to temporary objects. Temporary objects are detached
// before they are deleted, so deleting one never destroys what it wraps.

#include <memory>
#include <unordered_map>
#include <vector>

template<class TObject, class THandle> class CHandleMap {
public:
    // The map of the calling thread.
    static CHandleMap& Current()
    {
        thread_local CHandleMap map;
        return map;
    }

    ~CHandleMap() { DeleteTemporaries(); }

    TObject* LookupPermanent(THandle h) const
    {
        auto it = m_permanent.find(h);
        return it == m_permanent.end() ? nullptr : it->second;
    }
    void SetPermanent(THandle h, TObject* pObject) { m_permanent[h] = pObject; }
    void RemovePermanent(THandle h) { m_permanent.erase(h); }

    // The permanent object, else a temporary one (made now if needed, by
    // `make` when given, so that it can be of a derived class); nullptr for a
    // null handle. With `fits`, a temporary object it refuses (one of another
    // class, made for an earlier caller) is replaced by a new one; the old one
    // lives on until DeleteTemporaries, as its callers may still hold it.
    TObject* FromHandle(THandle h, THandle TObject::*pmHandle, std::unique_ptr<TObject> (*make)(THandle) = nullptr,
        bool (*fits)(const TObject*) = nullptr)
    {
        if (!h)
            return nullptr;
        if (TObject* pObject = LookupPermanent(h))
            return pObject;
        std::unique_ptr<TObject>& pTemporary = m_temporary[h];
        if (pTemporary && fits && !fits(pTemporary.get()))
            m_replaced.push_back(std::move(pTemporary));
        if (!pTemporary) {
            pTemporary = make ? make(h) : std::make_unique<TObject>();
            (*pTemporary).*pmHandle = h;
            m_pmHandle = pmHandle;
        }
        return pTemporary.get();
    }

    void DeleteTemporaries()
    {
        auto temporary = std::move(m_temporary);
        auto replaced = std::move(m_replaced);
        m_temporary.clear();
        m_replaced.clear();
        for (auto& [h, pObject] : temporary)
            (*pObject).*m_pmHandle = nullptr;
        for (auto& pObject : replaced)
            (*pObject).*m_pmHandle = nullptr;
    }

private:
    CHandleMap() = default;

    std::unordered_map<THandle, TObject*> m_permanent;
    std::unordered_map<THandle, std::unique_ptr<TObject>> m_temporary;
    std::vector<std::unique_ptr<TObject>> m_replaced; // temporaries replaced by one of another class
    THandle TObject::*m_pmHandle { nullptr };
};
