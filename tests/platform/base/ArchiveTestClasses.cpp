#include "tests/platform/base/ArchiveTestClasses.h"

IMPLEMENT_SERIAL(CTestNode, CObject, 1)
IMPLEMENT_SERIAL(CTestLeaf, CTestNode, 1)
IMPLEMENT_SERIAL(CVersionedNode, CObject, VERSIONABLE_SCHEMA | 2)

std::set<CTrackedObject*>& CTrackedObject::Live()
{
    static std::set<CTrackedObject*> s_live;
    return s_live;
}

void CTrackedObject::DeleteAll()
{
    while (!Live().empty())
        delete *Live().begin();
}

void CTestNode::Serialize(CArchive& ar)
{
    if (ar.IsStoring()) {
        ar << m_nValue << m_strName << m_pLink;
    } else {
        ar >> m_nValue >> m_strName >> m_pLink;
    }
}

void CVersionedNode::Serialize(CArchive& ar)
{
    if (ar.IsStoring()) {
        ar << m_nValue << m_nExtra;
        return;
    }
    m_nLoadedSchema = ar.GetObjectSchema();
    ar >> m_nValue;
    if (m_nLoadedSchema >= 2)
        ar >> m_nExtra;
}
