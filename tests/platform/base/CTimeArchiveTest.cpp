#include "platform/base/CTime.h"

#include "ArchiveTestSupport.h"
#include "platform/base/CArchiveException.h"

#include <gtest/gtest.h>

// CTime and CTimeSpan in archives: 32-bit little-endian seconds.

TEST(CTimeArchiveTest, StoresThirtyTwoBitSecondsAndLoadsThemBack)
{
    std::string strBytes
        = StoredBytes([](CArchive& ar) { ar << CTime(0x12345678) << CTimeSpan(-2) << CTime(0x7FFFFFFF); });
    EXPECT_EQ(strBytes, Le32(0x12345678) + Le32(0xFFFFFFFE) + Le32(0x7FFFFFFF));

    CLoadingArchive loading(strBytes);
    CTime time;
    CTimeSpan span;
    CTime last;
    loading.Ar() >> time >> span >> last;
    EXPECT_EQ(time, CTime(0x12345678));
    EXPECT_EQ(span, CTimeSpan(-2));
    EXPECT_EQ(last, CTime(0x7FFFFFFF));
}

TEST(CTimeArchiveTest, RefusesToStoreATimeThatDoesNotFit)
{
    for (LONGLONG nTime : { 0x80000000LL, -0x80000001LL }) {
        CMemFile file;
        CArchive ar(&file, CArchive::store);
        int nCause = CArchiveException::none;
        try {
            ar << CTime(nTime);
        } catch (CArchiveException* e) {
            nCause = e->m_cause;
            e->Delete();
        }
        EXPECT_EQ(nCause, CArchiveException::genericException) << nTime;
        ar.Close();
        EXPECT_EQ(file.GetLength(), 0u) << "nothing is written for a refused time";
    }
}

TEST(CTimeArchiveTest, LoadingPastTheEndThrowsEndOfFile)
{
    CLoadingArchive loading(Le16(0x1234));
    CTime time(5);
    int nCause = CArchiveException::none;
    try {
        loading.Ar() >> time;
    } catch (CArchiveException* e) {
        nCause = e->m_cause;
        e->Delete();
    }
    EXPECT_EQ(nCause, CArchiveException::endOfFile);
    EXPECT_EQ(time, CTime(5));
}
