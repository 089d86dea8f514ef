// These tests check the release-build forms of the macros, whatever the build.
#ifndef NDEBUG
#    define NDEBUG
#endif
#include "platform/base/AfxDebug.h"

#include <gtest/gtest.h>

TEST(AfxDebugReleaseTest, ChecksEvaluateNothingButVerify)
{
    int nCalls = 0;
    ASSERT(++nCalls == 5);
    CObject* pNothing = nullptr;
    ASSERT_VALID(pNothing);
    ASSERT_KINDOF(CObject, pNothing);
    EXPECT_EQ(nCalls, 0);

    VERIFY(++nCalls == 5);
    EXPECT_EQ(nCalls, 1);
}

TEST(AfxDebugReleaseTest, TraceWritesNothingAndEvaluatesNothing)
{
    int nCalls = 0;
    testing::internal::CaptureStderr();
    TRACE("%d\n", ++nCalls);
    TRACE0("text\n");
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "");
    EXPECT_EQ(nCalls, 0);
}
