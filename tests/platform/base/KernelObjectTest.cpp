#include "platform/base/KernelObject.h"

#include <gtest/gtest.h>

namespace {

class CCountedObject : public CKernelObject {
public:
    explicit CCountedObject(int& nLive)
        : m_nLive(nLive)
    {
        ++m_nLive;
    }
    ~CCountedObject() override { --m_nLive; }

private:
    int& m_nLive;
};

class COtherObject : public CKernelObject { };

}

TEST(KernelObjectTest, ObjectLivesUntilItsLastHandleCloses)
{
    int nLive = 0;
    HANDLE hFirst = CreateKernelHandle(std::make_shared<CCountedObject>(nLive));
    HANDLE hSecond = nullptr;
    ASSERT_TRUE(
        DuplicateHandle(GetCurrentProcess(), hFirst, GetCurrentProcess(), &hSecond, 0, FALSE, DUPLICATE_SAME_ACCESS));
    EXPECT_NE(hFirst, hSecond);
    EXPECT_TRUE(CloseHandle(hFirst));
    EXPECT_EQ(nLive, 1);
    EXPECT_TRUE(CloseHandle(hSecond));
    EXPECT_EQ(nLive, 0);
}

TEST(KernelObjectTest, StaleForgedAndMistypedHandlesAreRefused)
{
    int nLive = 0;
    HANDLE hHandle = CreateKernelHandle(std::make_shared<CCountedObject>(nLive));
    EXPECT_EQ(LookupKernelHandleAs<COtherObject>(hHandle), nullptr);
    EXPECT_EQ(GetLastError(), ERROR_INVALID_HANDLE);
    EXPECT_NE(LookupKernelHandleAs<CCountedObject>(hHandle), nullptr);
    ASSERT_TRUE(CloseHandle(hHandle));

    SetLastError(ERROR_SUCCESS);
    EXPECT_FALSE(CloseHandle(hHandle));
    EXPECT_EQ(GetLastError(), ERROR_INVALID_HANDLE);
    EXPECT_FALSE(CloseHandle(nullptr));
    EXPECT_FALSE(CloseHandle(INVALID_HANDLE_VALUE));
    EXPECT_FALSE(CloseHandle(reinterpret_cast<HANDLE>(0x1234567)));
}

TEST(KernelObjectTest, AnObjectInUseOutlivesTheCloseOfItsHandle)
{
    int nLive = 0;
    HANDLE hHandle = CreateKernelHandle(std::make_shared<CCountedObject>(nLive));
    auto pInUse = LookupKernelHandle(hHandle);
    ASSERT_TRUE(CloseHandle(hHandle));
    EXPECT_EQ(nLive, 1);
    pInUse.reset();
    EXPECT_EQ(nLive, 0);
}
