#pragma once

// Debug checks and trace output in the class library's shape.
//
// Debug builds (NDEBUG not defined): ASSERT stops the process with the failed
// expression, file and line on stderr; VERIFY asserts; ASSERT_VALID checks that
// an object pointer is not null and calls its AssertValid; ASSERT_KINDOF checks
// an object's run-time class; TRACE writes printf-style text to stderr.
//
// Release builds: the same macros still compile their arguments, so a variable
// used only in a check is not reported as unused, but evaluate none of them,
// with one exception: VERIFY always evaluates its expression.
//
// ASSERT is for our own invariants and callers' programming errors. Bad input
// from outside gets an error status, never an assertion.

#include "platform/base/CObject.h"

#include <type_traits>

// Reports a failed check on stderr and stops the process.
[[noreturn]] void AfxAssertFailedLine(LPCSTR lpszExpression, LPCSTR lpszFileName, int nLine);

// Fails like ASSERT when pObject is null, else runs pObject->AssertValid().
void AfxAssertValidObject(const CObject* pObject, LPCSTR lpszFileName, int nLine);

// Writes printf-style text to stderr. A null format writes nothing.
void AfxTraceFormat(LPCTSTR lpszFormat, ...) __attribute__((format(printf, 1, 2)));

// An argument as printf receives it: objects that convert to a text pointer
// (CString) pass that pointer, everything else passes unchanged.
template<class T> auto AfxPrintfArgument(const T& value)
{
    if constexpr (std::is_class_v<T> && std::is_convertible_v<const T&, LPCTSTR>)
        return static_cast<LPCTSTR>(value);
    else
        return value;
}

// The function behind TRACE; accepts CString arguments for %s directly.
template<class... Args> void AfxTrace(LPCTSTR lpszFormat, const Args&... args)
{
    AfxTraceFormat(lpszFormat, AfxPrintfArgument(args)...);
}

// clang-format off
#ifndef NDEBUG
#    define ASSERT(f) ((f) ? (void)0 : ::AfxAssertFailedLine(#f, __FILE__, __LINE__))
#    define VERIFY(f) ASSERT(f)
#    define ASSERT_VALID(pOb) ::AfxAssertValidObject((pOb), __FILE__, __LINE__)
#    define TRACE ::AfxTrace
#else
#    define ASSERT(f) ((void)sizeof(!(f)))
#    define VERIFY(f) ((void)(f))
#    define ASSERT_VALID(pOb) ((void)sizeof(!(pOb)))
#    define TRACE 1 ? (void)0 : ::AfxTrace
#endif

#define ASSERT_KINDOF(class_name, object) ASSERT((object)->IsKindOf(RUNTIME_CLASS(class_name)))

#define TRACE0(sz) TRACE("%s", sz)
#define TRACE1(sz, p1) TRACE(sz, p1)
#define TRACE2(sz, p1, p2) TRACE(sz, p1, p2)
#define TRACE3(sz, p1, p2, p3) TRACE(sz, p1, p2, p3)
// clang-format on
