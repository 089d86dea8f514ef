#include "platform/base/AfxDebug.h"

#include <cstdarg>
#include <cstdio>
#include <cstdlib>

void AfxAssertFailedLine(LPCSTR lpszExpression, LPCSTR lpszFileName, int nLine)
{
    std::fprintf(stderr, "Assertion failed: %s, file %s, line %d\n", lpszExpression ? lpszExpression : "?",
        lpszFileName ? lpszFileName : "?", nLine);
    std::fflush(stderr);
    std::abort();
}

void AfxAssertValidObject(const CObject* pObject, LPCSTR lpszFileName, int nLine)
{
    if (!pObject)
        AfxAssertFailedLine("ASSERT_VALID of a null pointer", lpszFileName, nLine);
    pObject->AssertValid();
}

void AfxTraceFormat(LPCTSTR lpszFormat, ...)
{
    if (!lpszFormat)
        return;
    va_list args;
    va_start(args, lpszFormat);
    std::vfprintf(stderr, lpszFormat, args);
    va_end(args);
    std::fflush(stderr);
}
