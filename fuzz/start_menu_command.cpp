// Links: ui
// Splits arbitrary bytes as an "open" command of the classes root. A program,
// when one comes out, is a lower-case path with a "." and without "%1" or
// "rundll32"; the arguments are trimmed.

#include "ui/CStartMenuIndex.h"

#include <cstdint>
#include <cstdlib>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* pData, std::size_t nSize)
{
    const std::string strCommand(reinterpret_cast<const char*>(pData), nSize);
    CString strProgram;
    CString strArguments;
    CStartMenuIndex::SplitCommandLine(strCommand.c_str(), strProgram, strArguments);
    if (!strProgram.IsEmpty()) {
        CString strLower = strProgram;
        strLower.MakeLower();
        if (strLower != strProgram || strProgram.Find('.') < 0 || strProgram.Find("%1") >= 0
            || strProgram.Find("rundll32") >= 0)
            std::abort();
    }
    CString strTrimmed = strArguments;
    if (strTrimmed.Trim() != strArguments)
        std::abort();
    return 0;
}
