// Links: frame
// Takes arbitrary bytes as a command line (arguments separated by NUL bytes)
// and parses it as the program does. Whatever the arguments, the start must
// show the window or the tray icon or both, open no file, and trace with
// letters that fit the trace mask.

#include "frame/CArchivoraCommandLineInfo.h"

#include "platform/framework/AfxWinMain.h"
#include "platform/framework/CWinApp.h"

#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* pData, std::size_t nSize)
{
    static CWinApp* pApp = new CWinApp("Archivora Plus");
    std::vector<CString> arguments { "archivora" };
    std::string strArgument;
    for (std::size_t i = 0; i <= nSize; ++i) {
        if (i == nSize || pData[i] == 0) {
            arguments.emplace_back(strArgument.c_str());
            strArgument.clear();
        } else {
            strArgument += static_cast<char>(pData[i]);
        }
    }
    AfxSetArguments(arguments);
    CArchivoraCommandLineInfo info;
    pApp->ParseCommandLine(info);
    constexpr DWORD START_MODES = CArchivoraCommandLineInfo::START_SHOW | CArchivoraCommandLineInfo::START_TRAY;
    if ((info.m_dwStartFlags & START_MODES) == 0 || (info.m_dwStartFlags & ~(START_MODES | 4U)) != 0)
        std::abort();
    if (info.m_dwTraceLetters > CArchivoraCommandLineInfo::TRACE_ALL
        || info.m_nShellCommand != CCommandLineInfo::FileNew || !info.m_strFileName.IsEmpty())
        std::abort();
    return 0;
}
