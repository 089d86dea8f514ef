#include "platform/base/RegistryTree.h"

#include <algorithm>
#include <cwctype>
#include <locale.h>

namespace {

// Decodes one UTF-8 sequence at `nPos`; returns its length, 0 when it is not valid.
size_t DecodeUtf8(std::string_view str, size_t nPos, char32_t& chOut)
{
    auto byte = [&](size_t i) { return static_cast<unsigned char>(str[i]); };
    unsigned char lead = byte(nPos);
    size_t nLength = lead < 0x80 ? 1 : (lead >> 5) == 0x6 ? 2 : (lead >> 4) == 0xE ? 3 : (lead >> 3) == 0x1E ? 4 : 0;
    if (nLength == 0 || nPos + nLength > str.size())
        return 0;
    char32_t ch = nLength == 1 ? lead : lead & (0x7F >> nLength);
    for (size_t i = 1; i < nLength; ++i) {
        if ((byte(nPos + i) & 0xC0) != 0x80)
            return 0;
        ch = (ch << 6) | (byte(nPos + i) & 0x3F);
    }
    static constexpr char32_t MIN_FOR_LENGTH[] = { 0, 0, 0x80, 0x800, 0x10000 };
    if (ch < MIN_FOR_LENGTH[nLength] || ch > 0x10FFFF || (ch >= 0xD800 && ch <= 0xDFFF))
        return 0;
    chOut = ch;
    return nLength;
}

void AppendUtf8(std::string& str, char32_t ch)
{
    if (ch < 0x80) {
        str += static_cast<char>(ch);
    } else if (ch < 0x800) {
        str += static_cast<char>(0xC0 | (ch >> 6));
        str += static_cast<char>(0x80 | (ch & 0x3F));
    } else if (ch < 0x10000) {
        str += static_cast<char>(0xE0 | (ch >> 12));
        str += static_cast<char>(0x80 | ((ch >> 6) & 0x3F));
        str += static_cast<char>(0x80 | (ch & 0x3F));
    } else {
        str += static_cast<char>(0xF0 | (ch >> 18));
        str += static_cast<char>(0x80 | ((ch >> 12) & 0x3F));
        str += static_cast<char>(0x80 | ((ch >> 6) & 0x3F));
        str += static_cast<char>(0x80 | (ch & 0x3F));
    }
}

// The Unicode case tables of the C library, independent of the process locale.
locale_t UnicodeLocale()
{
    static locale_t locale = newlocale(LC_CTYPE_MASK, "C.UTF-8", static_cast<locale_t>(nullptr));
    return locale;
}

}

std::string RegistryFoldCase(std::string_view strName)
{
    std::string strFolded;
    strFolded.reserve(strName.size());
    locale_t locale = UnicodeLocale();
    for (size_t nPos = 0; nPos < strName.size();) {
        char32_t ch = 0;
        size_t nLength = DecodeUtf8(strName, nPos, ch);
        if (nLength == 0) {
            strFolded += strName[nPos++];
            continue;
        }
        if (ch < 0x80)
            ch = (ch >= 'a' && ch <= 'z') ? ch - 'a' + 'A' : ch;
        else if (locale)
            ch = static_cast<char32_t>(towupper_l(static_cast<wint_t>(ch), locale));
        AppendUtf8(strFolded, ch);
        nPos += nLength;
    }
    return strFolded;
}

std::shared_ptr<CRegistryNode> CRegistryNode::FindSubkey(std::string_view strName) const
{
    auto it = m_subkeys.find(RegistryFoldCase(strName));
    return it == m_subkeys.end() ? nullptr : it->second;
}

std::shared_ptr<CRegistryNode> CRegistryNode::AddSubkey(const std::string& strName, bool& bCreated)
{
    auto [it, bInserted] = m_subkeys.try_emplace(RegistryFoldCase(strName));
    if (bInserted)
        it->second = std::make_shared<CRegistryNode>(strName);
    bCreated = bInserted;
    return it->second;
}

std::shared_ptr<CRegistryNode> CRegistryNode::RemoveSubkey(std::string_view strName)
{
    auto it = m_subkeys.find(RegistryFoldCase(strName));
    if (it == m_subkeys.end())
        return nullptr;
    std::shared_ptr<CRegistryNode> pNode = std::move(it->second);
    m_subkeys.erase(it);
    return pNode;
}

size_t CRegistryNode::FindValueIndex(std::string_view strName) const
{
    std::string strFolded = RegistryFoldCase(strName);
    auto it = std::find_if(m_values.begin(), m_values.end(),
        [&](const CRegistryValue& value) { return RegistryFoldCase(value.strName) == strFolded; });
    return static_cast<size_t>(it - m_values.begin());
}

const CRegistryValue* CRegistryNode::FindValue(std::string_view strName) const
{
    size_t nIndex = FindValueIndex(strName);
    return nIndex < m_values.size() ? &m_values[nIndex] : nullptr;
}

void CRegistryNode::SetValue(const std::string& strName, DWORD dwType, std::vector<BYTE> data)
{
    size_t nIndex = FindValueIndex(strName);
    if (nIndex == m_values.size())
        m_values.push_back(CRegistryValue { strName, dwType, std::move(data) });
    else
        m_values[nIndex] = CRegistryValue { m_values[nIndex].strName, dwType, std::move(data) };
}

bool CRegistryNode::RemoveValue(std::string_view strName)
{
    size_t nIndex = FindValueIndex(strName);
    if (nIndex == m_values.size())
        return false;
    m_values.erase(m_values.begin() + static_cast<std::ptrdiff_t>(nIndex));
    return true;
}

void CRegistryNode::MarkDeleted()
{
    m_bDeleted = true;
    for (auto& [strFolded, pSubkey] : m_subkeys)
        pSubkey->MarkDeleted();
}
