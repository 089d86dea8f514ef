#pragma once

// The trace log: one text file ("archiv.log" in the program folder) that the
// program's parts write trace lines into when the command line asked for them.
// The command line's "l" switch carries letters that choose which parts trace;
// each letter is one bit of the log's flag mask, and callers test their bit
// (IsTracing) before they write. Writing never fails for the caller: file
// errors are swallowed, since a trace must never stop the program.
//
// The object is safe to use from several threads; each call writes whole.

#include "platform/base/CString.h"
#include "platform/base/HostFile.h"
#include "platform/base/WinTypes.h"

#include <atomic>
#include <cstdint>
#include <mutex>

// The parts that trace, by their command-line letter.
// clang-format off
constexpr DWORD LOG_WEB_ACCESS = 0x01; // "w": the web access service
constexpr DWORD LOG_UPDATE     = 0x02; // "u": the catalog update engine
constexpr DWORD LOG_SENTINEL   = 0x04; // "s": the new-document monitor
constexpr DWORD LOG_ALL        = 0xFF; // The "l" switch without letters
// clang-format on

class CLogFile {
public:
    // The longest text one Printf call writes, in bytes; longer output is cut
    // at a character boundary.
    static constexpr int MAX_PRINTF_CHARS = 512;

    CLogFile() = default;
    ~CLogFile();
    CLogFile(const CLogFile&) = delete;
    CLogFile& operator=(const CLogFile&) = delete;

    // The flag mask of the letters that follow the "l" switch: "s", "u" and
    // "w" (either case) set their bits; other letters are ignored; no letter
    // at all gives LOG_ALL.
    static DWORD MaskFromLetters(LPCTSTR pszLetters);

    // Keeps the mask and, when it is not 0, creates (or empties) the log file
    // at the program path and writes the "Begin log" line with the system's
    // version. With mask 0 no file is made.
    void Begin(LPCTSTR pszPath, DWORD dwMask);
    // Writes "\nEnd log" and closes the file.
    void End();

    DWORD GetMask() const { return m_dwMask; }
    // Whether the part of dwFlag was asked to trace.
    BOOL IsTracing(DWORD dwFlag) const { return (m_dwMask & dwFlag) != 0 ? TRUE : FALSE; }

    // Writes printf-style output (at most MAX_PRINTF_CHARS bytes; the format
    // carries its own line end) and flushes it.
    void Printf(LPCTSTR pszFormat, ...) __attribute__((format(printf, 2, 3)));
    // Writes a text as it is and flushes it.
    void Write(LPCTSTR pszText);

private:
    void WriteLocked(const char* pData, size_t nLength);

    std::mutex m_mutex;
    CHostFile m_file;          // open between Begin with a mask and End
    std::int64_t m_nEnd { 0 }; // where the next write goes
    std::atomic<DWORD> m_dwMask { 0 };
};

// The program's trace log. It lives in a namespace only so that its symbol is
// not the plain "g_log" of GLib's logging function, which the drawing
// libraries bring into the same process; code names it g_log as usual.
namespace archivora {
extern CLogFile g_log;
}
using archivora::g_log;
