#include "platform/base/CArchive.h"

#include "platform/base/CArchiveException.h"
#include "tests/platform/base/ArchiveTestClasses.h"
#include "tests/platform/base/ArchiveTestSupport.h"
#include "tests/platform/base/FileTestSupport.h"

#include <gtest/gtest.h>

#include <string>

namespace {

class CArchiveCorruptTest : public ::testing::Test {
protected:
    void TearDown() override { CTrackedObject::DeleteAll(); }

    // The cause of the CArchiveException that loading one object from the bytes throws.
    static int LoadCause(const std::string& strBytes, const CRuntimeClass* pRequested = nullptr)
    {
        CLoadingArchive loading(strBytes);
        return ThrownCause<CArchiveException>([&] { loading.Ar().ReadObject(pRequested); });
    }

    // A node's data: value, empty name, then the link's tag.
    static std::string NodeData(const std::string& strLinkTag) { return Le32(5) + std::string(1, '\0') + strLinkTag; }
};

}

TEST_F(CArchiveCorruptTest, UnknownUnstorableOrMisnamedClassesAreBadClass)
{
    EXPECT_EQ(LoadCause(NewClassRecord("CNoSuchClass", 1) + NodeData(Le16(0))), CArchiveException::badClass);
    // Registered, but not serializable.
    EXPECT_EQ(LoadCause(NewClassRecord("CObject", 0xFFFF)), CArchiveException::badClass);
    EXPECT_EQ(LoadCause(NewClassRecord("CFile", 0xFFFF)), CArchiveException::badClass);
    // Names of 64 bytes or more, and names with a NUL inside.
    EXPECT_EQ(LoadCause(NewClassRecord(std::string(64, 'C'), 1)), CArchiveException::badClass);
    EXPECT_EQ(LoadCause(NewClassRecord(std::string("CTestNode\0x", 11), 1)), CArchiveException::badClass);
}

TEST_F(CArchiveCorruptTest, WrongSchemaOfAFixedClassIsBadSchema)
{
    EXPECT_EQ(LoadCause(NewClassRecord("CTestNode", 2) + NodeData(Le16(0))), CArchiveException::badSchema);
    EXPECT_EQ(LoadCause(NewClassRecord("CTestNode", 0) + NodeData(Le16(0))), CArchiveException::badSchema);
}

TEST_F(CArchiveCorruptTest, IndexesNamingNothingOrTheWrongKindAreBadIndex)
{
    std::string strClass = NewClassRecord("CTestNode", 1);
    // The first node's link names: an object index past the end; the class (index 1)
    // as an object; itself (index 2) is fine.
    EXPECT_EQ(LoadCause(strClass + NodeData(Le16(3))), CArchiveException::badIndex);
    EXPECT_EQ(LoadCause(strClass + NodeData(Le16(1))), CArchiveException::badIndex);
    EXPECT_EQ(LoadCause(strClass + NodeData(Le16(2))), NOTHING_THROWN);
    // Class indexes: 0, past the end, an object's index.
    EXPECT_EQ(LoadCause(strClass + NodeData(Le16(0x8000))), CArchiveException::badIndex);
    EXPECT_EQ(LoadCause(strClass + NodeData(Le16(0x8005))), CArchiveException::badIndex);
    EXPECT_EQ(LoadCause(strClass + NodeData(Le16(0x8002))), CArchiveException::badIndex);
    // The same through the big tag.
    EXPECT_EQ(LoadCause(strClass + NodeData(Le16(0x7FFF) + Le32(0x00123456))), CArchiveException::badIndex);
    EXPECT_EQ(LoadCause(strClass + NodeData(Le16(0x7FFF) + Le32(0x00000001))), CArchiveException::badIndex);
    EXPECT_EQ(LoadCause(strClass + NodeData(Le16(0x7FFF) + Le32(0xFFFFFFFF))), CArchiveException::badIndex);
    // Any object tag where a class must come.
    CLoadingArchive loading(Le16(3));
    EXPECT_EQ(ThrownCause<CArchiveException>([&] { loading.Ar().ReadClass(); }), CArchiveException::badIndex);
}

TEST_F(CArchiveCorruptTest, ObjectsOfTheWrongKindAreBadClass)
{
    std::string strVersioned = NewClassRecord("CVersionedNode", 2) + Le32(1) + Le32(2);
    EXPECT_EQ(LoadCause(strVersioned, RUNTIME_CLASS(CTestNode)), CArchiveException::badClass);
    // A derived class is the kind asked for.
    EXPECT_EQ(LoadCause(NewClassRecord("CTestLeaf", 1) + NodeData(Le16(0)), RUNTIME_CLASS(CTestNode)), NOTHING_THROWN);
    // A node whose link (read as CTestNode*) refers back to an object of another class.
    std::string strBytes = strVersioned + NewClassRecord("CTestNode", 1) + NodeData(Le16(2));
    CLoadingArchive loading(strBytes);
    EXPECT_NE(loading.Ar().ReadObject(nullptr), nullptr);
    EXPECT_EQ(ThrownCause<CArchiveException>([&] { loading.Ar().ReadObject(nullptr); }), CArchiveException::badClass);
}

TEST_F(CArchiveCorruptTest, DeepNestingIsRefusedBeforeTheStackRunsOut)
{
    // Each node links to a new node of the same class: 0x8001 then the node's data.
    std::string strBytes = NewClassRecord("CTestNode", 1);
    for (int i = 0; i < 100000; ++i)
        strBytes += Le32(5) + std::string(1, '\0') + Le16(0x8001);
    strBytes += Le32(5) + std::string(1, '\0') + Le16(0);
    EXPECT_EQ(LoadCause(strBytes), CArchiveException::genericException);

    // A shallow chain loads.
    std::string strShallow = NewClassRecord("CTestNode", 1);
    for (int i = 0; i < 100; ++i)
        strShallow += Le32(5) + std::string(1, '\0') + Le16(0x8001);
    strShallow += Le32(5) + std::string(1, '\0') + Le16(0);
    EXPECT_EQ(LoadCause(strShallow), NOTHING_THROWN);
}

TEST_F(CArchiveCorruptTest, EveryTruncationEndsInEndOfFile)
{
    auto* pA = new CTestNode(1, "first node");
    auto* pB = new CTestLeaf;
    pB->m_strName = CString(std::string(400, 'n').c_str());
    pA->m_pLink = pB;
    pB->m_pLink = pA;
    std::string strBytes = StoredBytes([&](CArchive& ar) { ar << pA << CString("trailer") << 1.0; });
    for (size_t nLength = 0; nLength < strBytes.size(); ++nLength) {
        CLoadingArchive loading(strBytes.substr(0, nLength));
        int nCause = ThrownCause<CArchiveException>([&] {
            CObject* pOb = nullptr;
            CString str;
            double d = 0;
            loading.Ar() >> pOb >> str >> d;
        });
        ASSERT_EQ(nCause, CArchiveException::endOfFile) << "cut at " << nLength;
    }
}

TEST_F(CArchiveCorruptTest, DamagedStringLengthsFailWithoutHugeAllocations)
{
    CString str;
    {
        // Claims 4 GB - 2 bytes, holds three.
        CLoadingArchive loading("\xFF" + Le16(0xFFFF) + Le32(0xFFFFFFFE) + "abc");
        EXPECT_EQ(ThrownCause<CArchiveException>([&] { loading.Ar() >> str; }), CArchiveException::genericException);
    }
    {
        CLoadingArchive loading("\xFF" + Le16(0xFFFF) + Le32(0x7FFFFFFF) + "abc");
        EXPECT_EQ(ThrownCause<CArchiveException>([&] { loading.Ar() >> str; }), CArchiveException::endOfFile);
    }
    {
        // The 64-bit length form.
        CLoadingArchive loading("\xFF" + Le16(0xFFFF) + Le32(0xFFFFFFFF) + Le32(3) + Le32(0) + "abc");
        loading.Ar() >> str;
        EXPECT_STREQ(str, "abc");
    }
    {
        CLoadingArchive loading("\xFF" + Le16(0xFFFF) + Le32(0xFFFFFFFF) + Le32(0) + Le32(1));
        EXPECT_EQ(ThrownCause<CArchiveException>([&] { loading.Ar() >> str; }), CArchiveException::genericException);
    }
    {
        // UTF-16 whose length doubles past the limit.
        CLoadingArchive loading("\xFF" + Le16(0xFFFE) + "\xFF" + Le16(0xFFFF) + Le32(0x40000000));
        EXPECT_EQ(ThrownCause<CArchiveException>([&] { loading.Ar() >> str; }), CArchiveException::genericException);
    }
}
