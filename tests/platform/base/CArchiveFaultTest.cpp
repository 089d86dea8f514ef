#include "platform/base/CArchive.h"

#include "platform/base/CArchiveException.h"
#include "platform/base/CFile.h"
#include "platform/base/CFileException.h"
#include "platform/base/CMemFile.h"
#include "tests/platform/base/ArchiveTestSupport.h"
#include "tests/platform/base/FileTestSupport.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

TEST(CArchiveFaultTest, CallsInTheWrongDirectionThrow)
{
    CMemFile file;
    CArchive storing(&file, CArchive::store);
    EXPECT_TRUE(storing.IsStoring());
    EXPECT_EQ(storing.GetFile(), &file);
    int i = 0;
    CString str;
    EXPECT_EQ(ThrownCause<CArchiveException>([&] { storing >> i; }), CArchiveException::writeOnly);
    EXPECT_EQ(ThrownCause<CArchiveException>([&] { storing >> str; }), CArchiveException::writeOnly);
    EXPECT_EQ(ThrownCause<CArchiveException>([&] { storing.ReadObject(nullptr); }), CArchiveException::writeOnly);
    storing.Close();
    EXPECT_EQ(storing.GetFile(), nullptr);
    EXPECT_EQ(ThrownCause<CArchiveException>([&] { storing << 1; }), CArchiveException::genericException);

    CLoadingArchive loading("abcd");
    EXPECT_TRUE(loading.Ar().IsLoading());
    EXPECT_EQ(ThrownCause<CArchiveException>([&] { loading.Ar() << 1; }), CArchiveException::readOnly);
    EXPECT_EQ(ThrownCause<CArchiveException>([&] { loading.Ar().WriteString("x"); }), CArchiveException::readOnly);
    // An object of a class that cannot be stored is refused.
    CMemFile notSerializable;
    CMemFile target;
    CArchive ar(&target, CArchive::store);
    EXPECT_EQ(ThrownCause<CArchiveException>([&] { ar << &notSerializable; }), CArchiveException::badClass);
    ar.Abort();
}

TEST(CArchiveFaultTest, FileErrorsArriveAsFileExceptions)
{
    if (!std::filesystem::exists("/dev/full"))
        GTEST_SKIP() << "no /dev/full";
    CFile file;
    ASSERT_TRUE(file.Open(ProgramPathOf("/dev/full").c_str(), CFile::modeWrite | CFile::shareDenyNone));
    {
        CArchive ar(&file, CArchive::store, 128);
        ar << 1 << 2; // buffered, nothing reaches the file yet
        EXPECT_EQ(ThrownCause<CFileException>([&] { ar.Close(); }), CFileException::diskFull);
    }
    {
        // A buffer filling up writes through, and the error surfaces at that call.
        CArchive ar(&file, CArchive::store, 128);
        EXPECT_EQ(ThrownCause<CFileException>([&] {
            for (int i = 0; i < 64; ++i)
                ar << i;
        }),
            CFileException::diskFull);
    }
    {
        // The destructor's flush fails quietly; it must not throw.
        CArchive ar(&file, CArchive::store, 128);
        ar << 1;
    }
}

TEST(CArchiveFaultTest, FailedLoadsLeaveTheArchiveUsableForCleanup)
{
    CLoadingArchive loading(Le16(0x8009));
    EXPECT_EQ(ThrownCause<CArchiveException>([&] { loading.Ar().ReadObject(nullptr); }), CArchiveException::badIndex);
    EXPECT_NO_THROW(loading.Ar().Close());
    EXPECT_EQ(
        ThrownCause<CArchiveException>([&] { loading.Ar().ReadObject(nullptr); }), CArchiveException::genericException);
}
