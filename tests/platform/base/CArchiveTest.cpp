#include "platform/base/CArchive.h"

#include "platform/base/CArchiveException.h"
#include "platform/base/CFile.h"
#include "platform/base/CMemFile.h"
#include "tests/platform/base/ArchiveTestClasses.h"
#include "tests/platform/base/ArchiveTestSupport.h"
#include "tests/platform/base/FileTestSupport.h"
#include "tests/support/TempFolder.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

class CArchiveTest : public ::testing::Test {
protected:
    void TearDown() override { CTrackedObject::DeleteAll(); }
};

}

TEST_F(CArchiveTest, ValuesUseTheLittleEndianLayoutAndLoadBack)
{
    std::string strBytes = StoredBytes([](CArchive& ar) {
        ar << static_cast<BYTE>(0x12) << static_cast<WORD>(0x3456) << -2 << static_cast<DWORD>(0x89ABCDEF)
           << static_cast<short>(-3) << 'c' << 1.5f << -2.25 << static_cast<LONGLONG>(-5)
           << static_cast<ULONGLONG>(0x0102030405060708ULL);
    });
    std::string strExpected = std::string("\x12\x56\x34\xFE\xFF\xFF\xFF\xEF\xCD\xAB\x89\xFD\xFF"
                                          "c\x00\x00\xC0\x3F",
                                  18)
        + std::string("\x00\x00\x00\x00\x00\x00\x02\xC0", 8) + std::string("\xFB\xFF\xFF\xFF\xFF\xFF\xFF\xFF", 8)
        + std::string("\x08\x07\x06\x05\x04\x03\x02\x01", 8);
    EXPECT_EQ(strBytes, strExpected);

    CLoadingArchive loading(strBytes);
    BYTE by = 0;
    WORD w = 0;
    int i = 0;
    DWORD dw = 0;
    short s = 0;
    char ch = 0;
    float f = 0;
    double d = 0;
    LONGLONG n = 0;
    ULONGLONG u = 0;
    loading.Ar() >> by >> w >> i >> dw >> s >> ch >> f >> d >> n >> u;
    EXPECT_EQ(by, 0x12);
    EXPECT_EQ(w, 0x3456);
    EXPECT_EQ(i, -2);
    EXPECT_EQ(dw, 0x89ABCDEFu);
    EXPECT_EQ(s, -3);
    EXPECT_EQ(ch, 'c');
    EXPECT_EQ(f, 1.5f);
    EXPECT_EQ(d, -2.25);
    EXPECT_EQ(n, -5);
    EXPECT_EQ(u, 0x0102030405060708ULL);
    EXPECT_EQ(ThrownCause<CArchiveException>([&] { loading.Ar() >> by; }), CArchiveException::endOfFile);
}

TEST_F(CArchiveTest, StringLengthsChangeFormAtTheDocumentedBounds)
{
    struct Case {
        int nLength;
        std::string strPrefix;
    };
    std::vector<Case> cases = {
        { 0, std::string("\x00", 1) },
        { 254, "\xFE" },
        { 255, "\xFF" + Le16(255) },
        { 0xFFFD, "\xFF" + Le16(0xFFFD) },
        { 0xFFFE, "\xFF" + Le16(0xFFFF) + Le32(0xFFFE) },
        { 70000, "\xFF" + Le16(0xFFFF) + Le32(70000) },
    };
    for (const Case& c : cases) {
        CString str(std::string(static_cast<size_t>(c.nLength), 'q').c_str());
        std::string strBytes = StoredBytes([&](CArchive& ar) { ar << str; });
        ASSERT_EQ(strBytes.size(), c.strPrefix.size() + static_cast<size_t>(c.nLength)) << c.nLength;
        EXPECT_EQ(strBytes.substr(0, c.strPrefix.size()), c.strPrefix) << c.nLength;
        CLoadingArchive loading(strBytes);
        CString strLoaded;
        loading.Ar() >> strLoaded;
        EXPECT_EQ(strLoaded.GetLength(), c.nLength);
        EXPECT_TRUE(strLoaded == str);
    }
}

TEST_F(CArchiveTest, TextIsStoredAsUtf8AndUtf16TextLoadsConverted)
{
    std::string strBytes = StoredBytes([](CArchive& ar) { ar << CString("Grüße"); });
    EXPECT_EQ(strBytes, "\x07Grüße");

    // 0xFF 0xFFFE marks UTF-16: "hé" and a surrogate pair (U+1F600), then an unpaired surrogate.
    std::string strUtf16
        = "\xFF" + Le16(0xFFFE) + "\x05" + Le16('h') + Le16(0xE9) + Le16(0xD83D) + Le16(0xDE00) + Le16(0xD800);
    CLoadingArchive loading(strUtf16);
    CString str;
    loading.Ar() >> str;
    EXPECT_STREQ(str, "hé\xF0\x9F\x98\x80\xEF\xBF\xBD");
}

TEST_F(CArchiveTest, ObjectsUseTheTagLayoutAndKeepTheirIdentity)
{
    auto* pA = new CTestNode(1, "a");
    auto* pB = new CTestNode(2, "b");
    pA->m_pLink = pB;
    pB->m_pLink = pA;
    std::string strBytes = StoredBytes([&](CArchive& ar) { ar << pA << pB << static_cast<CObject*>(nullptr); });
    // Class 1, object A 2, object B 3 (a new object of class 1: tag 0x8001).
    std::string strExpected = NewClassRecord("CTestNode", 1) + Le32(1)
        + "\x01"
          "a"
        + Le16(0x8001) + Le32(2)
        + "\x01"
          "b"
        + Le16(2) + Le16(3) + Le16(0);
    EXPECT_EQ(strBytes, strExpected);

    CLoadingArchive loading(strBytes);
    CTestNode* pLoadedA = nullptr;
    CTestNode* pLoadedB = nullptr;
    CObject* pNull = reinterpret_cast<CObject*>(1);
    loading.Ar() >> pLoadedA >> pLoadedB >> pNull;
    ASSERT_NE(pLoadedA, nullptr);
    EXPECT_EQ(pLoadedA->m_nValue, 1);
    EXPECT_STREQ(pLoadedA->m_strName, "a");
    EXPECT_EQ(pLoadedA->m_pLink, pLoadedB);
    EXPECT_EQ(pLoadedB->m_pLink, pLoadedA);
    EXPECT_STREQ(pLoadedB->m_strName, "b");
    EXPECT_EQ(pNull, nullptr);
}

TEST_F(CArchiveTest, LargeIndexesUseTheBigTags)
{
    constexpr int OBJECT_COUNT = 0x8000; // object indexes 2 .. 0x8001
    std::vector<CTestNode*> nodes;
    for (int i = 0; i < OBJECT_COUNT; ++i)
        nodes.push_back(new CTestNode(i, ""));
    auto* pLeaf = new CTestLeaf;
    auto* pSecondLeaf = new CTestLeaf;
    std::string strBytes = StoredBytes([&](CArchive& ar) {
        for (CTestNode* pNode : nodes)
            ar << pNode;
        ar << pLeaf << pSecondLeaf << nodes.front() << nodes.back();
    });
    // The leaf class took index 0x8002 and the first leaf 0x8003; the second leaf's
    // class reference and the last node's index no longer fit a WORD.
    std::string strTail = Le16(0x7FFF) + Le32(0x80008002) + Le32(0) + std::string(1, '\0') + Le16(0) + Le16(2)
        + Le16(0x7FFF) + Le32(0x8001);
    ASSERT_GT(strBytes.size(), strTail.size());
    EXPECT_EQ(strBytes.substr(strBytes.size() - strTail.size()), strTail);

    CLoadingArchive loading(strBytes);
    std::vector<CObject*> loaded;
    for (int i = 0; i < OBJECT_COUNT + 4; ++i) {
        CObject* pOb = nullptr;
        loading.Ar() >> pOb;
        loaded.push_back(pOb);
    }
    EXPECT_TRUE(loaded[OBJECT_COUNT]->IsKindOf(RUNTIME_CLASS(CTestLeaf)));
    EXPECT_TRUE(loaded[OBJECT_COUNT + 1]->IsKindOf(RUNTIME_CLASS(CTestLeaf)));
    EXPECT_NE(loaded[OBJECT_COUNT], loaded[OBJECT_COUNT + 1]);
    EXPECT_EQ(loaded[OBJECT_COUNT + 2], loaded.front());
    EXPECT_EQ(loaded[OBJECT_COUNT + 3], loaded[OBJECT_COUNT - 1]);
    EXPECT_EQ(static_cast<CTestNode*>(loaded[OBJECT_COUNT - 1])->m_nValue, OBJECT_COUNT - 1);
}

TEST_F(CArchiveTest, VersionableClassesLoadOlderSchemas)
{
    // Schema 1 stored only the value.
    CLoadingArchive old(NewClassRecord("CVersionedNode", 1) + Le32(7));
    CObject* pOb = old.Ar().ReadObject(RUNTIME_CLASS(CVersionedNode));
    auto* pOld = static_cast<CVersionedNode*>(pOb);
    EXPECT_EQ(pOld->m_nLoadedSchema, 1u);
    EXPECT_EQ(pOld->m_nValue, 7);
    EXPECT_EQ(pOld->m_nExtra, -1);
    // The schema was handed out once.
    EXPECT_EQ(old.Ar().GetObjectSchema(), static_cast<UINT>(-1));

    CVersionedNode current;
    current.m_nValue = 8;
    current.m_nExtra = 9;
    std::string strBytes = StoredBytes([&](CArchive& ar) { ar << &current; });
    EXPECT_EQ(strBytes.substr(0, 6), Le16(0xFFFF) + Le16(2) + Le16(14)); // the version flag is not stored
    CLoadingArchive loading(strBytes);
    auto* pLoaded = static_cast<CVersionedNode*>(loading.Ar().ReadObject(nullptr));
    EXPECT_EQ(pLoaded->m_nLoadedSchema, 2u);
    EXPECT_EQ(pLoaded->m_nExtra, 9);
}

TEST_F(CArchiveTest, RuntimeClassRecordsStoreAndLoad)
{
    std::string strBytes = StoredBytes([](CArchive& ar) { RUNTIME_CLASS(CTestNode)->Store(ar); });
    EXPECT_EQ(strBytes, Le16(1) + Le16(9) + "CTestNode");
    {
        CLoadingArchive loading(strBytes);
        UINT nSchema = 0;
        EXPECT_EQ(CRuntimeClass::Load(loading.Ar(), &nSchema), RUNTIME_CLASS(CTestNode));
        EXPECT_EQ(nSchema, 1u);
    }
    {
        CLoadingArchive loading(Le16(3) + Le16(9) + "CTestNode");
        UINT nSchema = 0;
        EXPECT_EQ(CRuntimeClass::Load(loading.Ar(), &nSchema), nullptr);
        EXPECT_EQ(nSchema, 3u);
    }
    {
        CLoadingArchive loading(Le16(1) + Le16(9) + "CNotThere");
        UINT nSchema = 0;
        EXPECT_EQ(CRuntimeClass::Load(loading.Ar(), &nSchema), nullptr);
    }
}

TEST_F(CArchiveTest, TextLinesAndRawBytes)
{
    std::string strBytes = StoredBytes([](CArchive& ar) {
        ar.WriteString("first\r\nsecond\n");
        ar.Write("raw", 3);
        ar.WriteString(nullptr);
    });
    EXPECT_EQ(strBytes, "first\r\nsecond\nraw");
    CLoadingArchive loading(strBytes);
    CString strLine;
    ASSERT_TRUE(loading.Ar().ReadString(strLine));
    EXPECT_STREQ(strLine, "first");
    char szLine[16];
    ASSERT_NE(loading.Ar().ReadString(szLine, 15), nullptr);
    EXPECT_STREQ(szLine, "second\n");
    char raw[8] {};
    EXPECT_EQ(loading.Ar().Read(raw, sizeof(raw)), 3u); // short at the end, no exception
    EXPECT_STREQ(raw, "raw");
    EXPECT_FALSE(loading.Ar().ReadString(strLine));
    EXPECT_EQ(loading.Ar().ReadString(szLine, 15), nullptr);
}

TEST_F(CArchiveTest, LoadingFlushPutsTheFileWhereReadingStands)
{
    CLoadingArchive loading("0123456789");
    BYTE by = 0;
    loading.Ar() >> by;
    EXPECT_EQ(loading.File().GetPosition(), 10u); // read ahead
    loading.Ar().Flush();
    EXPECT_EQ(loading.File().GetPosition(), 1u);
    loading.Ar() >> by;
    EXPECT_EQ(by, '1');
}

TEST_F(CArchiveTest, StoresThroughAFileWithASmallBuffer)
{
    TempFolder folder;
    std::string strPath = ProgramPathOf(folder / "data.bin");
    {
        CFile file(strPath.c_str(), CFile::modeCreate | CFile::modeWrite);
        CArchive ar(&file, CArchive::store, 16); // raised to the minimum size
        for (int i = 0; i < 1000; ++i)
            ar << i;
        ar << CString(std::string(300, 'z').c_str());
        // The destructor flushes what is still buffered.
    }
    EXPECT_EQ(std::filesystem::file_size(folder / "data.bin"), 4000u + 3 + 300);
    CFile file(strPath.c_str(), CFile::modeRead);
    CArchive ar(&file, CArchive::load, 16);
    for (int i = 0; i < 1000; ++i) {
        int n = -1;
        ar >> n;
        ASSERT_EQ(n, i);
    }
    CString str;
    ar >> str;
    EXPECT_EQ(str.GetLength(), 300);
}

TEST_F(CArchiveTest, NoFlushOnDeleteDropsWhatIsBuffered)
{
    CMemFile file;
    {
        CArchive ar(&file, CArchive::store | CArchive::bNoFlushOnDelete);
        ar << 42;
    }
    EXPECT_EQ(file.GetLength(), 0u);
}
