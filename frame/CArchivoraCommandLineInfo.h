#pragma once

// What the program's command line asks: how to start (window, tray icon or
// both) and which trace flags to log with. No file name is ever taken from
// it: every argument that is not one of the switches below is ignored, and
// the shell command stays FileNew.
//
// Switches (after "-" or "/", in any case):
//   ds    start in the tray only: the window stays hidden;
//   ds-   start with the window only: no tray icon;
//   l...  trace: each later "s", "u", "w" adds its letter's flag; with none of
//         them the flags are every flag (255).

#include "platform/framework/CCommandLineInfo.h"

class CArchivoraCommandLineInfo : public CCommandLineInfo {
public:
    /* Start flags. */
    static constexpr DWORD START_SHOW = 0x1;  // show the main window
    static constexpr DWORD START_TRAY = 0x2;  // show the monitor's tray icon
    static constexpr DWORD START_TRACE = 0x4; // a trace switch was given

    /* Trace letters. */
    static constexpr DWORD TRACE_S = 0x4;
    static constexpr DWORD TRACE_U = 0x2;
    static constexpr DWORD TRACE_W = 0x1;
    static constexpr DWORD TRACE_ALL = 255;

    CArchivoraCommandLineInfo() = default;

    void ParseParam(LPCTSTR pszParam, BOOL bFlag, BOOL bLast) override;

    DWORD m_dwStartFlags { START_SHOW | START_TRAY };
    DWORD m_dwTraceLetters { 0 };
};
