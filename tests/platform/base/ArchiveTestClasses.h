#pragma once

// Serializable classes for the archive tests. Every instance is counted in a live
// set, so that a test can free what a failed load left behind.

#include "platform/base/CArchive.h"
#include "platform/base/CObject.h"
#include "platform/base/CString.h"

#include <set>

class CTrackedObject : public CObject {
public:
    CTrackedObject() { Live().insert(this); }
    ~CTrackedObject() override { Live().erase(this); }

    static std::set<CTrackedObject*>& Live();
    // Deletes every instance still alive.
    static void DeleteAll();
};

// A node with a value, a name and a non-owning link to another object.
class CTestNode : public CTrackedObject {
    DECLARE_SERIAL(CTestNode)

public:
    CTestNode() = default;
    CTestNode(int nValue, const char* pszName)
        : m_nValue(nValue)
        , m_strName(pszName)
    {
    }

    void Serialize(CArchive& ar) override;

    int m_nValue { 0 };
    CString m_strName;
    CTestNode* m_pLink { nullptr };
};

// A class that derives from CTestNode, for kind checks.
class CTestLeaf : public CTestNode {
    DECLARE_SERIAL(CTestLeaf)
};

// A versionable class at schema 2; schema 1 stored no extra value.
class CVersionedNode : public CTrackedObject {
    DECLARE_SERIAL(CVersionedNode)

public:
    void Serialize(CArchive& ar) override;

    int m_nValue { 0 };
    int m_nExtra { -1 };
    UINT m_nLoadedSchema { 0 };
};
