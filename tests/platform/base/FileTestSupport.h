#pragma once

// Helpers for the tests of the file classes: program paths into a temporary
// folder, and catching the class library's exceptions (thrown by pointer).

#include "platform/base/CException.h"
#include "platform/base/PathMap.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

// The program path ("C:\tmp\...") of a host path.
inline std::string ProgramPathOf(const std::filesystem::path& hostPath)
{
    return ProgramPathFromHostPath(hostPath.string());
}

inline std::string HostFileContents(const std::filesystem::path& hostPath)
{
    std::ifstream in(hostPath, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

constexpr int NOTHING_THROWN = -100;
constexpr int OTHER_EXCEPTION = -101;

// Runs fn, which should throw an exception of class T; returns its m_cause (or
// NOTHING_THROWN / OTHER_EXCEPTION) and deletes it.
template<typename T, typename Fn> int ThrownCause(Fn fn)
{
    try {
        fn();
    } catch (T* pException) {
        int nCause = pException->m_cause;
        pException->Delete();
        return nCause;
    } catch (CException* pOther) {
        pOther->Delete();
        return OTHER_EXCEPTION;
    }
    return NOTHING_THROWN;
}
