#include "platform/base/CException.h"

#include "platform/base/CArchiveException.h"
#include "platform/base/CFileException.h"
#include "platform/base/WinError.h"
#include "tests/platform/base/FileTestSupport.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

TEST(CExceptionTest, ThrowOsErrorThrowsOnlyForErrors)
{
    EXPECT_NO_THROW(CFileException::ThrowOsError(0, "C:\\a.txt"));
    try {
        CFileException::ThrowOsError(static_cast<LONG>(ERROR_SHARING_VIOLATION), "C:\\a.txt");
        FAIL() << "nothing thrown";
    } catch (CException* pException) {
        // Handlers catch the base pointer and find out the kind at run time.
        ASSERT_TRUE(pException->IsKindOf(RUNTIME_CLASS(CFileException)));
        auto* pFileException = static_cast<CFileException*>(pException);
        EXPECT_EQ(pFileException->m_cause, CFileException::sharingViolation);
        EXPECT_EQ(pFileException->m_lOsError, static_cast<LONG>(ERROR_SHARING_VIOLATION));
        EXPECT_STREQ(pFileException->m_strFileName, "C:\\a.txt");
        pException->Delete();
    }
    EXPECT_EQ(ThrownCause<CArchiveException>([] { AfxThrowArchiveException(CArchiveException::badSchema); }),
        CArchiveException::badSchema);
}

TEST(CExceptionTest, MessagesNameTheFileAndAreCutAtCharacterBoundaries)
{
    CFileException exception(
        CFileException::fileNotFound, static_cast<LONG>(ERROR_FILE_NOT_FOUND), "C:\\Dokumente\\Bücher\\Übersicht.txt");
    char szMessage[256];
    UINT nHelp = 99;
    ASSERT_TRUE(exception.GetErrorMessage(szMessage, sizeof(szMessage), &nHelp));
    EXPECT_EQ(nHelp, 0u);
    std::string strFull = szMessage;
    EXPECT_NE(strFull.find("C:\\Dokumente\\Bücher\\Übersicht.txt"), std::string::npos);

    // Every cut is a prefix of the full text that ends on a whole character.
    for (UINT nMax = 1; nMax <= strFull.size() + 1; ++nMax) {
        char szCut[256];
        std::memset(szCut, 'x', sizeof(szCut));
        ASSERT_TRUE(exception.GetErrorMessage(szCut, nMax));
        std::string strCut = szCut;
        ASSERT_LT(strCut.size(), nMax);
        EXPECT_EQ(strFull.compare(0, strCut.size(), strCut), 0);
        if (strCut.size() < strFull.size()) {
            EXPECT_NE(static_cast<unsigned char>(strFull[strCut.size()]) & 0xC0, 0x80) << "cut inside a character";
        }
    }

    CArchiveException unnamed(CArchiveException::endOfFile);
    ASSERT_TRUE(unnamed.GetErrorMessage(szMessage, sizeof(szMessage)));
    EXPECT_NE(std::string(szMessage).find("an unnamed file"), std::string::npos);
    // Out-of-range causes still describe something.
    CArchiveException odd(1234, "C:\\x");
    EXPECT_TRUE(odd.GetErrorMessage(szMessage, sizeof(szMessage)));
}

TEST(CExceptionTest, BaseHasNoMessageAndMemoryExceptionIsNeverFreed)
{
    CException base;
    char szMessage[16] = "junk";
    EXPECT_FALSE(base.GetErrorMessage(szMessage, sizeof(szMessage)));
    EXPECT_STREQ(szMessage, "");

    CMemoryException* pFirst = nullptr;
    try {
        AfxThrowMemoryException();
    } catch (CMemoryException* pException) {
        pFirst = pException;
        EXPECT_TRUE(pException->GetErrorMessage(szMessage, sizeof(szMessage)));
        pException->Delete();
    }
    // Delete left the preallocated object alive: the next throw hands out the same one.
    try {
        AfxThrowMemoryException();
    } catch (CException* pException) {
        EXPECT_EQ(pException, pFirst);
        EXPECT_TRUE(pException->IsKindOf(RUNTIME_CLASS(CMemoryException)));
        pException->Delete();
    }
}
