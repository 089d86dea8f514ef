#include "platform/base/CObject.h"

#include <gtest/gtest.h>

#include <memory>

class CShape : public CObject {
    DECLARE_DYNAMIC(CShape)
};

class CCircle : public CShape {
    DECLARE_DYNCREATE(CCircle)
};

class CSquare : public CShape {
    DECLARE_DYNAMIC(CSquare)
};

IMPLEMENT_DYNAMIC(CShape, CObject)
IMPLEMENT_DYNCREATE(CCircle, CShape)
IMPLEMENT_DYNAMIC(CSquare, CShape)

TEST(CObjectTest, KindFollowsTheClassChainOnly)
{
    CCircle circle;
    EXPECT_TRUE(circle.IsKindOf(RUNTIME_CLASS(CCircle)));
    EXPECT_TRUE(circle.IsKindOf(RUNTIME_CLASS(CShape)));
    EXPECT_TRUE(circle.IsKindOf(RUNTIME_CLASS(CObject)));
    EXPECT_FALSE(circle.IsKindOf(RUNTIME_CLASS(CSquare)));
    EXPECT_STREQ(circle.GetRuntimeClass()->m_lpszClassName, "CCircle");
}

TEST(CObjectTest, DynamicCreationByRegisteredName)
{
    const CRuntimeClass* pClass = CRuntimeClass::FromName("CCircle");
    ASSERT_EQ(pClass, RUNTIME_CLASS(CCircle));
    std::unique_ptr<CObject> pObject(pClass->CreateObject());
    ASSERT_TRUE(pObject);
    EXPECT_TRUE(pObject->IsKindOf(RUNTIME_CLASS(CCircle)));

    // A class without dynamic creation, and a name nobody registered.
    EXPECT_EQ(RUNTIME_CLASS(CSquare)->CreateObject(), nullptr);
    EXPECT_EQ(CRuntimeClass::FromName("CNoSuchClass"), nullptr);
    EXPECT_EQ(CRuntimeClass::FromName(nullptr), nullptr);
    EXPECT_FALSE(CCircle().IsSerializable());
}
