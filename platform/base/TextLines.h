#pragma once

// Line reading shared by the text readers (CStdioFile, CArchive). A line ends at
// "\n" or "\r\n"; a lone "\r" is text. The reader supplies two calls: peek(), the
// next byte (0..255) without consuming it or -1 at the end, and skip(), which
// consumes that byte.

#include "platform/base/WinTypes.h"

#include <string>

// The next line without its line end into strLine; false at the end with nothing read.
template<typename Peek, typename Skip> bool ReadTextLine(Peek peek, Skip skip, std::string& strLine)
{
    strLine.clear();
    int ch = peek();
    if (ch < 0)
        return false;
    for (; ch >= 0; ch = peek()) {
        skip();
        if (ch == '\n')
            break;
        if (ch == '\r' && peek() == '\n') {
            skip();
            break;
        }
        strLine += static_cast<char>(ch);
    }
    return true;
}

// The next line into lpsz (nCapacity bytes, NUL included), ending in "\n" when the
// line end fitted ("\r\n" is stored as "\n"). A longer line goes on at the next call;
// a UTF-8 character is not split between calls unless it alone exceeds the capacity.
// false at the end with nothing read (or no room at all).
template<typename Peek, typename Skip> bool ReadTextLineInto(Peek peek, Skip skip, LPTSTR lpsz, UINT nCapacity)
{
    if (!lpsz || nCapacity == 0)
        return false;
    int ch = peek();
    if (ch < 0)
        return false;
    UINT nStored = 0;
    for (; ch >= 0 && nStored + 1 < nCapacity; ch = peek()) {
        if (ch == '\r') {
            skip();
            if (peek() == '\n') {
                skip();
                lpsz[nStored++] = '\n';
                break;
            }
            lpsz[nStored++] = '\r';
            continue;
        }
        UINT nLength = (ch & 0xE0) == 0xC0 ? 2 : (ch & 0xF0) == 0xE0 ? 3 : (ch & 0xF8) == 0xF0 ? 4 : 1;
        if (nStored > 0 && nStored + nLength >= nCapacity)
            break;
        skip();
        lpsz[nStored++] = static_cast<char>(ch);
        if (ch == '\n')
            break;
    }
    lpsz[nStored] = '\0';
    return true;
}
