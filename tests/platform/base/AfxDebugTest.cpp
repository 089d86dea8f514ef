// These tests check the debug-build forms of the macros, whatever the build.
#ifdef NDEBUG
#    undef NDEBUG
#endif
#include "platform/base/AfxDebug.h"

#include "platform/base/CString.h"

#include <gtest/gtest.h>

class CDebugCounter : public CObject {
    DECLARE_DYNAMIC(CDebugCounter)

public:
    void AssertValid() const override { ASSERT(m_nCount >= 0); }

    int m_nCount { 0 };
};

class CDebugOtherObject : public CObject {
    DECLARE_DYNAMIC(CDebugOtherObject)
};

IMPLEMENT_DYNAMIC(CDebugCounter, CObject)
IMPLEMENT_DYNAMIC(CDebugOtherObject, CObject)

TEST(AfxDebugDeathTest, AssertReportsTheExpressionFileAndLine)
{
    int nValue = 1;
    ASSERT(nValue == 1);
    EXPECT_DEATH(ASSERT(nValue == 2), "Assertion failed: nValue == 2, file .*AfxDebugTest\\.cpp, line [0-9]+");
}

TEST(AfxDebugDeathTest, VerifyEvaluatesOnceAndChecks)
{
    int nCalls = 0;
    VERIFY(++nCalls == 1);
    EXPECT_EQ(nCalls, 1);
    EXPECT_DEATH(VERIFY(++nCalls == 5), "Assertion failed: \\+\\+nCalls == 5");
}

TEST(AfxDebugDeathTest, AssertValidRunsTheObjectsOwnCheck)
{
    CDebugCounter counter;
    ASSERT_VALID(&counter);
    counter.m_nCount = -1;
    EXPECT_DEATH(ASSERT_VALID(&counter), "m_nCount >= 0");
    CDebugCounter* pNothing = nullptr;
    EXPECT_DEATH(ASSERT_VALID(pNothing), "null pointer");
}

TEST(AfxDebugDeathTest, AssertKindOfFollowsTheClassChain)
{
    CDebugCounter counter;
    ASSERT_KINDOF(CObject, &counter);
    ASSERT_KINDOF(CDebugCounter, &counter);
    EXPECT_DEATH(ASSERT_KINDOF(CDebugOtherObject, &counter), "IsKindOf");
}

TEST(AfxDebugTest, TraceWritesFormattedTextToStderr)
{
    testing::internal::CaptureStderr();
    TRACE("%d items in %s\n", 3, CString("C:\\docs"));
    TRACE0("plain 100%\n");
    TRACE1("one %s\n", "arg");
    TRACE2("%s%d\n", CString("two"), 2);
    TRACE3("%c%c%c\n", 'a', 'b', 'c');
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "3 items in C:\\docs\nplain 100%\none arg\ntwo2\nabc\n");
}
