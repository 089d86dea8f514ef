// Links: webaccess_server
// Reads arbitrary bytes as the first line of a socket-channel exchange. A line
// that is accepted names a folder and an ID that are safe parts of a path.

#include "webaccess/server/CWASocketMessage.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* pData, size_t nSize)
{
    const CString strLine(reinterpret_cast<const char*>(pData), static_cast<int>(nSize));
    CWAInitLine init = ParseInitLine(strLine);
    if (init.nMode != CWAInitLine::REFUSED) {
        for (const CString* pPart : { &init.strFolderName, &init.strId })
            if (pPart->IsEmpty() || std::strpbrk(*pPart, "./\\:") || pPart->GetLength() > 11)
                std::abort();
        if (init.nRawSize < 0 || init.nPackedSize < 0)
            std::abort();
    }
    CWASocketMessage message(strLine);
    while (!GetPipeField(message).IsEmpty()) { }
    return 0;
}
