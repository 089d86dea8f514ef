// Links: platform_display platform_base
// Takes arbitrary bytes as another program's clipboard data: as text (UTF-8
// and Latin-1), which must come out well-formed with CR LF line ends, and as
// chunks of an incremental transfer, which must never grow past its cap.

#include "platform/base/TextFunctions.h"
#include "platform/display/X11SelectionData.h"

#include <cstdlib>
#include <span>

namespace {

void CheckClipboardText(const std::string& strText)
{
    if (strText.find('\0') != std::string::npos || Utf8FromUtf32(Utf32FromUtf8(strText)) != strText)
        std::abort();
    for (size_t i = strText.find('\n'); i != std::string::npos; i = strText.find('\n', i + 1)) {
        if (i == 0 || strText[i - 1] != '\r')
            std::abort();
    }
    // Back to the desktop's form and again: the same text. A carriage return
    // just before a line end is the one thing lost: the desktop's text reads
    // CR LF as one line end, so it cannot tell "\r\r\n" from "\r\n".
    if (strText.find("\r\r\n") != std::string::npos)
        return;
    std::string strSelection = SelectionTextOf(strText);
    if (ClipboardTextOf(std::span(reinterpret_cast<const uint8_t*>(strSelection.data()), strSelection.size()), false)
        != strText)
        std::abort();
}

}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* pData, size_t nSize)
{
    std::span<const uint8_t> bytes(pData, nSize);
    CheckClipboardText(ClipboardTextOf(bytes, false));
    CheckClipboardText(ClipboardTextOf(bytes, true));
    Latin1Of(std::string_view(reinterpret_cast<const char*>(pData), nSize));

    // Chunks: each byte is the length of the next chunk (0 ends the transfer).
    constexpr size_t CAP = 256;
    CIncrAssembler chunks(CAP);
    size_t nTotal = 0;
    bool bOver = false;
    for (size_t i = 0; i < nSize;) {
        size_t nChunk = std::min<size_t>(pData[i], nSize - i - 1);
        CIncrAssembler::EStep eStep = chunks.Append(bytes.subspan(i + 1, nChunk));
        nTotal += nChunk;
        bOver = bOver || nTotal > CAP;
        if (bOver != (eStep == CIncrAssembler::EStep::Failed) && eStep != CIncrAssembler::EStep::Done)
            std::abort();
        if (eStep != CIncrAssembler::EStep::More)
            break;
        i += 1 + nChunk;
    }
    if (chunks.State() == CIncrAssembler::EStep::Done && chunks.Take().size() > CAP)
        std::abort();
    return 0;
}
