#include "platform/base/CObject.h"

#include <cstring>
#include <mutex>

namespace {

struct ClassList {
    std::mutex mutex;
    const CRuntimeClass* pFirst { nullptr };
};

ClassList& RegisteredClasses()
{
    static ClassList list;
    return list;
}

}

const CRuntimeClass CObject::classCObject
    = { "CObject", static_cast<int>(sizeof(CObject)), 0xFFFF, nullptr, nullptr, nullptr };
static const AFX_CLASSINIT s_initCObject(RUNTIME_CLASS(CObject));

AFX_CLASSINIT::AFX_CLASSINIT(const CRuntimeClass* pNewClass)
{
    ClassList& list = RegisteredClasses();
    std::lock_guard lock(list.mutex);
    pNewClass->m_pNextClass = list.pFirst;
    list.pFirst = pNewClass;
}

CObject* CRuntimeClass::CreateObject() const
{
    return m_pfnCreateObject ? m_pfnCreateObject() : nullptr;
}

BOOL CRuntimeClass::IsDerivedFrom(const CRuntimeClass* pBaseClass) const
{
    for (const CRuntimeClass* pClass = this; pClass; pClass = pClass->m_pBaseClass) {
        if (pClass == pBaseClass)
            return TRUE;
    }
    return FALSE;
}

const CRuntimeClass* CRuntimeClass::FromName(LPCSTR lpszClassName)
{
    if (!lpszClassName)
        return nullptr;
    ClassList& list = RegisteredClasses();
    std::lock_guard lock(list.mutex);
    for (const CRuntimeClass* pClass = list.pFirst; pClass; pClass = pClass->m_pNextClass) {
        if (std::strcmp(pClass->m_lpszClassName, lpszClassName) == 0)
            return pClass;
    }
    return nullptr;
}

const CRuntimeClass* CObject::GetRuntimeClass() const
{
    return RUNTIME_CLASS(CObject);
}

void CObject::Serialize(CArchive&) { }

BOOL CObject::IsKindOf(const CRuntimeClass* pClass) const
{
    return GetRuntimeClass()->IsDerivedFrom(pClass);
}

BOOL CObject::IsSerializable() const
{
    return GetRuntimeClass()->m_wSchema != 0xFFFF;
}
