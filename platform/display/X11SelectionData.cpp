#include "platform/display/X11SelectionData.h"

#include "platform/base/TextFunctions.h"

#include <cstring>

std::string SelectionTextOf(std::string_view clipboardText)
{
    size_t nEnd = clipboardText.find('\0');
    if (nEnd != std::string_view::npos)
        clipboardText = clipboardText.substr(0, nEnd);
    std::string text;
    text.reserve(clipboardText.size());
    for (size_t i = 0; i < clipboardText.size(); ++i) {
        if (clipboardText[i] == '\r' && i + 1 < clipboardText.size() && clipboardText[i + 1] == '\n')
            continue;
        text += clipboardText[i];
    }
    return text;
}

std::string Latin1Of(std::string_view selectionText)
{
    std::string latin1;
    for (char32_t ch : Utf32FromUtf8(selectionText))
        latin1 += ch <= 0xFF ? static_cast<char>(ch) : '?';
    return latin1;
}

std::string ClipboardTextOf(std::span<const uint8_t> bytes, bool bLatin1)
{
    const auto* pBytes = reinterpret_cast<const char*>(bytes.data());
    std::string_view raw(pBytes, bytes.empty() ? 0 : strnlen(pBytes, bytes.size()));
    std::u32string chars;
    if (bLatin1) {
        for (char ch : raw)
            chars += static_cast<char32_t>(static_cast<unsigned char>(ch));
    } else {
        chars = Utf32FromUtf8(raw);
    }
    std::string text;
    text.reserve(raw.size() + raw.size() / 16);
    char32_t chPrevious = 0;
    for (char32_t ch : chars) {
        if (ch == U'\n' && chPrevious != U'\r')
            text += '\r';
        AppendUtf8(text, ch);
        chPrevious = ch;
    }
    return text;
}

CIncrAssembler::EStep CIncrAssembler::Announce(uint64_t nSize)
{
    if (m_eState == EStep::More && nSize > m_nCap)
        m_eState = EStep::Failed;
    else if (m_eState == EStep::More)
        m_data.reserve(static_cast<size_t>(nSize));
    return m_eState;
}

CIncrAssembler::EStep CIncrAssembler::Append(std::span<const uint8_t> chunk)
{
    if (m_eState != EStep::More) {
        m_eState = EStep::Failed;
        m_data.clear();
        return m_eState;
    }
    if (chunk.empty()) {
        m_eState = EStep::Done;
    } else if (chunk.size() > m_nCap - m_data.size()) {
        m_eState = EStep::Failed;
        m_data.clear();
    } else {
        m_data.insert(m_data.end(), chunk.begin(), chunk.end());
    }
    return m_eState;
}

std::vector<uint8_t> CIncrAssembler::Take()
{
    if (m_eState != EStep::Done)
        return {};
    return std::move(m_data);
}
